#pragma once
#include "masterdata/masterlist.h"

// 运输货物资料设置: the kinds of goods carried for each customer.
class TForm_woodinfo : public masterdata::MasterListWindow {
    Q_OBJECT
public:
    explicit TForm_woodinfo(QWidget *owner);

protected:
    bool checks() override;
};
