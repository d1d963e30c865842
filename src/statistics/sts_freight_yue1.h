#pragma once
#include "statistics/summary.h"

// 普通货物费用统计汇总表(按月份): goods downstream freight in each month of a year.
class TForm_sts_freight_yue1 : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_freight_yue1(QWidget *owner);
    static stats::SummaryDecl declaration();
};
