#include "container/container_ysd_sk.h"
#include "db/text.h"
#include "container/container_ysd.h"
#include "container/container_ysd_cx.h"
#include "container/container_ysd_fh.h"

using namespace data;

TForm_container_ysd_sk::TForm_container_ysd_sk(QWidget *owner) : StageWindow(owner)
{
    setObjectName(S("Form_container_ysd_sk"));
    ListDecl d;
    d.caption = S("集装箱运输单收款管理");
    d.module = S("container_ysd_sk");
    d.columns = container::orderColumns({S("帐款结清"), S("实收运费"), S("收款日期"), S("收款人"), S("收货人"),
                                         S("回单返回"), S("回单返回时间"), S("交单人"), S("到达时间"), S("执行完结"),
                                         S("操作员"), S("操作日期"), S("备注")});
    d.printTitle = S("集装箱运输单(收款)明细表打印清单");
    d.exportName = S("集装箱运输单(收款)明细表");
    d.heading = S("以下显示是帐款没有结清的记录！");
    d.buttons = stageButtons({}, [this] { showOrderSearch(this); });
    d.editors = {
        {.field = S("上游客户"), .label = S("上游客户："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("运输单号"), .label = S("运输单号："), .kind = EditorKind::Edit, .objectName = S("DBEdit6"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("应收运费"), .label = S("应收运费："), .kind = EditorKind::Edit, .objectName = S("DBEdit5"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("箱号"), .label = S("集装箱箱号："), .kind = EditorKind::Edit, .objectName = S("DBEdit7"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("型号规格"), .label = S("型号规格："), .kind = EditorKind::Edit, .objectName = S("DBEdit3"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit4"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("实收运费"), .label = S("实收运费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh1")},
        {.field = S("帐款结清"), .label = S("帐款结清："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh4"), .items = {S("是"), S("否")}},
        {.field = S("收款日期"), .label = S("收款日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("收款人"), .label = S("收款人："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = true},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 2},
    };
    d.enterRing = {S("实收运费"), S("帐款结清"), S("收款日期"), S("收款人"), S("备注")};
    build(container::stageDecl(d), {.flagField = S("帐款结清"), .flagMessage = S("帐款结清为是或否,请重新输入!"), .dateField = S("收款日期"),
                                    .dateMessage = S("收款日期不能小于运输期限到,请重新输入!"), .limitField = S("运输期限到")});
}
