#pragma once
#include "grid/columns.h"

class QFontMetrics;

namespace grid {

// The width a column needs on screen for what a clerk stores in it: judged
// from its field (or, for the scratch table's columns, its title) and kind,
// by a long value of that sort (a company name, an address, a date, money),
// and never narrower than its title. Declared widths that are wider stay.
int designWidth(const Column &column, const QFontMetrics &metrics);
Columns withDesignWidths(Columns columns, const QFontMetrics &metrics);

} // namespace grid
