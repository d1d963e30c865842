#include "grid/dbgrideh.h"
#include "db/dberror.h"
#include "db/money.h"
#include "db/query.h"
#include "dbctrls/messages.h"
#include "grid/footerbar.h"
#include "grid/gridmodel.h"
#include "grid/groupheader.h"
#include "grid/tablesource.h"
#include <QEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace grid {
namespace {

// What print and export read: the visible columns in display order as they
// were when the source was taken, the rows live from the query.
class GridTableSource : public TableSource {
public:
    explicit GridTableSource(const DBGridEh *g) : m_grid(g), m_model(g->gridModel()), m_cols(g->visibleColumns()) {}

    int columnCount() const override { return int(m_cols.size()); }
    QString title(int col) const override { return m_grid->column(m_cols[col]).title; }
    int width(int col) const override { return m_grid->columnWidth(m_cols[col]); }
    db::Kind kind(int col) const override { return m_model->kind(m_cols[col]); }
    int rowCount() const override { return m_model->rowCount(); }
    QString text(int row, int col) const override
    {
        return m_model->data(m_model->index(row, m_cols[col])).toString();
    }
    QVariant number(int row, int col) const override
    {
        const int f = m_model->fieldIndex(m_cols[col]);
        const db::Query *q = m_model->query();
        if (f < 0 || !q)
            return {};
        const QVariant v = q->storedValue(row, f);
        if (v.isNull() || !v.isValid())
            return {};
        switch (q->fieldKind(f)) {
        case db::Kind::Money:
            return v.typeId() == QMetaType::LongLong ? db::Money::fromRaw(v.toLongLong()).toDouble() : v.toDouble();
        case db::Kind::Integer: case db::Kind::Float: case db::Kind::AutoKey:
            return v.toDouble();
        default:
            return {};
        }
    }
    QString footer(int col) const override { return m_model->footerText(m_cols[col]); }
    bool hasFooter() const override
    {
        for (int l : m_cols)
            if (m_grid->column(l).footer != FooterKind::None)
                return true;
        return false;
    }

private:
    const DBGridEh *m_grid;
    const GridModel *m_model;
    QList<int> m_cols;
};

} // namespace

DBGridEh::DBGridEh(QWidget *parent) : QTableView(parent)
{
    m_model = new GridModel(this);
    m_header = new GroupHeaderView(this);
    setHorizontalHeader(m_header);
    setModel(m_model);
    m_footer = new FooterBar(m_header, m_model, this);

    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setSortingEnabled(false);
    // Rows are selected whole: Tab leaves the grid for the next control
    // instead of walking cells nobody sees.
    setTabKeyNavigation(false);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    applyRowHeight();

    m_header->setArrowLookup([this](int logical) {
        const QString &field = m_model->column(logical).field;
        for (const SortMarker &m : m_markers)
            if (m.field == field)
                return m.descending ? GroupHeaderView::Down : GroupHeaderView::Up;
        return GroupHeaderView::NoArrow;
    });
    connect(m_header, &QHeaderView::sectionClicked, this, &DBGridEh::onTitleClicked);
    connect(m_header, &QHeaderView::sectionResized, this, &DBGridEh::onSectionResized);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DBGridEh::onViewRowChanged);
}

DBGridEh::~DBGridEh() = default;

void DBGridEh::setQuery(db::Query *query)
{
    if (db::Query *old = m_model->query())
        disconnect(old, nullptr, this, nullptr);
    m_model->setQuery(query);
    if (query)
        connect(query, &db::Query::currentChanged, this, &DBGridEh::followQuery);
    followQuery();
}

db::Query *DBGridEh::query() const { return m_model->query(); }

void DBGridEh::setColumns(const Columns &columns)
{
    m_model->setColumns(columns);
    {
        QScopedValueRollback guard(m_internal, true);
        // A new column set starts in its declared order.
        for (int v = 0; v < m_header->count(); ++v) {
            const int from = m_header->visualIndex(v);
            if (from != v)
                m_header->moveSection(from, v);
        }
        for (int l = 0; l < columns.size(); ++l)
            m_header->setSectionHidden(l, !columns[l].visible);
    }
    SortMarkers kept;
    for (const SortMarker &m : std::as_const(m_markers)) {
        const int l = columnByField(m.field);
        if (l >= 0 && column(l).sortable)
            kept << m;
    }
    m_markers = kept;
    applyWidths();
    updateGeometries();
    m_header->viewport()->update();
    followQuery();
    emit columnsReset();
}

