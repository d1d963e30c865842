#pragma once
#include "accounts/accountswindow.h"

class QCheckBox;
class QComboBox;

namespace accounts {

class AgingChart;
class StatementWindow;

// Who owes (or is owed) how much for how long, as of a day: one row per
// customer or carrier with open documents, by age, largest total first. A
// double click opens that party's statement from its oldest open document.
class AgingWindow : public AccountsWindow {
    Q_OBJECT
public:
    AgingWindow(QWidget *owner, Side side);

    const QVector<AgingRow> &result() const { return m_rows; }
    AgingChart *chart() const { return m_chart; }
    // The statement of the current row's party (a double click).
    void openStatement();

protected:
    bool parametersOk() override;
    void compute() override;
    void preparePrint(grid::PrintSettings &s) override;
    virtual StatementWindow *makeStatement() = 0;

private:
    Side m_side;
    dbctrls::DBDateEdit *m_asOf;
    QCheckBox *m_showChart;
    AgingChart *m_chart;
    QVector<AgingRow> m_rows;
    QDate m_shownAsOf;
    Business m_shownBusiness = Business::All;
};

} // namespace accounts
