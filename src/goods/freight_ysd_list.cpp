#include "goods/freight_ysd_list.h"
#include "data/dm1.h"
#include "db/text.h"
#include "goods/freight_ysd.h"

using namespace data;

TForm_freight_ysd_list::TForm_freight_ysd_list(QWidget *owner) : EditorWindow(owner)
{
    setObjectName(S("Form_freight_ysd_list"));
    EditWindowDecl d;
    d.caption = S("普通货物运输单显示");
    d.query = Dm1->q_freight_ysd;
    d.style = EditorStyle::TwoStates;   // it never leaves browsing: nothing is writable
    d.buttons = {{.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回")}};
    const auto shown = [](const char *field, const char *label, const char *name, int span = 1) {
        return EditorDecl{.field = S(field), .label = S(label), .objectName = S(name), .alwaysReadOnly = true,
                          .span = span};
    };
    d.editors = {
        shown("上游客户", "上游客户：", "DBEdit2", 2), shown("运输单号", "运输单号：", "DBEdit6"),
        shown("收货日期", "收货日期：", "DBEdit4"), shown("发货日期", "发货日期：", "DBEdit5"),
        shown("到货日期", "到货日期：", "DBEdit7"), shown("应收运费", "应收运费：", "DBEdit8"),
        shown("起始地", "起始地：", "DBEdit1"), shown("目的地", "目的地：", "DBEdit3"),
        shown("收货人", "收货人：", "DBEdit9", 2), shown("备注", "备注：", "DBEdit10", 2),
    };
    d.panelColumns = 4;
    d.attached = {
        .query = Dm1->q_freight_mxb,
        .objectName = S("DBGrideh1"),
        .columns = goods::lineColumns(),
    };
    build(d);
    resize(860, 520);
}
