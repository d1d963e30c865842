#pragma once
#include "statistics/summary.h"

// 集装箱费用统计汇总表(按月份): container downstream freight in each month of a year.
class TForm_sts_cont_yue1 : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_yue1(QWidget *owner);
    static stats::SummaryDecl declaration();
};
