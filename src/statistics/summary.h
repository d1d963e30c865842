#pragma once
#include "data/recordlist.h"
#include <QDate>
#include <QPair>

class QCheckBox;
class QComboBox;
class QProgressBar;
class QSplitter;
namespace dbctrls { class DBDateEdit; }

namespace stats {

class SummaryChart;

// What the user gives: a period (two date editors) or a year (a combo).
enum class Parameters { Period, Year };

// How the customer combo takes part in a run.
enum class CustomerUse {
    None,        // the window has no customer combo
    PickGroup,   // only the group named exactly as the combo (every group when it is blank)
    Filter,      // "and(上游客户 = '…')" after the base condition (by-month: "(上游客户='…')" before the range)
    GroupList,   // the group list's own where line selects the customer's rows
};

// Which groups get a row.
enum class RowTest {
    Always,                 // every group, empty ones too (the months)
    QuantityAboveZero,      // the summed quantity as a whole number is above 0
    MoneyAboveZero,         // the sum as currency is above 0
    MoneyRoundsAboveZero,   // the sum rounded to a whole yuan is above 0
};

// A money column of the scratch row: the aggregate's alias, or the
// difference of two aliases (in fixed point, empty sums as 0).
struct Assign {
    QString column;
    QString alias;
    QString minus = {};
};

// A group of its own: label and the term that selects it (empty for all).
struct FixedGroup {
    QString label;
    QString term;
};

// Groups from a master table, one per row in the list's order.
struct GroupList {
    QString dataset;                          // shared query the list is read into
    QStringList lines;                        // its SQL
    QString customerWhere;                    // GroupList use: the line put before the last, %1 = the customer
    QStringList labels;                       // list columns written to texta, textb, textc in turn
    QVector<QPair<QString, QString>> terms;   // order column = list column, each an "and(… = '…')" term
};

// One summary window: where its numbers come from, how they are grouped and
// written into 通用, and how they are shown.
struct SummaryDecl {
    QString module;                  // module and class name without TForm_ (settings key)
    QString caption;
    Parameters parameters = Parameters::Period;
    QString fromLabel;               // "运输时间(从)："
    QString msgIncomplete;           // a date missing
    QString msgOrder;                // from later than to
    CustomerUse customer = CustomerUse::None;
    QString customerCombo = QStringLiteral("DBComboBoxEh1");
    QStringList enterOrder;          // parameter editors in Enter order; Enter in the last runs 统计

    QString dataset;                 // order dataset the aggregate runs on
    QString select;                  // the aggregate, one line
    QString dateColumn;
    QVector<FixedGroup> fixedGroups; // or, when empty, the group list (period windows)
    GroupList groupList;
    QString yearColumn;              // by month: where the year text and the month label go
    QString monthColumn;

    RowTest rowTest = RowTest::Always;
    QString testAlias;
    QString quantityAlias;           // numbera := this sum as a whole number; none when empty
    QVector<Assign> money;

    grid::Columns columns;
    bool fit = true;
    QString printTitle;
    QString exportName;
    QStringList chartLabel;          // scratch columns that name a bar group
    QString totalLabel;              // the total row, which the chart leaves out
};

// The statistics engine: the parameter panel, 统计, the run over the
// declaration's groups into 通用 in one transaction, the result list with its
// services, and a chart of the result that can be shown under the grid.
class SummaryWindow : public data::RecordListWindow {
    Q_OBJECT
public:
    SummaryWindow(QWidget *owner, const SummaryDecl &decl);
    ~SummaryWindow() override;

    const SummaryDecl &summary() const { return m_summary; }
    SummaryChart *chart() const { return m_chart; }
    // 统计 (SpeedButton1).
    void run();

    // The settings file that remembers per window whether the chart is shown.
    static QString settingsFile();

protected:
    void preparePrint(grid::PrintSettings &s) override;

private:
    struct Group {
        QVector<QPair<QString, QString>> labels;   // scratch column, text
        QString condition;
    };
    bool periodChecked();
    bool yearChecked(int &year);
    // False when the group list is empty: the run stops and the result stays.
    bool periodGroups(QVector<Group> &groups);
    void execute(const QVector<Group> &groups);
    bool passes(db::Query *orders) const;
    void buildParameters();
    void showChart(bool on);
    QString customerText() const;

    SummaryDecl m_summary;
    dbctrls::DBDateEdit *m_from = nullptr, *m_to = nullptr;
    QComboBox *m_year = nullptr, *m_customer = nullptr;
    QProgressBar *m_busy = nullptr;
    QCheckBox *m_showChart = nullptr;
    SummaryChart *m_chart = nullptr;
    QSplitter *m_split = nullptr;
};

// The twelve months of a year as groups of a by-month summary: day 1 to the
// Gregorian last day on the date column, with the customer's term first when
// one is given; labels the year text and "01月" … "12月".
struct MonthRange {
    QString label;       // "02月"
    QString condition;
};
QVector<MonthRange> monthRanges(int year, const QString &dateColumn, const QString &customer);

// "YYYY年" items from the earliest year of the date column to this year
// (this year alone when the table holds no dates or cannot be read).
QStringList yearItems(db::Query *lookup, const QString &table, const QString &dateColumn);

} // namespace stats
