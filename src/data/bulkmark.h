#pragma once
#include <QString>
#include <functional>

class QWidget;
namespace db { class Query; }

namespace data {

// A bulk action over the listed rows ("全部返回"): every row of the query, from
// the first, gets mark() and is posted, all in one database transaction. On a
// database error nothing is kept: the transaction is rolled back, the rows
// already marked are read back as the database holds them, the cursor stays
// on the row that failed, and the user is told the action, that row
// (describe()) and the engine's message. A pending change of the query is
// cancelled first. Screen updates of the list are suspended meanwhile; on
// success the cursor goes back to the first row. True when every row was
// marked.
bool markEveryRow(QWidget *parent, db::Query *query, const QString &action,
                  const std::function<void(db::Query &)> &mark,
                  const std::function<QString(db::Query &)> &describe);

} // namespace data
