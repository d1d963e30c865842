#include "statistics/sts_freight_yue.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_freight_yue::declaration()
{
    SummaryDecl d = goodsIncome();
    name(d, "sts_freight_yue", "普通货物收入统计汇总(按月份)");
    byMonth(d, "textb", "textc");
    return d;
}

TForm_sts_freight_yue::TForm_sts_freight_yue(QWidget *owner) : SummaryWindow(owner, declaration()) {}
