#pragma once
#include "statistics/summary.h"

// 普通货物费用统计汇总(按运输车辆统计): goods downstream freight per vehicle.
class TForm_sts_freight_car1 : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_freight_car1(QWidget *owner);
    static stats::SummaryDecl declaration();
};
