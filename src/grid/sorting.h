#pragma once
#include <QList>
#include <QString>

namespace db { class Query; }

namespace grid {

// A title sort marker: the column's field and its direction.
struct SortMarker {
    QString field;
    bool descending = false;
    friend bool operator==(const SortMarker &, const SortMarker &) = default;
};

using SortMarkers = QList<SortMarker>;

// The order-by line for the markers in marking order:
// " ORDER BY 运输期限从 DESC , 运输单号"; empty when there is no marker.
QString orderByLine(const SortMarkers &markers);

// Puts the markers' order-by line in place of the query's last SQL line and
// reopens it. Does nothing while the dataset holds no row. Engine errors
// propagate as db::DbError (the query is then left closed).
void applySort(db::Query *query, const SortMarkers &markers);

} // namespace grid
