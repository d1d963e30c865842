#include "goods/freight_ysd_sk.h"
#include "db/text.h"
#include "goods/freight_ysd_cx.h"

using namespace data;

TForm_freight_ysd_sk::TForm_freight_ysd_sk(QWidget *owner) : StageWindow(owner)
{
    setObjectName(S("Form_freight_ysd_sk"));
    ListDecl d;
    d.caption = S("普通货物运输单收款管理");
    d.module = S("freight_ysd_sk");
    d.printTitle = S("普通货物运输单(收款)明细表打印清单");
    d.exportName = S("普通货物运输单(收款)明细表");
    d.heading = S("以下显示是帐款没有结清的记录！");
    d.buttons = stageButtons({}, [this] { showFreightOrderSearch(this); });
    d.editors = goods::stageShownEditors();
    d.editors += {
        {.field = S("帐款结清"), .label = S("帐款结清："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh4"),
         .items = {S("是"), S("否")}},
        {.field = S("收款日期"), .label = S("收款日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("收款人"), .label = S("收款人："), .objectName = S("DBEdit1"), .chinese = true},
        {.field = S("实收运费"), .label = S("实收运费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh1")},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 2},
    };
    d.enterRing = {S("帐款结清"), S("收款日期"), S("收款人"), S("实收运费")};
    d.enterExtra = {{S("备注"), S("帐款结清")}};
    d.refreshAfterSave = true;
    build(goods::stageDecl(d), {.flagField = S("帐款结清"), .flagMessage = S("帐款结清为是或否,请重新输入!"), .dateField = S("收款日期"),
                                      .dateMessage = S("收款日期不能小于到到货日期,请重新输入!"), .limitField = S("到货日期")});
}
