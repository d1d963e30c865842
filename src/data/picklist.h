#pragma once
#include <QList>
#include <QStringList>

class QComboBox;
namespace db { class Query; }

namespace data {

// Fills pick lists from a look-up: the query is reopened with the lines,
// every row's column is appended, in order, to each combo (their old items
// are cleared), and the query is closed again.
void fillPickLists(db::Query *lookup, const QStringList &lines, const QString &column,
                   const QList<QComboBox *> &combos);

} // namespace data
