#pragma once
#include "statistics/summary.h"

// 集装箱收入统计汇总(按月份): container income in each month of a year.
class TForm_sts_cont_yue : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_yue(QWidget *owner);
    static stats::SummaryDecl declaration();
};
