#pragma once
#include "statistics/summary.h"

// 普通货物收入统计汇总(按月份): goods income in each month of a year.
class TForm_sts_freight_yue : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_freight_yue(QWidget *owner);
    static stats::SummaryDecl declaration();
};
