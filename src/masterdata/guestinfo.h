#pragma once
#include "data/recordlist.h"

// 上游客户资料设置: the customers who place transport orders.
class TForm_guestinfo : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_guestinfo(QWidget *owner);

protected:
    bool checks() override;
    bool canDelete() override;
};