Columns DBGridEh::columns() const
{
    Columns out;
    for (int l : displayOrder()) {
        Column c = m_model->column(l);
        c.visible = isColumnVisible(l);
        out << c;
    }
    return out;
}

int DBGridEh::columnCount() const { return m_model->columnCount(); }
const Column &DBGridEh::column(int logical) const { return m_model->column(logical); }

int DBGridEh::columnByField(const QString &field) const
{
    for (int l = 0; l < columnCount(); ++l)
        if (column(l).field.compare(field, Qt::CaseInsensitive) == 0)
            return l;
    return -1;
}

QList<int> DBGridEh::displayOrder() const
{
    QList<int> out;
    for (int v = 0; v < m_header->count(); ++v)
        out << m_header->logicalIndex(v);
    return out;
}

QList<int> DBGridEh::visibleColumns() const
{
    QList<int> out;
    for (int l : displayOrder())
        if (isColumnVisible(l))
            out << l;
    return out;
}

int DBGridEh::visibleColumnCount() const { return int(visibleColumns().size()); }

bool DBGridEh::isColumnVisible(int logical) const
{
    return logical >= 0 && logical < columnCount() && !m_header->isSectionHidden(logical);
}

void DBGridEh::setColumnVisible(int logical, bool visible)
{
    if (logical < 0 || logical >= columnCount() || isColumnVisible(logical) == visible)
        return;
    m_model->setColumnVisible(logical, visible);
    {
        QScopedValueRollback guard(m_internal, true);
        m_header->setSectionHidden(logical, !visible);
    }
    applyWidths();
    updateGeometries();
    m_header->viewport()->update();
    emit columnVisibilityChanged();
}

void DBGridEh::moveColumn(int logical, int displayPos)
{
    if (logical < 0 || logical >= columnCount())
        return;
    const int to = qBound(0, displayPos, columnCount() - 1);
    const int from = m_header->visualIndex(logical);
    if (from != to)
        m_header->moveSection(from, to);
}

void DBGridEh::setDichromatic(bool on)
{
    m_model->setDichromatic(on);
    viewport()->update();
}

bool DBGridEh::dichromatic() const { return m_model->dichromatic(); }

void DBGridEh::setAutoFit(bool on)
{
    if (m_autoFit == on)
        return;
    m_autoFit = on;
    // Fitted columns always fill the width; a scroll bar would only make
    // the fit chase its own tail.
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    applyWidths();
}

void DBGridEh::setSortMarkers(const SortMarkers &markers)
{
    m_markers.clear();
    for (const SortMarker &m : markers) {
        const int l = columnByField(m.field);
        if (l >= 0 && column(l).sortable)
            m_markers << SortMarker{column(l).field, m.descending};
    }
    m_header->viewport()->update();
}

void DBGridEh::toggleSortMarker(int logical)
{
    if (logical < 0 || logical >= columnCount() || !column(logical).sortable)
        return;
    const QString &field = column(logical).field;
    auto it = std::find_if(m_markers.begin(), m_markers.end(), [&](const SortMarker &m) { return m.field == field; });
    if (it == m_markers.end())
        m_markers << SortMarker{field, false};
    else if (!it->descending)
        it->descending = true;
    else
        m_markers.erase(it);
    m_header->viewport()->update();
    emit sortMarkingChanged();
}

void DBGridEh::onTitleClicked(int logical)
{
    // Clicks on a group band above the titles do not sort.
    if (m_header->pressedOnLeaf())
        toggleSortMarker(logical);
}

QString DBGridEh::footerText(int logical) const { return m_model->footerText(logical); }

std::unique_ptr<TableSource> DBGridEh::tableSource() const
{
    // Print and export show the whole list.
    if (db::Query *q = m_model->query(); q && q->isReading())
        q->fetchAll();
    return std::make_unique<GridTableSource>(this);
}

void DBGridEh::followQuery()
{
    db::Query *q = m_model->query();
    if (!q || !q->isActive() || m_model->isChanging())
        return;
    QScopedValueRollback guard(m_following, true);
    const int row = q->currentRow();
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        return;
    }
    int col = currentIndex().isValid() ? currentIndex().column() : -1;
    if (!isColumnVisible(col)) {
        col = columnAt(0);
        if (!isColumnVisible(col)) {
            const QList<int> vis = visibleColumns();
            col = vis.isEmpty() ? -1 : vis.first();
        }
    }
    if (col < 0)
        return;
    const QModelIndex idx = m_model->index(row, col);
    if (currentIndex() != idx || !selectionModel()->isRowSelected(row, {}))
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(idx);
}

