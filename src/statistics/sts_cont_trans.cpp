#include "statistics/sts_cont_trans.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_trans::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_trans", "集装箱收入统计汇总(按下游承运商统计)");
    d.customer = CustomerUse::Filter;
    d.enterOrder << QStringLiteral("DBComboBoxEh1");
    d.groupList = carrierGroups();
    periodColumns(d, "运输时间(从)", "运输时间(到)", {S("下游承运商")});
    footerSums(d);
    return d;
}

TForm_sts_cont_trans::TForm_sts_cont_trans(QWidget *owner) : SummaryWindow(owner, declaration()) {}
