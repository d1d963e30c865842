#include "statistics/sts_cont_car.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_car::declaration()
{
    SummaryDecl d = containerIncome();
    name(d, "sts_cont_car", "集装箱收入统计汇总(按下游承运车辆统计)");
    overList(d, vehicleGroups(S("select * from 承运车辆 order by  车牌号")), CustomerUse::Filter, "运输时间", {S("承运车辆")});
    d.enterOrder << QStringLiteral("DBComboBoxEh1");
    return d;
}

TForm_sts_cont_car::TForm_sts_cont_car(QWidget *owner) : SummaryWindow(owner, declaration()) {}
