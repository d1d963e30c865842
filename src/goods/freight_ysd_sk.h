#pragma once
#include "goods/freight_ysd_fh.h"

// 普通货物运输单收款管理: the goods orders whose customer account is not
// settled; the user records what was collected, when, by whom.
class TForm_freight_ysd_sk : public data::StageWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ysd_sk(QWidget *owner);
};
