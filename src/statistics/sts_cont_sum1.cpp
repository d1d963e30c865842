#include "statistics/sts_cont_sum1.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_sum1::declaration()
{
    SummaryDecl d = containerFreight();
    name(d, "sts_cont_sum1", "集装箱费用统计汇总表");
    bySize(d, "发车日期", "号", "合计");
    return d;
}

TForm_sts_cont_sum1::TForm_sts_cont_sum1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
