#pragma once
#include "statistics/summary.h"

// 集装箱收入统计汇总表: container income by size (20, 40 and the total) over a period.
class TForm_sts_cont_sum : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_sum(QWidget *owner);
    static stats::SummaryDecl declaration();
};
