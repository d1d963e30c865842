#pragma once
#include "statistics/summary.h"

// 集装箱收入统计汇总(按下游承运车辆统计): container income per vehicle over a period.
class TForm_sts_cont_car : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_car(QWidget *owner);
    static stats::SummaryDecl declaration();
};
