#include "statistics/sts_cont_sum1.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_sum1::declaration()
{
    SummaryDecl d = containerFreight();
    name(d, "sts_cont_sum1", "集装箱费用统计汇总表");
    d.fixedGroups = {{S("20号"), S("and(型号规格 = '20')")}, {S("40号"), S("and(型号规格 = '40')")}, {S("合计"), {}}};
    d.totalLabel = S("合计");
    periodColumns(d, "发车日期(从)", "发车日期(到)", {S("箱号")});
    return d;
}

TForm_sts_cont_sum1::TForm_sts_cont_sum1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
