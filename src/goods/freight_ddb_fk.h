#pragma once
#include "data/recordlist.h"

// 普通货物调度单付款管理: the goods dispatches whose carrier account is not
// settled; a save computes the payable from the amount and the costs.
class TForm_freight_ddb_fk : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ddb_fk(QWidget *owner);

protected:
    bool checks() override;
    void beforePost() override;
};
