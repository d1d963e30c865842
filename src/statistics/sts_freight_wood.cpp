#include "statistics/sts_freight_wood.h"
#include "db/text.h"
#include "statistics/families.h"

using namespace stats;

SummaryDecl TForm_sts_freight_wood::declaration()
{
    SummaryDecl d = goodsIncome();
    name(d, "sts_freight_wood", "普通货物收入统计汇总(按货物名称)");
    d.dataset = QStringLiteral("q_freight_mxb");
    d.select = S("select sum(应收运费) as ysyf,sum(数量) as sl from 普通货物运输单明细");
    d.quantityAlias = QStringLiteral("sl");
    d.money = {{.column = QStringLiteral("moneya"), .alias = QStringLiteral("ysyf")}};
    d.columns = {{.field = QStringLiteral("numbera"), .title = S("数量"), .width = 80, .sortable = true},
                 {.field = QStringLiteral("moneya"), .title = S("应收运费"), .width = 100, .sortable = true}};
    // A goods name two customers share counts each customer's own lines.
    const GroupList goods = {.dataset = QStringLiteral("q_woodinfo"),
                             .lines = {S("select * from 货物信息"), S("order by 客户名称,货物名称 ")},
                             .customerWhere = S("where  客户名称='%1'"),
                             .labels = {S("客户名称"), S("货物名称"), S("计量单位")},
                             .terms = {{S("货物名称"), S("货物名称")}, {S("上游客户"), S("客户名称")}}};
    overList(d, goods, CustomerUse::GroupList, "运输时间", {S("上游客户"), S("货物名称"), S("计量单位")});
    d.enterOrder << QStringLiteral("DBComboBoxEh1");
    // Bars named by the goods; whose goods they are shows in the tooltip.
    d.chartLabel = {QStringLiteral("textb"), QStringLiteral("texta")};
    return d;
}

TForm_sts_freight_wood::TForm_sts_freight_wood(QWidget *owner) : SummaryWindow(owner, declaration()) {}
