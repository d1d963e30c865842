#pragma once
#include "grid/columns.h"
#include "grid/sorting.h"
#include <QPointer>
#include <QTableView>
#include <memory>

namespace db { class Query; }

namespace grid {

class FooterBar;
class GridModel;
class GroupHeaderView;
class TableSource;

// The data grid of every record list window (named DBGridEh1 there): rows of
// a shared query shown in place, grouped titles, a footer row, two-tone rows,
// fit-to-width, hideable columns and title sort markers.
//
// Columns are addressed by their logical index, the position in the list
// given to setColumns(); the user may move them, so display order differs.
class DBGridEh : public QTableView {
    Q_OBJECT
public:
    explicit DBGridEh(QWidget *parent = nullptr);
    ~DBGridEh() override;

    void setQuery(db::Query *query);
    db::Query *query() const;

    // Replaces the columns: design order, widths, visibility, titles, footers.
    void setColumns(const Columns &columns);
    // Current state in display order: widths as declared or resized by the
    // user (not stretched by fit-to-width), visibility.
    Columns columns() const;

    int columnCount() const;
    const Column &column(int logical) const;
    int columnByField(const QString &field) const;     // -1 when absent
    // Logical indexes in display order.
    QList<int> displayOrder() const;
    QList<int> visibleColumns() const;
    int visibleColumnCount() const;
    bool isColumnVisible(int logical) const;
    void setColumnVisible(int logical, bool visible);
    void moveColumn(int logical, int displayPos);

    // Two-tone rows: odd record numbers pale cyan, even ones white.
    void setDichromatic(bool on);
    bool dichromatic() const;

    // Stretches the visible columns to the grid's width in proportion to
    // their widths; off gives the widths back.
    void setAutoFit(bool on);
    bool autoFit() const { return m_autoFit; }

    // Sort markers in marking order. Only sortable columns take part.
    SortMarkers sortMarkers() const { return m_markers; }
    void setSortMarkers(const SortMarkers &markers);
    // A title click: none -> ascending -> descending -> none.
    void toggleSortMarker(int logical);

    QString footerText(int logical) const;
    // Rows, visible columns in display order, titles and footers for print
    // and export. Reads the live grid; take a new one after column changes.
    std::unique_ptr<TableSource> tableSource() const;

    GridModel *gridModel() const { return m_model; }
    GroupHeaderView *groupHeader() const { return m_header; }
    FooterBar *footer() const { return m_footer; }

signals:
    void sortMarkingChanged();
    // After setColumns(): logical indexes mean new columns.
    void columnsReset();
    void columnVisibilityChanged();

protected:
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void followQuery();
    void onViewRowChanged(const QModelIndex &current);
    void onSectionResized(int logical, int oldSize, int newSize);
    void onTitleClicked(int logical);
    void applyWidths();
    void applyRowHeight();
    int fitWidth() const;

    GridModel *m_model;
    GroupHeaderView *m_header;
    FooterBar *m_footer = nullptr;
    SortMarkers m_markers;
    bool m_autoFit = false;
    bool m_internal = false;       // sections changed by the grid itself
    bool m_following = false;      // view moved to follow the query
    bool m_inGeometry = false;
    int m_fittedWidth = -1;
};

} // namespace grid
