#include "statistics/sts_cont_sum.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_sum::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_sum", "集装箱收入统计汇总表");
    d.fixedGroups = {{S("20"), S("and(型号规格 = '20')")}, {S("40"), S("and(型号规格 = '40')")}, {S("合   计"), {}}};
    d.totalLabel = S("合   计");
    periodColumns(d, "运输时间(从)", "运输时间(到)", {S("箱号")});
    return d;
}

TForm_sts_cont_sum::TForm_sts_cont_sum(QWidget *owner) : SummaryWindow(owner, declaration()) {}
