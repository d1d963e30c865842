#include "statistics/sts_freight_guest.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_freight_guest::declaration()
{
    SummaryDecl d = goodsIncome();
    name(d, "sts_freight_guest", "普通货物收入统计汇总(按上游客户统计)");
    overList(d, customerGroups(), CustomerUse::PickGroup, "运输时间", {S("上游客户")});
    d.enterOrder << QStringLiteral("DBComboBoxEh1");
    return d;
}

TForm_sts_freight_guest::TForm_sts_freight_guest(QWidget *owner) : SummaryWindow(owner, declaration()) {}
