#pragma once
#include <QString>
#include <QVector>

namespace grid {

class TableSource;

// One cell of a grid's title area. Titles such as "运费|应收" and "运费|实收"
// share a group cell "运费" over their own sub-title cells; a title with fewer
// parts than the deepest one spans the remaining rows downwards.
struct TitleCell {
    int row = 0;
    int col = 0;
    int rowSpan = 1;
    int colSpan = 1;
    QString text;
};

struct TitleBands {
    int rows = 0;              // number of title rows (0 when there are no columns)
    QVector<TitleCell> cells;  // every title cell, top-left cells of spans only
};

TitleBands titleBands(const TableSource &source);

// A title on one line: the "|" levels joined by spaces ("运费|应收" -> "运费 应收").
QString flatTitle(const QString &title);

} // namespace grid
