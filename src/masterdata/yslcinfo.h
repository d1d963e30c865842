#pragma once
#include "masterdata/masterlist.h"

// 运输动态设置: the routes from an origin to a destination with their road distance.
class TForm_yslcinfo : public masterdata::MasterListWindow {
    Q_OBJECT
public:
    explicit TForm_yslcinfo(QWidget *owner);

protected:
    bool checks() override;
    void beforePost() override;
};
