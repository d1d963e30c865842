#pragma once
#include "data/recordlist.h"
#include <QDate>

namespace db { class Connection; }

// 提醒功能清单: the vehicles whose paid-up periods have run out or are
// about to, and those whose next second-level service is near, computed
// into 通用 by 提醒 (or a double click) and at start-up.
class TForm_txgn : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_txgn(QWidget *owner);
    // 提醒 (bitbtn_edit).
    void remind();
};

namespace masterdata {

// The alarm computation: clears the scratch table and appends, vehicle by
// vehicle in plate order and item by item, one row per alarm; the first five
// rows of 提醒功能初始表 give the items' labels and leads. One transaction:
// on a database error nothing changes and DbError is thrown.
void computeAlarms(db::Connection &connection, db::Query *scratch, db::Query *settings, db::Query *vehicles,
                   const QDate &today);

} // namespace masterdata
