#include "goods/freight_ddb_fk.h"
#include "data/dm1.h"
#include "data/payable.h"
#include "db/text.h"
#include "goods/freight_ddb.h"

using namespace data;

TForm_freight_ddb_fk::TForm_freight_ddb_fk(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_freight_ddb_fk"));
    ListDecl d = goods::dispatchStageDecl(
        this, {S("调度单号"), S("承运单位"), S("车牌号"), S("驾驶员"), S("发货日期"), S("到达时间"), S("执行完结"),
               S("运输金额"), S("路桥费"), S("油费"), S("罚款"), S("其它费用"), S("劳务费"), S("应付运费"), S("运输动态"),
               S("到货日期"), S("帐款结清"), S("付款日期"), S("付款人"), S("实付运费"), S("上游客户"), S("操作员"),
               S("操作日期"), S("备注")});
    d.caption = S("普通货物调度单付款管理");
    d.module = S("freight_ddb_fk");
    d.heading = S("以下显示是帐款没有结清的记录！");
    d.printTitle = S("普通货物调度单(付款)明细表打印清单");
    d.exportName = S("普通货物调度单(付款)明细表");
    const auto shown = [](const char *field, const char *label, const char *name, bool chinese = false) {
        return EditorDecl{.field = S(field), .label = S(label), .objectName = S(name), .chinese = chinese,
                          .alwaysReadOnly = true};
    };
    const auto money = [](const char *field, const char *label, const char *name, bool computed = false) {
        return EditorDecl{.field = S(field), .label = S(label), .kind = EditorKind::Money, .objectName = S(name),
                          .alwaysReadOnly = computed};
    };
    d.editors = {
        shown("承运单位", "承运单位：", "DBEdit4"), shown("车牌号", "车牌号：", "DBEdit8", true),
        shown("驾驶员", "驾驶员：", "DBEdit9", true), shown("运输动态", "运输动态：", "DBEdit1"),
        money("运输金额", "运输金额：", "DBNumberEditEh2", true), money("路桥费", "路桥费：", "DBNumberEditEh3"),
        money("油费", "油费：", "DBNumberEditEh4"), money("罚款", "罚款：", "DBNumberEditEh5"),
        money("其它费用", "其它费用：", "DBNumberEditEh6"), money("劳务费", "劳务费：", "DBNumberEditEh7"),
        money("应付运费", "应付运费：", "DBNumberEditEh8", true), money("实付运费", "实付运费：", "DBNumberEditEh1"),
        {.field = S("帐款结清"), .label = S("帐款结清："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh4"),
         .items = {S("是"), S("否")}},
        {.field = S("付款日期"), .label = S("付款日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("付款人"), .label = S("付款人："), .objectName = S("DBEdit2")},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 4},
    };
    d.enterRing = {S("帐款结清"), S("付款日期"), S("付款人")};
    d.enterExtra = {{S("路桥费"), S("油费")}, {S("油费"), S("罚款")}, {S("罚款"), S("其它费用")},
                    {S("其它费用"), S("劳务费")}, {S("劳务费"), S("实付运费")}, {S("实付运费"), S("帐款结清")},
                    {S("备注"), S("路桥费")}};
    d.editFocus = S("帐款结清");
    build(d);
}

bool TForm_freight_ddb_fk::checks()
{
    auto *q = query();
    const QString flag = q->field(S("帐款结清")).asString();
    if (flag != S("是") && flag != S("否"))
        return fail(S("帐款结清为是或否,请重新输入!"), S("帐款结清"));
    // Paid before the goods arrived reads as a typing error.
    const QDate paid = q->field(S("付款日期")).asDate(), arrived = q->field(S("到货日期")).asDate();
    if (paid.isValid() && arrived.isValid() && arrived > paid)
        return fail(S("付款日期不能小于到货日期,请重新输入!"), S("付款日期"));
    return true;
}

void TForm_freight_ddb_fk::beforePost()
{
    query()->field(S("应付运费")).setAsMoney(data::payableOf(*query()));
}
