#pragma once
#include "statistics/summary.h"

// 集装箱费用统计汇总表: container downstream freight by size over a period.
class TForm_sts_cont_sum1 : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_sum1(QWidget *owner);
    static stats::SummaryDecl declaration();
};
