#pragma once
#include "data/recordlist.h"

// 集装箱调度单付款管理: costs, payment and settlement of the dispatched
// orders whose carrier account is open; the payable is computed at save.
class TForm_container_ddb_fk : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_container_ddb_fk(QWidget *owner);

protected:
    bool checks() override;
    void beforePost() override;
};
