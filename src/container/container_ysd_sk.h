#pragma once
#include "container/container_ysd_fh.h"

// 集装箱运输单收款管理: the orders whose customer account is not settled; the
// user records what was collected, when, by whom, and whether it is settled.
class TForm_container_ysd_sk : public data::StageWindow {
    Q_OBJECT
public:
    explicit TForm_container_ysd_sk(QWidget *owner);
};