void DBGridEh::onViewRowChanged(const QModelIndex &current)
{
    db::Query *q = m_model->query();
    if (m_following || m_model->isChanging() || !q || !q->isActive() || !current.isValid())
        return;
    if (current.row() == q->currentRow())
        return;
    try {
        q->moveTo(current.row());
    } catch (const db::DbError &e) {
        // Leaving a pending row whose post failed: stay on it.
        msg::dbError(this, e.message());
        followQuery();
    }
}

void DBGridEh::onSectionResized(int logical, int, int newSize)
{
    if (m_internal || newSize <= 0 || logical < 0 || logical >= columnCount())
        return;
    if (!m_autoFit) {
        m_model->setColumnWidth(logical, newSize);
        m_footer->update();
        return;
    }
    // Under fit-to-width choose the declared width that makes the refit give
    // this column exactly the size the user dragged it to.
    const int avail = fitWidth();
    qint64 others = 0;
    for (int l : visibleColumns())
        if (l != logical)
            others += qMax(1, column(l).width);
    if (avail > newSize && others > 0)
        m_model->setColumnWidth(logical, int(qMax<qint64>(1, others * newSize / (avail - newSize))));
    applyWidths();
}

int DBGridEh::fitWidth() const { return viewport()->width(); }

void DBGridEh::applyWidths()
{
    QScopedValueRollback guard(m_internal, true);
    const QList<int> vis = visibleColumns();
    if (!m_autoFit) {
        for (int l : vis)
            if (m_header->sectionSize(l) != qMax(1, column(l).width))
                m_header->resizeSection(l, qMax(1, column(l).width));
        m_fittedWidth = -1;
        m_footer->update();
        return;
    }
    const int avail = fitWidth();
    if (vis.isEmpty() || avail <= 0)
        return;
    qint64 total = 0;
    for (int l : vis)
        total += qMax(1, column(l).width);
    int used = 0;
    for (int i = 0; i < vis.size(); ++i) {
        const int base = qMax(1, column(vis[i]).width);
        int w = i == vis.size() - 1 ? avail - used : int(qint64(base) * avail / total);
        w = qMax(w, 4);
        if (m_header->sectionSize(vis[i]) != w)
            m_header->resizeSection(vis[i], w);
        used += w;
    }
    m_fittedWidth = avail;
    m_footer->update();
}

void DBGridEh::applyRowHeight()
{
    // One text line per row; every row the same height, so that a million
    // rows scroll without measuring any of them.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void DBGridEh::updateGeometries()
{
    if (m_inGeometry || !m_footer)
        return;
    QScopedValueRollback guard(m_inGeometry, true);
    QTableView::updateGeometries();
    // Room for the footer under the rows: the base class lays out the
    // viewport without it, so take it back and fix the vertical range.
    const int fh = m_footer->barHeight();
    QMargins m = viewportMargins();
    if (m.bottom() != fh) {
        m.setBottom(fh);
        setViewportMargins(m);
    }
    // The vertical bar is decided here, once per layout, from the rows'
    // height and the height they get, and never left to the bar's range:
    // the base class sets that range for a viewport without the footer, so
    // an "as needed" bar flickers in and out with every layout, each time
    // narrowing the viewport, refitting the columns and laying out again.
    // Showing the bar never gives the rows more height, so this settles.
    const bool needBar = verticalHeader()->length() > viewport()->height();
    const Qt::ScrollBarPolicy policy = needBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    const QRect vg = viewport()->geometry();
    m_footer->setGeometry(vg.left(), vg.bottom() + 1, vg.width(), fh);
    m_footer->show();
    QScrollBar *vbar = verticalScrollBar();
    vbar->setPageStep(vg.height());
    vbar->setSingleStep(verticalHeader()->defaultSectionSize());
    vbar->setRange(0, qMax(0, verticalHeader()->length() - vg.height()));
    if (m_autoFit && vg.width() != m_fittedWidth)
        applyWidths();
}

void DBGridEh::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx && m_footer)
        m_footer->update();
}

void DBGridEh::keyPressEvent(QKeyEvent *e)
{
    // Enter moves on like Tab.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        focusNextChild();
        return;
    }
    QTableView::keyPressEvent(e);
}

void DBGridEh::changeEvent(QEvent *e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        applyRowHeight();
        updateGeometries();
    }
}

} // namespace grid
