#include "statistics/sts_cont_yue.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_yue::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_yue", "集装箱收入统计汇总(按月份)");
    byMonth(d, "textb", "textc");
    return d;
}

TForm_sts_cont_yue::TForm_sts_cont_yue(QWidget *owner) : SummaryWindow(owner, declaration()) {}
