#include "statistics/sts_cont_guest.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_guest::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_guest", "集装箱收入统计汇总(按上游客户统计)");
    overList(d, customerGroups(), CustomerUse::PickGroup, "运输时间", {S("上游客户")});
    d.enterOrder << QStringLiteral("DBComboBoxEh1");
    return d;
}

TForm_sts_cont_guest::TForm_sts_cont_guest(QWidget *owner) : SummaryWindow(owner, declaration()) {}
