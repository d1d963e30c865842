#include "container/container_ddb_zxwj.h"
#include "db/text.h"
#include "data/dm1.h"
#include "container/container_ddb.h"
#include "db/connection.h"
#include "db/dberror.h"

using namespace data;

TForm_container_ddb_zxwj::TForm_container_ddb_zxwj(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_container_ddb_zxwj"));
    ListDecl d = container::dispatchDecl(
        this,
        {S("调度单编号"), S("承运单位"), S("车牌号"), S("上游客户"), S("运输单号"), S("运输动态"), S("运输金额"),
         S("运输期限从"), S("运输期限到"), S("到达时间"), S("执行完结"), S("箱号"), S("型号规格"), S("数量"),
         S("船名航班"), S("驾驶员"), S("调度单操作员"), S("调度单操作日期"), S("调度单备注")},
        {Role::Custom, S("SpeedButton3"), S("全部完结"), When::Always, [this] { completeAll(); }});
    d.caption = S("集装箱调度单执行完结");
    d.module = S("container_ddb_zxwj");
    d.heading = S("以下显示是没有执行完结的记录！");
    d.printTitle = S("集装箱调度单(执行完结)明细表打印清单");
    d.exportName = S("集装箱调度单(执行完结)明细表");
    const bool ro = true;
    d.editors = {
        {S("调度单编号"), S("调度单编号："), EditorKind::Edit, S("DBEdit6"), {}, false, ro},
        {S("运输期限从"), S("发车日期："), EditorKind::Edit, S("DBEdit3"), {}, false, ro},
        {S("运输期限到"), S("应到日期："), EditorKind::Edit, S("DBEdit5"), {}, false, ro},
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit4"), {}, false, ro},
        {S("承运单位"), S("承运单位："), EditorKind::Edit, S("DBEdit1"), {}, false, ro},
        {S("车牌号"), S("车牌号："), EditorKind::Edit, S("DBEdit8"), {}, true, ro},
        {S("驾驶员"), S("驾驶员："), EditorKind::Edit, S("DBEdit9"), {}, true, ro},
        {S("运输金额"), S("运输金额："), EditorKind::Money, S("DBNumberEditEh2"), {}, false, ro},
        {S("到达时间"), S("到达时间："), EditorKind::Date, S("DBDateTimeEditEh4")},
        {S("执行完结"), S("执行完结："), EditorKind::Combo, S("DBComboBoxEh5"), {S("是"), S("否")}},
        {S("调度单备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 2},
    };
    d.enterRing = {S("到达时间"), S("执行完结"), S("调度单备注"), S("调度单编号")};
    d.enterRingStops = true;   // the read-only number ends the chain
    build(d);
}

bool TForm_container_ddb_zxwj::checks()
{
    if (!container::isYesNo(query(), S("执行完结")))
        return fail(S("执行完结为是或否,请重新输入!"), S("执行完结"));
    if (container::laterDay(query(), S("运输期限从"), S("到达时间")))
        return fail(S("到达时间不能小于发车日期,请重新输入!"), S("到达时间"));
    return true;
}

void TForm_container_ddb_zxwj::completeAll()
{
    markListed(
        S("以下记录确实都执行完结了吗? "), S("全部完结"),
        [](db::Query &q) {
            q.field(S("到达时间")).setValue(q.field(S("运输期限到")).value());
            q.field(S("执行完结")).setAsString(S("是"));
        },
        [](db::Query &q) { return S("运输单号 ") + q.field(S("运输单号")).asString(); });
}
