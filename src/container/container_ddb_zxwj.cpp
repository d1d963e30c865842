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
        {.role = Role::Custom, .objectName = S("SpeedButton3"), .caption = S("全部完结"), .when = When::Always, .handler = [this] { completeAll(); }});
    d.caption = S("集装箱调度单执行完结");
    d.module = S("container_ddb_zxwj");
    d.heading = S("以下显示是没有执行完结的记录！");
    d.printTitle = S("集装箱调度单(执行完结)明细表打印清单");
    d.exportName = S("集装箱调度单(执行完结)明细表");
    const bool ro = true;
    d.editors = {
        {.field = S("调度单编号"), .label = S("调度单编号："), .kind = EditorKind::Edit, .objectName = S("DBEdit6"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("运输期限从"), .label = S("发车日期："), .kind = EditorKind::Edit, .objectName = S("DBEdit3"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("运输期限到"), .label = S("应到日期："), .kind = EditorKind::Edit, .objectName = S("DBEdit5"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit4"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("承运单位"), .label = S("承运单位："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("车牌号"), .label = S("车牌号："), .kind = EditorKind::Edit, .objectName = S("DBEdit8"), .items = {}, .chinese = true, .alwaysReadOnly = ro},
        {.field = S("驾驶员"), .label = S("驾驶员："), .kind = EditorKind::Edit, .objectName = S("DBEdit9"), .items = {}, .chinese = true, .alwaysReadOnly = ro},
        {.field = S("运输金额"), .label = S("运输金额："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("到达时间"), .label = S("到达时间："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh4")},
        {.field = S("执行完结"), .label = S("执行完结："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh5"), .items = {S("是"), S("否")}},
        {.field = S("调度单备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 2},
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
