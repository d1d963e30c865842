#pragma once
#include "accounts/accountswindow.h"

class QComboBox;

namespace accounts {

// A statement of account (对账单) for one customer or carrier over a
// period: the opening balance, every charge, payment and allowance with the
// running balance, the closing balance; printed as a form the other side
// signs.
class StatementWindow : public AccountsWindow {
    Q_OBJECT
public:
    StatementWindow(QWidget *owner, Side side);

    Side side() const { return m_side; }
    const Statement &result() const { return m_statement; }
    // Fills the parameters (as a double click in the aging list does).
    void setParameters(const QString &party, const QDate &from, const QDate &to, Business business);

protected:
    bool parametersOk() override;
    void compute() override;
    void printResult() override;

private:
    QString partyLabel() const;
    Side m_side;
    QComboBox *m_party;
    dbctrls::DBDateEdit *m_from, *m_to;
    QComboBox *m_business;
    Statement m_statement;
    QString m_shownParty;
    QDate m_shownFrom, m_shownTo;
};

} // namespace accounts
