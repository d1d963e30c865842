#pragma once
#include "data/stagewindow.h"

namespace container {

// What the container stage windows (receipt return, collection) share: the
// query, the quick search strip, the order search dialog and the remarks.
data::ListDecl stageDecl(data::ListDecl d);

} // namespace container

// 集装箱运输单回单管理: the orders whose signed receipt has not come back.
class TForm_container_ysd_fh : public data::StageWindow {
    Q_OBJECT
public:
    explicit TForm_container_ysd_fh(QWidget *owner);
};
