#include "container/container_ddb_fk.h"
#include "db/text.h"
#include "data/dm1.h"
#include "container/container_ddb.h"
#include "data/payable.h"

using namespace data;

TForm_container_ddb_fk::TForm_container_ddb_fk(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_container_ddb_fk"));
    ListDecl d = container::dispatchDecl(
        this, {S("调度单编号"), S("承运单位"), S("车牌号"), S("上游客户"), S("运输单号"), S("运输动态"),
               S("运输期限从"), S("运输期限到"), S("到达时间"), S("执行完结"), S("箱号"), S("型号规格"), S("数量"),
               S("船名航班"), S("驾驶员"), S("运输金额"), S("下游帐款结清"), S("付款日期"), S("付款人"),
               S("实付运费"), S("路桥费"), S("油费"), S("罚款"), S("其它费用"), S("劳务费"), S("应付运费"),
               S("调度单操作员"), S("调度单操作日期"), S("调度单备注")});
    d.caption = S("集装箱调度单付款管理");
    d.module = S("container_ddb_fk");
    d.heading = S("以下显示是帐款没有结清的记录！");
    d.printTitle = S("集装箱调度单(付款)明细表打印清单");
    d.exportName = S("集装箱调度单(付款)明细表");
    const bool ro = true;
    d.editors = {
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit4"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("承运单位"), .label = S("承运单位："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("车牌号"), .label = S("车牌号："), .kind = EditorKind::Edit, .objectName = S("DBEdit8"), .items = {}, .chinese = true, .alwaysReadOnly = ro},
        {.field = S("驾驶员"), .label = S("驾驶员："), .kind = EditorKind::Edit, .objectName = S("DBEdit9"), .items = {}, .chinese = true, .alwaysReadOnly = ro},
        {.field = S("运输金额"), .label = S("运输金额："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("路桥费"), .label = S("路桥费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh3")},
        {.field = S("油费"), .label = S("油费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh4")},
        {.field = S("罚款"), .label = S("罚款："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh5")},
        {.field = S("其它费用"), .label = S("其它费用："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh6")},
        {.field = S("劳务费"), .label = S("劳务费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh7")},
        {.field = S("应付运费"), .label = S("应付运费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh8"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("实付运费"), .label = S("实付运费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh1")},
        {.field = S("下游帐款结清"), .label = S("帐款结清："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh4"), .items = {S("是"), S("否")}},
        {.field = S("付款日期"), .label = S("付款日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("付款人"), .label = S("付款人："), .kind = EditorKind::Edit, .objectName = S("DBEdit2")},
        {.field = S("调度单备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 4},
    };
    d.enterRing = {S("路桥费"), S("油费"), S("罚款"), S("其它费用"), S("劳务费"), S("实付运费"),
                   S("下游帐款结清"), S("付款日期"), S("付款人"), S("调度单备注")};
    d.editFocus = S("下游帐款结清");
    build(d);
}

bool TForm_container_ddb_fk::checks()
{
    if (!container::isYesNo(query(), S("下游帐款结清")))
        return fail(S("帐款结清为是或否,请重新输入!"), S("下游帐款结清"));
    if (container::laterDay(query(), S("运输期限到"), S("付款日期")))
        return fail(S("付款日期不能小于运输期限到,请重新输入!"), S("付款日期"));
    return true;
}

void TForm_container_ddb_fk::beforePost()
{
    query()->field(S("应付运费")).setAsMoney(data::payableOf(*query()));
}
