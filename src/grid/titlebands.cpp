#include "grid/titlebands.h"
#include "grid/tablesource.h"
#include <QStringList>

namespace grid {

QString flatTitle(const QString &title)
{
    return title.split(QLatin1Char('|')).join(QLatin1Char(' '));
}

TitleBands titleBands(const TableSource &source)
{
    TitleBands bands;
    const int n = source.columnCount();
    QVector<QStringList> parts(n);
    for (int c = 0; c < n; ++c) {
        parts[c] = source.title(c).split(QLatin1Char('|'));
        bands.rows = qMax(bands.rows, int(parts[c].size()));
    }
    for (int r = 0; r < bands.rows; ++r) {
        for (int c = 0; c < n;) {
            const QStringList &p = parts[c];
            const int last = int(p.size()) - 1;
            if (r > last) { // covered by this column's last part spanning down
                ++c;
                continue;
            }
            TitleCell cell{r, c, r == last ? bands.rows - r : 1, 1, p[r]};
            if (r < last) {
                // A group: neighbours with the same leading parts that also go
                // deeper than this row share the cell.
                while (c + cell.colSpan < n) {
                    const QStringList &q = parts[c + cell.colSpan];
                    if (q.size() - 1 <= r || q.mid(0, r + 1) != p.mid(0, r + 1))
                        break;
                    ++cell.colSpan;
                }
            }
            bands.cells << cell;
            c += cell.colSpan;
        }
    }
    return bands;
}

} // namespace grid
