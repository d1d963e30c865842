#pragma once
#include "statistics/summary.h"

// 集装箱收入统计汇总(按下游承运商统计): container income per carrier over a period.
class TForm_sts_cont_trans : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_trans(QWidget *owner);
    static stats::SummaryDecl declaration();
};
