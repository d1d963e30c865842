#include "statistics/sts_cont_yue1.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_yue1::declaration()
{
    SummaryDecl d = containerFreight();
    name(d, "sts_cont_yue1", "集装箱费用统计汇总表(按月份)");
    byMonth(d, "texta", "textb", false);
    return d;
}

TForm_sts_cont_yue1::TForm_sts_cont_yue1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
