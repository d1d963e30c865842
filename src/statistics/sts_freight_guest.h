#pragma once
#include "statistics/summary.h"

// 普通货物收入统计汇总(按上游客户统计): goods income per customer over a period.
class TForm_sts_freight_guest : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_freight_guest(QWidget *owner);
    static stats::SummaryDecl declaration();
};
