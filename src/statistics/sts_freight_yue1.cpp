#include "statistics/sts_freight_yue1.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_freight_yue1::declaration()
{
    SummaryDecl d = goodsFreight();
    name(d, "sts_freight_yue1", "普通货物费用统计汇总表(按月份)");
    byMonth(d, "texta", "textb", false);
    return d;
}

TForm_sts_freight_yue1::TForm_sts_freight_yue1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
