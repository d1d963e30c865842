#include "statistics/sts_cont_car1.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_cont_car1::declaration()
{
    SummaryDecl d = containerFreight();
    name(d, "sts_cont_car1", "集装箱费用统计汇总(按运输车辆统计)", "集装箱费用统计汇总表(按运输车辆统计)");
    overList(d, vehicleGroups(S("select * from 承运车辆 order by 车牌号 ")), CustomerUse::Filter, "发车日期", {S("运输车辆")});
    d.fit = false;
    return d;
}

TForm_sts_cont_car1::TForm_sts_cont_car1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
