#pragma once
#include <QStringList>

namespace db { class Query; }

// The rules of a goods order's and a goods dispatch's save that are more
// than their windows: what the rows carry and what a save writes into the
// rows that belong to it. Each runs on the rows given, inside the caller's
// transaction; no window is needed.
namespace goods {

// 运输动态 of an order or a dispatch: its route, 起始地-目的地.
QString routeText(const QString &origin, const QString &destination);
// Writes the row's 运输动态 from its 起始地 and 目的地.
void setRoute(db::Query &row);

// The number (`column`: 运输单号, 调度单号) the row was read with, which the
// rows belonging to it still carry while it is being renumbered; empty for
// a new row.
QString numberAsRead(db::Query &row, const QString &column);

// After a dispatch's post: its orders under the number it was read with
// (`readNumber`) and the ones attached during this entry (`entryRows`,
// "k1,k2" keys; only while still attached) take the saved number, and every
// order of the dispatch takes its carrier, plate and driver. `run` runs the
// statements (q_search).
void carryDispatchToOrders(db::Query &run, db::Query &dispatch, const QString &readNumber, const QString &entryRows);

// The columns an order lends its lines: copied when a line is chosen, and
// carried along by every save of the order.
QStringList columnsLentToLines();

// After an order's post: its lines under the number it was read with and
// the ones chosen during this entry take the order's number, customer and
// dates, so a renumbered or re-dated order keeps its lines and the
// summaries by period count them rightly.
void carryOrderToLines(db::Query &run, db::Query &order, const QString &readNumber, const QString &entryRows);

} // namespace goods
