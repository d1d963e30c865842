#pragma once
#include "data/recordlist.h"
#include <QDate>

// The cash journal (现金日记帐, q_xjrjz): one accounting month, the month of
// accounting_date, in which rows may be saved and over which every row's
// running balance 余额 is kept.
namespace other {

// First and last day of the accounting month (Gregorian month ends).
struct Period {
    QDate first, last;
    bool contains(const QDate &d) const { return d.isValid() && d >= first && d <= last; }
};
Period accountingPeriod();
// The journal's opening lines: the accounting month by 日期, 编号.
QStringList journalLines();
// Condition selecting the month of the accounting date in the cash journal:
// "(日期 between cdate('Y-M-1') and cdate('Y-M-D'))". An invalid date stands
// for today, so the text never holds a month 0.
QString cashJournalPeriod(const QDateTime &accountingDate);

// Reopens the journal query on the accounting month and writes every row's
// running balance (from zero; 借方 adds, 贷方 takes off, empty counts as 0),
// only where the stored one differs. The current row stays where it can.
// Runs in the caller's transaction; throws db::DbError.
void recomputeBalances(db::Query &journal);
// Within a transaction on a server: no other workstation writes the journal
// until it ends. Nothing on the file, whose writer is alone anyway.
void lockJournal(db::Connection &c);

} // namespace other

// 现金日记账: the accounting month's journal; rows are entered in
// TForm_xjrjz_edit. 整理 recomputes the balances.
class TForm_xjrjz : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_xjrjz(QWidget *owner);

    // 整理: asks, recomputes in one transaction, says "整理完毕！".
    void tidy();
    void openSearch();

protected:
    void openEditor() override;
    bool canDelete() override;
    void afterDelete() override;

private:
    // The recomputation in its own transaction; false (the user told) on failure.
    bool rebalance();
    void removeAndTidy();
    bool m_deleteRefused = false;
};
