#include "goods/freight_ddb_zxwj.h"
#include "data/dm1.h"
#include "db/quote.h"
#include "db/text.h"
#include "goods/freight_ddb.h"

using namespace data;

namespace {

// The dispatch's completion and arrival, as its orders must show them.
void completeOrders(db::Query &dispatch)
{
    const QDateTime arrived = dispatch.field(S("到达时间")).asDateTime();
    Dm1->q_search->execWith({S("update 普通货物运输单 set 执行完结='") + db::q(dispatch.field(S("执行完结")).asString()) + S("'"),
               arrived.isValid() ? S(",到达时间=cdate('") + db::shortDate(arrived.date()) + S("')") : S(",到达时间=null"),
               S("where 调度单号='") + db::q(dispatch.field(S("调度单号")).asString()) + S("'")});
}

} // namespace

TForm_freight_ddb_zxwj::TForm_freight_ddb_zxwj(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_freight_ddb_zxwj"));
    ListDecl d = goods::dispatchStageDecl(
        this,
        {S("调度单号"), S("承运单位"), S("车牌号"), S("驾驶员"), S("发货日期"), S("到达时间"), S("执行完结"), S("运输金额"),
         S("数量"), S("起始地"), S("目的地"), S("运输动态"), S("到货日期"), S("上游客户"), S("操作员"), S("操作日期"),
         S("备注")},
        {.role = Role::Custom, .objectName = S("SpeedButton3"), .caption = S("全部完结"), .when = When::Always, .handler = [this] { SpeedButton3Click(); }});
    d.caption = S("普通货物调度单执行完结");
    d.module = S("freight_ddb_zxwj");
    d.heading = S("以下显示是没有执行完结的记录！");
    d.printTitle = S("普通货物调度单(执行完结)明细表打印清单");
    d.exportName = S("普通货物调度单(执行完结)明细表");
    const auto shown = [](const char *field, const char *label, const char *name, EditorKind kind = EditorKind::Edit,
                          bool chinese = false) {
        return EditorDecl{.field = S(field), .label = S(label), .kind = kind, .objectName = S(name), .chinese = chinese,
                          .alwaysReadOnly = true};
    };
    d.editors = {
        shown("调度单号", "调度单号：", "DBEdit6"), shown("运输动态", "运输动态：", "DBEdit1"),
        shown("运输金额", "运输费用：", "DBNumberEditEh2", EditorKind::Money), shown("车牌号", "车牌号：", "DBEdit9", EditorKind::Edit, true),
        shown("承运单位", "承运单位：", "DBEdit4"), shown("驾驶员", "驾驶员：", "DBEdit2"),
        shown("发货日期", "发货日期：", "DBDateTimeEditEh1", EditorKind::Date),
        shown("到货日期", "到货日期：", "DBDateTimeEditEh2", EditorKind::Date),
        {.field = S("到达时间"), .label = S("到达时间："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh4")},
        {.field = S("执行完结"), .label = S("执行完结："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh5"),
         .items = {S("是"), S("否")}},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 2},
    };
    d.enterRing = {S("到达时间"), S("执行完结"), S("备注"), S("调度单号")};
    d.enterRingStops = true;   // the read-only number ends the chain
    d.editFocus = S("到达时间");
    build(d);
}

bool TForm_freight_ddb_zxwj::checks()
{
    auto *q = query();
    const QString flag = q->field(S("执行完结")).asString();
    if (flag != S("是") && flag != S("否"))
        return fail(S("执行完结为是或否,请重新输入!"), S("执行完结"));
    const QDate sent = q->field(S("发货日期")).asDate(), arrived = q->field(S("到达时间")).asDate();
    if (sent.isValid() && arrived.isValid() && sent > arrived)
        return fail(S("到达时间不能小于发货日期,请重新输入!"), S("到达时间"));
    return true;
}

void TForm_freight_ddb_zxwj::afterPost()
{
    // In the save's transaction: the dispatch and its orders land together.
    completeOrders(*query());
}

void TForm_freight_ddb_zxwj::SpeedButton3Click()
{
    // The orders are completed with their dispatch, exactly as a save does,
    // so both ways of completing leave the same stored result.
    markListed(
        S("以下记录确实都执行完结了吗? "), S("全部完结"),
        [](db::Query &q) {
            q.field(S("到达时间")).setValue(q.field(S("到货日期")).value());
            q.field(S("执行完结")).setAsString(S("是"));
            completeOrders(q);
        },
        [](db::Query &q) { return S("调度单号 ") + q.field(S("调度单号")).asString(); });
}
