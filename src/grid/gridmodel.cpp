#include "grid/gridmodel.h"
#include "db/query.h"
#include <QBrush>

namespace grid {

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

void GridModel::setQuery(db::Query *query)
{
    if (m_query == query)
        return;
    if (m_query)
        disconnect(m_query, nullptr, this, nullptr);
    m_query = query;
    if (query) {
        connect(query, &db::Query::dataReset, this, &GridModel::resetAll);
        connect(query, &db::Query::rowInserted, this, &GridModel::onRowInserted);
        connect(query, &db::Query::rowsAppended, this, &GridModel::onRowsAppended);
        connect(query, &db::Query::readFinished, this, [this] { recomputeFooter(); });
        connect(query, &db::Query::rowRemoved, this, &GridModel::onRowRemoved);
        connect(query, &db::Query::rowChanged, this, &GridModel::onRowChanged);
        connect(query, &db::Query::fieldChanged, this, &GridModel::onFieldChanged);
        connect(query, &QObject::destroyed, this, [this] {
            m_query = nullptr;
            resetAll();
        });
    }
    resetAll();
}

void GridModel::setColumns(const Columns &columns)
{
    ++m_changing;
    beginResetModel();
    m_columns = columns;
    m_summed = -1;
    resolveFields();
    m_rows = m_query && m_query->isActive() ? m_query->rowsRead() : 0;
    endResetModel();
    --m_changing;
    recomputeFooter();
}

void GridModel::resetAll()
{
    ++m_changing;
    beginResetModel();
    resolveFields();
    m_rows = m_query && m_query->isActive() ? m_query->rowsRead() : 0;
    endResetModel();
    --m_changing;
    m_sums.assign(size_t(m_columns.size()), {});
    m_summed = 0;
    if (m_query && m_query->isReading())
        addSums(0, m_rows - 1);
    recomputeFooter();
}

void GridModel::addSums(int firstRow, int lastRow)
{
    if (m_summed != firstRow || m_sums.size() != size_t(m_columns.size())) {
        m_summed = -1;
        return;
    }
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].footer == FooterKind::Sum && fieldIndex(c) >= 0)
            m_sums[size_t(c)].add(m_query->partialSum(fieldIndex(c), firstRow, lastRow));
    m_summed = lastRow + 1;
}

void GridModel::resolveFields()
{
    m_fields.assign(size_t(m_columns.size()), -1);
    if (!m_query || !m_query->isActive())
        return;
    for (int c = 0; c < m_columns.size(); ++c)
        m_fields[size_t(c)] = m_query->fieldIndex(m_columns[c].field);
}

int GridModel::fieldIndex(int col) const
{
    return col >= 0 && col < int(m_fields.size()) ? m_fields[size_t(col)] : -1;
}

db::Kind GridModel::kind(int col) const
{
    const int f = fieldIndex(col);
    return f >= 0 && m_query ? m_query->fieldKind(f) : db::Kind::Unknown;
}

void GridModel::setDichromatic(bool on)
{
    if (m_dichromatic == on)
        return;
    m_dichromatic = on;
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1), {Qt::BackgroundRole});
}

QString GridModel::footerShown(int col) const
{
    return col >= 0 && col < m_footer.size() ? m_footer[col] : QString();
}

QString GridModel::footerText(int col) const
{
    if (m_query && m_query->isReading())
        m_query->fetchAll();   // the footer follows through readFinished
    return footerShown(col);
}

bool GridModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_query && m_query->isReading();
}

void GridModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        m_query->fetchAll();
}

void GridModel::onRowsAppended(int first, int last)
{
    // Rows a reset already took in are not inserted twice.
    if (first > m_rows) {
        resetAll();
        return;
    }
    if (last < m_rows)
        return;
    const int from = m_rows;
    ++m_changing;
    beginInsertRows({}, m_rows, last);
    m_rows = m_query->rowsRead();
    endInsertRows();
    --m_changing;
    addSums(from, m_rows - 1);
    recomputeFooter();
}

