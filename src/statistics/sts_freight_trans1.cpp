#include "statistics/sts_freight_trans1.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_freight_trans1::declaration()
{
    SummaryDecl d = goodsFreight();
    name(d, "sts_freight_trans1", "普通货物费用统计汇总(按下游承运商统计)");
    overList(d, carrierGroups(), CustomerUse::Filter, "发货日期", {S("下游运输商")});
    d.fit = false;
    return d;
}

TForm_sts_freight_trans1::TForm_sts_freight_trans1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
