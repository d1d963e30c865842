#pragma once
#include "masterdata/masterlist.h"

// 上游客户资料设置: the customers who place transport orders.
class TForm_guestinfo : public masterdata::MasterListWindow {
    Q_OBJECT
public:
    explicit TForm_guestinfo(QWidget *owner);

protected:
    bool checks() override;
};
