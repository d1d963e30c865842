#pragma once
#include "data/recordlist.h"

// 集装箱调度单执行完结: arrival date and the completed flag of the orders
// not yet completed, one at a time or all listed at once.
class TForm_container_ddb_zxwj : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_container_ddb_zxwj(QWidget *owner);

    // 全部完结: every listed order arrives on its due date and is completed,
    // in one transaction: all rows or, on an error, none.
    void completeAll();

protected:
    bool checks() override;
};