void GridModel::recomputeFooter(int onlyField)
{
    const bool active = m_query && m_query->isActive();
    m_footer.resize(m_columns.size());
    bool changed = false;
    for (int c = 0; c < m_columns.size(); ++c) {
        const Column &col = m_columns[c];
        const int f = fieldIndex(c);
        if (onlyField >= 0 && (col.footer != FooterKind::Sum || f != onlyField))
            continue;
        QString text;
        switch (col.footer) {
        case FooterKind::None:
            break;
        case FooterKind::Text:
            text = col.footerText;
            break;
        case FooterKind::Count:
            text = QString::number(active ? m_query->rowsRead() : 0);
            break;
        case FooterKind::Sum:
            // No sum of part of the list: it would read as the total.
            if (!active || f < 0 || m_query->isReading())
                break;
            if (onlyField < 0 && m_summed == m_query->rowsRead())
                text = db::Query::displayOf(m_query->fieldKind(f), m_query->sumValue(f, m_sums[size_t(c)]));
            else
                text = db::Query::displayOf(m_query->fieldKind(f), m_query->columnSum(f));
            break;
        }
        if (m_footer[c] != text) {
            m_footer[c] = text;
            changed = true;
        }
    }
    if (changed)
        emit footerChanged();
}

void GridModel::onRowInserted(int row)
{
    m_summed = -1;
    if (row < 0 || row > m_rows) {
        resetAll();
        return;
    }
    ++m_changing;
    beginInsertRows({}, row, row);
    m_rows = m_query->rowsRead();
    endInsertRows();
    --m_changing;
    recomputeFooter();
}

void GridModel::onRowRemoved(int row)
{
    m_summed = -1;
    if (row < 0 || row >= m_rows) {
        resetAll();
        return;
    }
    ++m_changing;
    beginRemoveRows({}, row, row);
    m_rows = m_query->rowsRead();
    endRemoveRows();
    --m_changing;
    recomputeFooter();
}

void GridModel::onRowChanged(int row)
{
    m_summed = -1;
    if (row >= 0 && row < m_rows && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    recomputeFooter();
}

void GridModel::onFieldChanged(int field)
{
    m_summed = -1;
    const int row = m_query->currentRow();
    if (row < 0 || row >= m_rows)
        return;
    for (int c = 0; c < m_columns.size(); ++c)
        if (fieldIndex(c) == field)
            emit dataChanged(index(row, c), index(row, c));
    recomputeFooter(field);
}

Qt::Alignment GridModel::alignmentOf(db::Kind k)
{
    switch (k) {
    case db::Kind::Integer: case db::Kind::Float: case db::Kind::Money: case db::Kind::AutoKey:
        return Qt::AlignRight | Qt::AlignVCenter;
    case db::Kind::YesNo:
        return Qt::AlignCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const int f = fieldIndex(index.column());
        if (f < 0 || !m_query)
            return {};
        const db::Kind k = m_query->fieldKind(f);
        if (k == db::Kind::YesNo) {
            const QVariant v = m_query->storedValue(index.row(), f);
            return !v.isNull() && v.toLongLong() != 0 ? QStringLiteral("√") : QString();
        }
        QString text = m_query->displayText(index.row(), f);
        // Memo text is drawn on the cell's one line.
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
            text.replace(QLatin1String("\r\n"), QLatin1String(" "));
            text.replace(QLatin1Char('\n'), QLatin1Char(' '));
            text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        }
        return text;
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(kind(index.column())));
    case Qt::BackgroundRole:
        if (m_dichromatic)
            // Record numbers are 1-based: row 0 is record 1, an odd one.
            return QBrush(index.row() % 2 == 0 ? oddRowColour() : QColor(Qt::white));
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Horizontal)
        return section >= 0 && section < m_columns.size() ? m_columns[section].title : QVariant();
    return section + 1;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace grid
