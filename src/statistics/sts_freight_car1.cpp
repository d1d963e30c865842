#include "statistics/sts_freight_car1.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_freight_car1::declaration()
{
    SummaryDecl d = goodsFreight();
    name(d, "sts_freight_car1", "普通货物费用统计汇总(按运输车辆统计)");
    overList(d, vehicleGroups(S("select * from 承运车辆 order by 车牌号 ")), CustomerUse::Filter, "发货日期", {S("运输车辆")});
    d.msgIncomplete = S("必须输入完整的发车日期,请重新输入!");
    d.msgOrder = S("发车日期从不能大于发车日期到,请重新输入!");
    d.fit = false;
    return d;
}

TForm_sts_freight_car1::TForm_sts_freight_car1(QWidget *owner) : SummaryWindow(owner, declaration()) {}
