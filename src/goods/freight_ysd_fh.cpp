#include "goods/freight_ysd_fh.h"
#include "data/dm1.h"
#include "db/text.h"
#include "goods/freight_ysd.h"
#include "goods/freight_ysd_cx.h"

using namespace data;

namespace goods {

ListDecl stageDecl(ListDecl d)
{
    d.query = Dm1->q_freight_ysd;
    d.search = Dm1->q_search;
    d.columns = orderColumns();
    d.gridDoubleClickEdits = true;
    declareQuickSearch(d);
    return d;
}

QVector<EditorDecl> stageShownEditors()
{
    const auto shown = [](const char *field, const char *label, const char *name) {
        return EditorDecl{.field = S(field), .label = S(label), .objectName = S(name), .alwaysReadOnly = true};
    };
    return {shown("运输单号", "运输单号：", "DBEdit6"), shown("上游客户", "上游客户：", "DBEdit2"),
            shown("发货日期", "发货日期：", "DBEdit5"), shown("收货日期", "收货日期：", "DBEdit7"),
            shown("到货日期", "到货日期：", "DBEdit8"), shown("运输动态", "运输动态：", "DBEdit4")};
}

} // namespace goods

TForm_freight_ysd_fh::TForm_freight_ysd_fh(QWidget *owner) : StageWindow(owner)
{
    setObjectName(S("Form_freight_ysd_fh"));
    ListDecl d;
    d.caption = S("普通货物运输单回单管理");
    d.module = S("freight_ysd_fh");
    d.printTitle = S("普通货物运输单(回单)明细表打印清单");
    d.exportName = S("普通货物运输单(回单)明细表");
    d.heading = S("以下显示是回单没有返回的记录！");
    d.buttons = stageButtons({{.role = Role::Custom, .objectName = S("SpeedButton6"), .caption = S("全部返回"), .when = When::Always,
                               .handler = [this] { markAllReturned(); }}},
                             [this] { showFreightOrderSearch(this); });
    d.editors = goods::stageShownEditors();
    d.editors += {
        {.field = S("回单返回"), .label = S("回单返回："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh4"),
         .items = {S("是"), S("否")}},
        {.field = S("回单返回时间"), .label = S("回单返回时间："), .kind = EditorKind::Date,
         .objectName = S("DBDateTimeEditEh2")},
        {.field = S("交单人"), .label = S("交单人："), .objectName = S("DBEdit1"), .chinese = true},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 3},
    };
    d.enterRing = {S("回单返回"), S("回单返回时间"), S("交单人")};
    d.enterExtra = {{S("备注"), S("回单返回")}};
    build(goods::stageDecl(d), {.flagField = S("回单返回"), .flagMessage = S("回单返回为是或否,请重新输入!"), .dateField = S("回单返回时间"),
                                      .dateMessage = S("回单返回时间不能小于到货日期,请重新输入!"), .limitField = S("到货日期")});
}
