#include "statistics/sts_cont_trans.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_trans::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_trans", "集装箱收入统计汇总(按下游承运商统计)");
    overList(d, carrierGroups(), CustomerUse::Filter, "运输时间", {S("下游承运商")});
    d.enterOrder << QStringLiteral("DBComboBoxEh1");
    return d;
}

TForm_sts_cont_trans::TForm_sts_cont_trans(QWidget *owner) : SummaryWindow(owner, declaration()) {}
