#pragma once
#include "statistics/summary.h"

// 普通货物收入统计汇总(按货物名称): goods order lines per customer and goods name.
class TForm_sts_freight_wood : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_freight_wood(QWidget *owner);
    static stats::SummaryDecl declaration();
};
