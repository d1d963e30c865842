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
// A period summary by container size: "20", "40" (with the suffix) and the
// total row; the grid's dates titled after dateTitle, no footer.
void bySize(SummaryDecl &d, const char *dateTitle, const char *suffix, const char *total);
// A period summary over a master list: the customer's part, the grid's
// dates titled after dateTitle, the label titles, footer sums.
void overList(SummaryDecl &d, const GroupList &groups, CustomerUse customer, const char *dateTitle,
              const QStringList &labelTitles);
// The by-month form: the year and month go to the two columns (titled 年度
// and 月份) before the family's own columns, the customer filters, every
// month gets a row, footer sums.
void byMonth(SummaryDecl &d, const char *yearColumn, const char *monthColumn, bool monthSorts = true);

} // namespace stats
