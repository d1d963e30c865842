#pragma once
#include <QByteArray>

namespace grid {

class TableSource;

// The "Workbook" stream of an Excel 97-2003 (BIFF8) file: title rows (group
// titles merged over their columns), then every row, numbers and dates as
// NUMBER cells in formats that show them as the grid does, text through the
// shared string table, and the footer row (bold, a line above) as values.
// A sheet holds at most 65536 rows; longer tables continue on further
// sheets, each with the title rows again. Columns beyond the format's 256
// are left out.
QByteArray xlsWorkbookStream(const TableSource &source);

} // namespace grid
