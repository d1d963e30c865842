#include "data/picklist.h"
#include "db/query.h"
#include <QComboBox>

namespace data {

void fillPickLists(db::Query *lookup, const QStringList &lines, const QString &column,
                   const QList<QComboBox *> &combos)
{
    lookup->reopenWith(lines);
    const int col = lookup->field(column).index();
    for (auto *c : combos)
        if (c)
            c->clear();
    for (int row = 0; row < lookup->recordCount(); ++row)
        for (auto *c : combos)
            if (c)
                c->addItem(lookup->displayText(row, col));
    lookup->close();
}

} // namespace data
