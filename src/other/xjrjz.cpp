#include "other/xjrjz.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/session.h"
#include "db/connection.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/text.h"
#include "other/xjrjz_cx.h"
#include "other/xjrjz_edit.h"
#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace data;

namespace other {

Period accountingPeriod()
{
    // As the opening condition: no accounting date stands for today.
    const QDate d = velorin::accounting_date.isValid() ? velorin::accounting_date.date() : QDate::currentDate();
    return {QDate(d.year(), d.month(), 1), QDate(d.year(), d.month(), db::lastDayOfMonth(d.year(), d.month()))};
}

QStringList journalLines()
{
    return {S("select * from 现金日记帐"), S("where ") + cashJournalPeriod(velorin::accounting_date), S("order by 日期,编号")};
}

QString cashJournalPeriod(const QDateTime &accountingDate)
{
    const QDate d = accountingDate.isValid() ? accountingDate.date() : QDate::currentDate();
    const QString ym = QStringLiteral("%1-%2-").arg(d.year()).arg(d.month());
    const QString first = ym + QLatin1Char('1');
    const QString last = ym + QString::number(db::lastDayOfMonth(d.year(), d.month()));
    return QStringLiteral("(日期 between cdate('") + first + QStringLiteral("') and cdate('") + last + QStringLiteral("'))");
}


void lockJournal(db::Connection &c)
{
    // Balances run through every row: on a shared server no other
    // workstation writes a journal row until this transaction ends.
    if (c.isServer() && c.driver().inTransaction())
        c.execute(S("LOCK TABLE 现金日记帐 IN EXCLUSIVE MODE"));
}

void recomputeBalances(db::Query &q)
{
    lockJournal(*q.connection());
    const db::Query::Bookmark at = q.isActive() ? q.bookmark() : -1;
    q.reopenWith(journalLines());
    const int debit = q.field(S("借方")).index(), credit = q.field(S("贷方")).index(), bal = q.field(S("余额")).index();
    const auto money = [&](int row, int col) { return db::Money::fromRaw(q.storedValue(row, col).toLongLong()); };
    db::Money balance;
    std::vector<std::pair<int, QVariant>> changed;
    for (int r = 0; r < q.recordCount(); ++r) {
        balance += money(r, debit) - money(r, credit);
        const QVariant stored = q.storedValue(r, bal);
        if (stored.isNull() || stored.toLongLong() != balance.raw())
            changed.emplace_back(r, QVariant(qint64(balance.raw())));
    }
    q.writeColumn(bal, changed);
    if (at < 0 || !q.gotoBookmark(at))
        q.first();
}

} // namespace other

TForm_xjrjz::TForm_xjrjz(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_xjrjz"));
    using grid::FooterKind;
    ListDecl d;
    d.caption = S("现金日记账");
    d.module = S("xjrjz");
    d.query = Dm1->q_xjrjz;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "日期", .width = 90, .sortable = true, .footer = FooterKind::Text},
        {.field = "摘要", .width = 60, .sortable = true, .footer = FooterKind::Count},
        {.field = "明细", .width = 220, .sortable = true},
        {.field = "借方", .title = "借方(增加)", .width = 100, .sortable = true, .footer = FooterKind::Sum},
        {.field = "贷方", .title = "贷方(减少)", .width = 100, .sortable = true, .footer = FooterKind::Sum},
        {.field = "余额", .width = 100},
        {.field = "凭证号", .width = 80, .sortable = true},
        {.field = "经办人", .width = 80, .sortable = true},
        {.field = "备注", .width = 200},
    });
    d.minVisible = 6;
    d.columnButtons = false;
    d.dichromaticCaption = S("区分网格");
    d.fitCaption = S("自动匹配列宽");
    d.printTitle = S("现金日记帐打印清单");
    d.exportName = S("现金日记帐");
    d.gridDoubleClickEdits = true;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Delete, .objectName = S("SpeedButton1"), .caption = S("删除"), .when = When::Always, .handler = [this] { removeAndTidy(); }},
        {.role = Role::Custom, .objectName = S("SpeedButton5"), .caption = S("查询"), .when = When::Always, .handler = [this] { openSearch(); }},
        {.role = Role::Custom, .objectName = S("SpeedButton6"), .caption = S("整理"), .when = When::Always, .handler = [this] { tidy(); }},
        {.role = Role::Print, .objectName = S("SpeedButton3"), .caption = S("打印")},
        {.role = Role::Export, .objectName = S("SpeedButton2"), .caption = S("导出")},
        {.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")},
    };
    build(d);
    button(S("SpeedButton6"))->setToolTip(S("只能整理当前结算时间的记录"));
    auto *notes = new QVBoxLayout;
    notes->setSpacing(0);
    for (const char *text : {"提示：当余额出现不正确时，请使用整理功能！", "只能编辑结算时间内的记录；通过查询可以查看其它时间内的记录！"}) {
        auto *l = new QLabel(S(text), this);
        l->setStyleSheet(S("color: #b00000;"));
        notes->addWidget(l);
    }
    m_toolRow->addLayout(notes);
}

void TForm_xjrjz::openEditor()
{
    TForm_xjrjz_edit editor(this);
    data::showModal(&editor);
    // Saves and deletes keep the balances right; this also brings the list
    // back to the accounting month after a search.
    rebalance();
}

void TForm_xjrjz::openSearch()
{
    TForm_xjrjz_cx dlg(this);
    data::showModal(&dlg);
}

bool TForm_xjrjz::rebalance()
{
    db::Query *q = query();
    try {
        db::Transaction tx(*q->connection());
        other::recomputeBalances(*q);
        tx.commit();
        return true;
    } catch (const db::DbError &e) {
        try {
            q->reopenWith(other::journalLines());
        } catch (const db::DbError &) {
            // The message below says what went wrong first.
        }
        msg::dbError(this, e.report(S("整理"), S("余额没有改动")));
        return false;
    }
}

void TForm_xjrjz::tidy()
{
    if (!msg::confirm(this, S("确实需要整理当前核算时间的记录吗? ")))
        return;
    if (rebalance())
        msg::hint(this, S("整理完毕！"));
}

bool TForm_xjrjz::canDelete()
{
    // A closed month's balances would be left wrong: its rows stay.
    if (other::accountingPeriod().contains(query()->field(S("日期")).asDate()))
        return true;
    m_deleteRefused = true;
    msg::hint(this, S("不能编辑结算时间以外的数据!"));
    return false;
}

void TForm_xjrjz::afterDelete()
{
    other::recomputeBalances(*query());
}

void TForm_xjrjz::removeAndTidy()
{
    if (refuseReadOnly(this, query()->connection()))
        return;
    m_deleteRefused = false;
    remove();
    if (!m_deleteRefused)
        tidy();
}
