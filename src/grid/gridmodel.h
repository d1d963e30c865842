#pragma once
#include "db/query.h"
#include "grid/columns.h"
#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <QStringList>
#include <vector>


namespace grid {

// The grid's rows read in place from a shared query (no copy), one model
// column per declared grid column. Follows the query's signals with
// fine-grained updates and keeps the footer texts, recomputed when the data
// changes rather than when painting.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);

    void setQuery(db::Query *query);
    db::Query *query() const { return m_query; }

    void setColumns(const Columns &columns);
    const Columns &columns() const { return m_columns; }
    const Column &column(int col) const { return m_columns[col]; }
    // Width, visibility and the like change without a reset.
    void setColumnWidth(int col, int width) { m_columns[col].width = width; }
    void setColumnVisible(int col, bool visible) { m_columns[col].visible = visible; }

    // Query field behind a column; -1 when the query lacks it.
    int fieldIndex(int col) const;
    db::Kind kind(int col) const;

    void setDichromatic(bool on);
    bool dichromatic() const { return m_dichromatic; }
    static QColor oddRowColour() { return QColor(236, 249, 249); }

    // The footer as it stands: while the list is still being read, the
    // count so far and no sums. footerText() waits for the whole list.
    QString footerShown(int col) const;
    QString footerText(int col) const;
    // Counts and sums again; onlyField limits it to the sums of that field.
    void recomputeFooter(int onlyField = -1);
    // True while rows are being inserted, removed or reset on the query's
    // behalf: the view's current index moves then without the user.
    bool isChanging() const { return m_changing > 0; }

    static Qt::Alignment alignmentOf(db::Kind k);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Scrolled to the end of the rows read so far: read the rest.
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    void footerChanged();

private:
    void resetAll();
    void resolveFields();
    void onRowInserted(int row);
    void onRowsAppended(int first, int last);
    // Sums of the rows read so far, added as they come, so that the whole
    // list's sums are ready when the read ends.
    void addSums(int firstRow, int lastRow);
    void onRowRemoved(int row);
    void onRowChanged(int row);
    void onFieldChanged(int field);

    QPointer<db::Query> m_query;
    Columns m_columns;
    std::vector<int> m_fields;
    QStringList m_footer;
    std::vector<db::Query::Sum> m_sums;
    int m_summed = -1;   // rows in m_sums; -1: to be summed again
    int m_rows = 0;
    int m_changing = 0;
    bool m_dichromatic = false;
};

} // namespace grid
