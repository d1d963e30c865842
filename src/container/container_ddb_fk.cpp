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
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit4"), {}, false, ro},
        {S("承运单位"), S("承运单位："), EditorKind::Edit, S("DBEdit1"), {}, false, ro},
        {S("车牌号"), S("车牌号："), EditorKind::Edit, S("DBEdit8"), {}, true, ro},
        {S("驾驶员"), S("驾驶员："), EditorKind::Edit, S("DBEdit9"), {}, true, ro},
        {S("运输金额"), S("运输金额："), EditorKind::Money, S("DBNumberEditEh2"), {}, false, ro},
        {S("路桥费"), S("路桥费："), EditorKind::Money, S("DBNumberEditEh3")},
        {S("油费"), S("油费："), EditorKind::Money, S("DBNumberEditEh4")},
        {S("罚款"), S("罚款："), EditorKind::Money, S("DBNumberEditEh5")},
        {S("其它费用"), S("其它费用："), EditorKind::Money, S("DBNumberEditEh6")},
        {S("劳务费"), S("劳务费："), EditorKind::Money, S("DBNumberEditEh7")},
        {S("应付运费"), S("应付运费："), EditorKind::Money, S("DBNumberEditEh8"), {}, false, ro},
        {S("实付运费"), S("实付运费："), EditorKind::Money, S("DBNumberEditEh1")},
        {S("下游帐款结清"), S("帐款结清："), EditorKind::Combo, S("DBComboBoxEh4"), {S("是"), S("否")}},
        {S("付款日期"), S("付款日期："), EditorKind::Date, S("DBDateTimeEditEh2")},
        {S("付款人"), S("付款人："), EditorKind::Edit, S("DBEdit2")},
        {S("调度单备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 4},
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
