#pragma once
#include "statistics/summary.h"

// The pieces the fifteen summaries are declared from: the four businesses'
// aggregates with their scratch rows and columns, the master-table group
// lists, and the by-month form of a period summary.
namespace stats {

// Container income: receivable, collected, outstanding and the quantity of
// 集装箱运输单 by 运输期限从; rows only for groups with containers.
SummaryDecl containerIncome();
// Container downstream freight: the agreed amounts, the five costs, payable,
// paid and unpaid, and the quantity.
SummaryDecl containerFreight();
// Goods income of 普通货物运输单 by 发货日期; rows for a receivable above 0.
SummaryDecl goodsIncome();
// Goods downstream freight of 普通货物调度单 by 发货日期; rows for an amount
// that rounds above 0.
SummaryDecl goodsFreight();

// Group lists, with their select lines as the windows write them.
GroupList customerGroups();
GroupList carrierGroups();
GroupList vehicleGroups(const QString &selectLine);

// Caption, print title (base + "打印清单") and export name (base).
void name(SummaryDecl &d, const char *module, const char *caption, const char *printBase = nullptr);
// The grid of a period summary: the two dates, the group labels, then the
// family's own columns (given with the decl); dateb never sorts.
void periodColumns(SummaryDecl &d, const char *fromTitle, const char *toTitle, const QStringList &labelTitles);
// The grid of a by-month summary: year and month titles, then the
// family's own columns; the year text and month go to the two columns.
void byMonth(SummaryDecl &d, const char *yearColumn, const char *monthColumn, bool monthSorts = true);
// Footer sums under the quantity and every money column.
void footerSums(SummaryDecl &d);

} // namespace stats
