#pragma once
#include "data/recordlist.h"

namespace data {

// A list over any open shared query, showing every grid service: used where
// a window of its own does not exist yet, and by tests.
class GenericListWindow : public RecordListWindow {
    Q_OBJECT
public:
    GenericListWindow(QWidget *owner, db::Query *query, const QString &caption, const QString &module);
    static grid::Columns columnsOf(db::Query *query);

protected:
    void showEvent(QShowEvent *e) override;
};

} // namespace data
