#pragma once
#include "accounts/ledger.h"
#include "data/recordlist.h"
#include <QVariant>

class QComboBox;
class QHBoxLayout;
namespace dbctrls { class DBDateEdit; }

namespace accounts {

// A column of a result table: its name, SQL type and how the grid shows it.
struct ResultColumn {
    QString field;
    QString type = QStringLiteral("TEXT");   // TEXT, MONEY_INT, DATE_TEXT, INTEGER, REAL
    grid::Column grid = {};                  // its field is `field`; an empty title is the field's name
};

// The accounts windows: parameters, 统计, and a read-only result list with
// the grid services, print under the company's name and export. A run reads
// the order tables and writes its rows into a temporary table of this
// connection only, so it works on a file that cannot be written and never
// touches the shared scratch table.
class AccountsWindow : public data::RecordListWindow {
    Q_OBJECT
public:
    ~AccountsWindow() override;

    // 统计 (bitbtn_tj): checks the parameters, then computes and shows.
    void run();

protected:
    AccountsWindow(QWidget *owner, const QString &module, const QString &caption, const QVector<ResultColumn> &columns);

    // The parameter row, in the order the subclass adds them.
    dbctrls::DBDateEdit *addDate(const QString &objectName, const QString &label, const QDate &value);
    QComboBox *addCombo(const QString &objectName, const QString &label, const QStringList &items, bool editable,
                        int width = 0);
    // Items of a master list's names ("select <column> from <table> order by <column>").
    static QStringList names(const QString &table, const QString &column);
    // Ends the row with 统计 and a stretch; Enter in the editors moves along
    // them and runs 统计 in the last.
    void finishParameters();
    QHBoxLayout *parameterRow() const { return m_params; }

    // False (after telling the user) when a date is empty or no date, or from is after to.
    bool checkDates(dbctrls::DBDateEdit *from, dbctrls::DBDateEdit *to);
    Business business() const;

    // The subclass's checks and computation; compute() calls present().
    virtual bool parametersOk() = 0;
    virtual void compute() = 0;
    // 打印: the list under the company's name; a statement prints its own form.
    virtual void printResult();
    // Replaces the result rows (one QVariantList per row, values in the
    // columns' order: text, cash(), QDate, int or double; null for empty),
    // inside the run's transaction.
    void present(const QVector<QVariantList> &rows);
    static QVariant cash(db::Money m) { return QVariant(qlonglong(m.raw())); }
    // Sets a column's footer text (the overall rate, say).
    void setFooterText(const QString &field, const QString &text);

    QString companyName() const;
    void preparePrint(grid::PrintSettings &s) override;

private:
    QString table() const;
    QString m_caption;
    QVector<ResultColumn> m_columns;
    db::Query *m_result = nullptr;
    QHBoxLayout *m_params = nullptr;
    QList<QWidget *> m_enter;
};

} // namespace accounts
