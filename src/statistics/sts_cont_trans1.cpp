#include "statistics/sts_cont_trans1.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_trans1::declaration()
{
    SummaryDecl d = containerFreight();
    name(d, "sts_cont_trans1", "集装箱费用统计汇总(按下游承运商统计)", "集装箱收入统计汇总表(按下游承运商统计)");
    d.customer = CustomerUse::Filter;
    d.groupList = carrierGroups();
    d.fit = false;
    periodColumns(d, "发车日期(从)", "发车日期(到)", {S("下游运输商")});
    footerSums(d);
    return d;
}

TForm_sts_cont_trans1::TForm_sts_cont_trans1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
