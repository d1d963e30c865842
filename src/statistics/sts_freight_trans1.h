#pragma once
#include "statistics/summary.h"

// 普通货物费用统计汇总(按下游承运商统计): goods downstream freight per carrier.
class TForm_sts_freight_trans1 : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_freight_trans1(QWidget *owner);
    static stats::SummaryDecl declaration();
};
