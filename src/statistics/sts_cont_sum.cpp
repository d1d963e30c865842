#include "statistics/sts_cont_sum.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_sum::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_sum", "集装箱收入统计汇总表");
    bySize(d, "运输时间", "", "合   计");
    return d;
}

TForm_sts_cont_sum::TForm_sts_cont_sum(QWidget *owner) : SummaryWindow(owner, declaration()) {}
