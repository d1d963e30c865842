#include "statistics/sts_cont_trans1.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_trans1::declaration()
{
    SummaryDecl d = containerFreight();
    name(d, "sts_cont_trans1", "集装箱费用统计汇总(按下游承运商统计)", "集装箱收入统计汇总表(按下游承运商统计)");
    overList(d, carrierGroups(), CustomerUse::Filter, "发车日期", {S("下游运输商")});
    d.fit = false;
    return d;
}

TForm_sts_cont_trans1::TForm_sts_cont_trans1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
