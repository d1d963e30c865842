#include "grid/sorting.h"
#include "db/query.h"

namespace grid {

QString orderByLine(const SortMarkers &markers)
{
    QString line;
    for (const SortMarker &m : markers)
        line += m.field + (m.descending ? QStringLiteral(" DESC , ") : QStringLiteral(", "));
    if (!line.isEmpty()) {
        line.chop(2);
        line.prepend(QStringLiteral(" ORDER BY "));
    }
    return line;
}

void applySort(db::Query *query, const SortMarkers &markers)
{
    if (!query || !query->isActive() || query->isEmpty())
        return;
    QStringList lines = query->sql();
    // Openers always end with an order-by line; a one-line SQL has none, and
    // replacing it would throw away the select itself.
    if (lines.size() < 2)
        lines.append(orderByLine(markers));
    else
        lines.last() = orderByLine(markers);
    query->reopenWith(lines);
}

} // namespace grid
