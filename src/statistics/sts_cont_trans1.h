#pragma once
#include "statistics/summary.h"

// 集装箱费用统计汇总(按下游承运商统计): container downstream freight per carrier.
class TForm_sts_cont_trans1 : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_trans1(QWidget *owner);
    static stats::SummaryDecl declaration();
};
