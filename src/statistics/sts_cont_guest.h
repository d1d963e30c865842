#pragma once
#include "statistics/summary.h"

// 集装箱收入统计汇总(按上游客户统计): container income per customer over a period.
class TForm_sts_cont_guest : public stats::SummaryWindow {
    Q_OBJECT
public:
    explicit TForm_sts_cont_guest(QWidget *owner);
    static stats::SummaryDecl declaration();
};
