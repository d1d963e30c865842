#pragma once
#include "data/recordlist.h"

// 普通货物调度单执行完结: the goods dispatches not yet completed; a save
// carries the dispatch's completion and arrival into its orders.
class TForm_freight_ddb_zxwj : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ddb_zxwj(QWidget *owner);

    // 全部完结: every listed dispatch and its orders completed, in one transaction.
    void SpeedButton3Click();

protected:
    bool checks() override;
    void afterPost() override;
};
