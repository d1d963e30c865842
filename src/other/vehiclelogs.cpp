#include "other/vehiclelogs.h"
#include "data/dm1.h"
#include "db/quote.h"
#include "db/text.h"

using namespace data;
using grid::FooterKind;

namespace other {
namespace {

// The plate column heads every log: "记录数" under it.
grid::Column plateColumn()
{
    return column({.field = "车牌号", .width = 90, .sortable = true, .footer = FooterKind::Text});
}

EditorDecl text(const char *field, const char *label, const char *objectName, int span = 1)
{
    return {.field = S(field), .label = S(label), .objectName = S(objectName), .chinese = true, .span = span};
}

EditorDecl date(const char *field, const char *label, const char *objectName)
{
    return {.field = S(field), .label = S(label), .kind = EditorKind::Date, .objectName = S(objectName)};
}

// The vehicle's odometer follows the highest reading logged; a lower or
// empty one (an older change typed late, a typo) leaves it alone.
void raiseOdometer(db::Query &row)
{
    const db::Field km = row.field(S("公里数"));
    if (km.isNull())
        return;
    const QString reading = db::lit(QString::number(km.asInteger()));
    Dm1->q_search->execWith({S("update 承运车辆 set 公里数=") + reading + S(" where (车牌号=")
                             + db::lit(row.field(S("车牌号")).asString()) + S(")and((公里数 is null)or(公里数<") + reading
                             + S("))")});
}

} // namespace

const LogDecl &oilChanges()
{
    static const LogDecl d{
        .module = S("hyjlb"),
        .table = S("换油记录表"),
        .query = &TDm1::q_hyjlb,
        .listCaption = S("换油记录登记表"),
        .editCaption = S("换油记录登记表编辑 (hyjlb)"),
        .searchCaption = S("换油查询"),
        .columns = {plateColumn(),
                    column({.field = "公里数", .width = 80, .sortable = true, .footer = FooterKind::Count}),
                    column({.field = "换油时间", .width = 90, .sortable = true}),
                    column({.field = "单价", .width = 70}),
                    column({.field = "数量", .width = 70, .footer = FooterKind::Sum}),
                    column({.field = "金额", .width = 90, .sortable = true, .footer = FooterKind::Sum}),
                    column({.field = "经办人", .width = 80, .sortable = true}),
                    column({.field = "换油地点", .width = 160, .sortable = true})},
        .printTitle = S("换油记录登记表打印清单"),
        .exportName = S("换油记录表"),
        .editors = {plateEditor(),
                    {.field = S("公里数"), .label = S("公路里程："), .kind = EditorKind::Whole, .objectName = S("DBNumberEditEh1")},
                    date("换油时间", "换油时间：", "DBDateTimeEditEh1"),
                    moneyEditor("单价", "单价：", "DBNumberEditEh2"),
                    {.field = S("数量"), .label = S("数量："), .kind = EditorKind::Decimal, .objectName = S("DBNumberEditEh3")},
                    moneyEditor("金额", "金额：", "DBNumberEditEh4", true),
                    text("换油地点", "换油地点：", "DBEditEh2"),
                    text("经办人", "经办人：", "DBEditEh1"),
                    remarkEditor()},
        .enterRing = {S("车牌号"), S("公里数"), S("换油时间"), S("单价"), S("数量"), S("换油地点"), S("经办人"), S("备注")},
        .enterExtra = {{S("金额"), S("换油地点")}},
        .compute = [](db::Query &q) {
            q.field(S("金额")).setAsMoney(q.field(S("单价")).asMoney().times(q.field(S("数量")).asFloat()));
        },
        .alsoWrite = raiseOdometer,
        .dateField = S("换油时间"),
        .periodLabel = S("换油时间  从："),
        .msgDateIncomplete = S("换油时间输入错误,请重新输入!"),
        .msgDateOrder = S("换油时间从大于换油时间到,请重新输入!"),
        .newEditor = [](QWidget *o) -> EditorWindow * { return new TForm_hyjlb_edit(o); },
        .newSearch = [](QWidget *o) -> SearchDialog * { return new TForm_hyjlb_cx(o); },
    };
    return d;
}

const LogDecl &repairs()
{
    static const LogDecl d{
        .module = S("wxjlb"),
        .table = S("车辆维修记录表"),
        .query = &TDm1::q_wxjlb,
        .listCaption = S("车辆维修记录登记表"),
        .editCaption = S("车辆维修记录登记表编辑"),
        .searchCaption = S("维修查询"),
        .columns = {plateColumn(),
                    column({.field = "维修时间", .width = 90, .sortable = true, .footer = FooterKind::Count}),
                    column({.field = "修理厂", .width = 150}),
                    column({.field = "材料费", .width = 80, .sortable = true, .footer = FooterKind::Sum}),
                    column({.field = "人工费", .width = 80, .sortable = true, .footer = FooterKind::Sum}),
                    column({.field = "其它费用", .width = 80, .sortable = true, .footer = FooterKind::Sum}),
                    column({.field = "总费用", .width = 90, .sortable = true, .footer = FooterKind::Sum}),
                    column({.field = "经办人", .width = 80, .sortable = true})},
        .printTitle = S("车辆维修记录登记表打印清单"),
        .exportName = S("车辆维修记录表"),
        .editors = {plateEditor(),
                    date("维修时间", "维修时间：", "DBDateTimeEditEh1"),
                    text("维修内容", "维修内容：", "DBEditEh3", 2),
                    moneyEditor("材料费", "材料费：", "DBNumberEditEh1"),
                    moneyEditor("人工费", "人工费：", "DBNumberEditEh2"),
                    moneyEditor("其它费用", "其它费用：", "DBNumberEditEh3"),
                    moneyEditor("总费用", "总费用：", "DBNumberEditEh4", true),
                    text("修理厂", "修理厂：", "DBEditEh2"),
                    handlerCombo("DBComboBoxEh2"),
                    remarkEditor()},
        .enterRing = {S("车牌号"), S("维修时间"), S("维修内容"), S("材料费"), S("人工费"), S("其它费用"), S("修理厂"),
                      S("经办人"), S("备注")},
        .enterExtra = {{S("总费用"), S("修理厂")}},
        .compute = [](db::Query &q) {
            q.field(S("总费用")).setAsMoney(q.field(S("材料费")).asMoney() + q.field(S("人工费")).asMoney()
                                           + q.field(S("其它费用")).asMoney());
        },
        .dateField = S("维修时间"),
        .periodLabel = S("维修时间  从："),
        .msgDateIncomplete = S("维修时间输入错误,请重新输入!"),
        .msgDateOrder = S("维修时间从大于维修时间到,请重新输入!"),
        .newEditor = [](QWidget *o) -> EditorWindow * { return new TForm_wxjlb_edit(o); },
        .newSearch = [](QWidget *o) -> SearchDialog * { return new TForm_wxjlb_cx(o); },
    };
    return d;
}

const LogDecl &accidents()
{
    static const LogDecl d{
        .module = S("sgjlb"),
        .table = S("事故登记表"),
        .query = &TDm1::q_sgjlb,
        .listCaption = S("事故记录登记表"),
        .editCaption = S("事故记录登记表编辑 (sgjlb)"),
        .searchCaption = S("事故查询"),
        .columns = {plateColumn(),
                    column({.field = "客户姓名", .width = 150, .sortable = true, .footer = FooterKind::Count}),
                    column({.field = "驾驶员", .width = 70}),
                    column({.field = "事故时间", .width = 90, .sortable = true}),
                    column({.field = "事故地点", .width = 150}),
                    column({.field = "事故金额", .width = 90, .footer = FooterKind::Sum}),
                    column({.field = "理赔金额", .width = 90, .sortable = true, .footer = FooterKind::Sum}),
                    column({.field = "理赔时间", .width = 90, .sortable = true}),
                    column({.field = "经办人", .width = 80, .sortable = true})},
        .printTitle = S("事故记录登记表打印清单"),
        .exportName = S("事故记录表"),
        // Claims are entered here too: amount and date after the damage.
        .editors = {plateEditor(),
                    text("驾驶员", "驾驶员：", "DBEditEh1"),
                    text("客户姓名", "客户姓名：", "DBEditEh2"),
                    handlerCombo("DBComboBoxEh2"),
                    moneyEditor("事故金额", "事故金额：", "DBNumberEditEh1"),
                    moneyEditor("理赔金额", "理赔金额：", "DBNumberEditEh2"),
                    date("理赔时间", "理赔时间：", "DBDateTimeEditEh2"),
                    date("事故时间", "事故时间：", "DBDateTimeEditEh1"),
                    text("事故地点", "事故地点：", "DBEditEh3", 2),
                    text("事故情况", "事故情况：", "DBEditEh5", 2),
                    text("事故处理", "事故处理：", "DBEditEh6", 2),
                    remarkEditor()},
        .enterRing = {S("车牌号"), S("驾驶员"), S("客户姓名"), S("经办人"), S("事故金额"), S("理赔金额"), S("理赔时间"),
                      S("事故时间"), S("事故地点"), S("事故情况"), S("事故处理"), S("备注")},
        .moreCriteria = {{.objectName = S("Edit1"), .label = S("驾驶员："), .column = S("驾驶员"), .term = TermKind::Exact,
                          .chinese = true}},
        .dateField = S("事故时间"),
        .periodLabel = S("事故时间  从："),
        .msgDateIncomplete = S("事故时间输入错误,请重新输入!"),
        .msgDateOrder = S("事故时间从大于事故时间到,请重新输入!"),
        .newEditor = [](QWidget *o) -> EditorWindow * { return new TForm_sgjlb_edit(o); },
        .newSearch = [](QWidget *o) -> SearchDialog * { return new TForm_sgjlb_cx(o); },
    };
    return d;
}

} // namespace other
