#pragma once
#include "masterdata/masterlist.h"

// 下游运输商资料设置: the carriers the business hands transport work to.
class TForm_transportinfo : public masterdata::MasterListWindow {
    Q_OBJECT
public:
    explicit TForm_transportinfo(QWidget *owner);

protected:
    bool checks() override;
};
