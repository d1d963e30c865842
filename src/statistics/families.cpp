#include "statistics/families.h"
#include "db/text.h"

namespace stats {
namespace {

using grid::Column;
using grid::FooterKind;

Column value(const char *field, const char *title, int width = 90)
{
    return {.field = S(field), .title = S(title), .width = width, .sortable = true};
}

const QVector<Assign> incomeMoney = {
    {.column = QStringLiteral("moneya"), .alias = QStringLiteral("ysyf")},
    {.column = QStringLiteral("moneyb"), .alias = QStringLiteral("ssyf")},
    {.column = QStringLiteral("moneyc"), .alias = QStringLiteral("ysyf"), .minus = QStringLiteral("ssyf")},
};
const grid::Columns incomeColumns = {value("moneya", "应收运费"), value("moneyb", "实收运费"), value("moneyc", "未收运费")};

const QVector<Assign> freightMoney = {
    {.column = QStringLiteral("moneya"), .alias = QStringLiteral("ysje")}, {.column = QStringLiteral("moneyb"), .alias = QStringLiteral("lqf")},
    {.column = QStringLiteral("moneyc"), .alias = QStringLiteral("yf")},   {.column = QStringLiteral("moneyd"), .alias = QStringLiteral("fk")},
    {.column = QStringLiteral("moneye"), .alias = QStringLiteral("qtfy")}, {.column = QStringLiteral("moneyf"), .alias = QStringLiteral("lwf")},
    {.column = QStringLiteral("moneyg"), .alias = QStringLiteral("yfyf")}, {.column = QStringLiteral("moneyh"), .alias = QStringLiteral("sfyf")},
    {.column = QStringLiteral("moneyi"), .alias = QStringLiteral("yfyf"), .minus = QStringLiteral("sfyf")},
};
const grid::Columns freightColumns = {
    value("moneya", "运费金额"), value("moneyb", "路桥费", 80), value("moneyc", "油费", 80),
    value("moneyd", "罚款", 70), value("moneye", "其它费用", 80), value("moneyf", "劳务费", 80),
    value("moneyg", "应付运费"), value("moneyh", "实付运费"), value("moneyi", "未付运费"),
};

const Column quantity = value("numbera", "数量", 70);

// One business's period summary: where the sums come from, which groups get
// a row, what goes into 通用 and the family's own grid columns; word names
// the period in the messages and the from-date's label.
struct Family {
    const char *dataset;
    const char *select;
    const char *dateColumn;
    const char *word;
    RowTest test;
    const char *testAlias;
    bool quantityToo = false;
    QVector<Assign> money;
    grid::Columns columns;
};

SummaryDecl family(const Family &f)
{
    const auto &[dataset, select, dateColumn, word, test, testAlias, quantityToo, money, columns] = f;
    SummaryDecl d;
    d.parameters = Parameters::Period;
    d.fromLabel = S(word) + S("(从)：");
    d.msgIncomplete = S("必须输入完整的") + S(word) + S(",请重新输入!");
    d.msgOrder = S(word) + S("从不能大于") + S(word) + S("到,请重新输入!");
    d.enterOrder = {QStringLiteral("DBDateTimeEditEh1"), QStringLiteral("DBDateTimeEditEh2")};
    d.dataset = QString::fromLatin1(dataset);
    d.select = S(select);
    d.dateColumn = S(dateColumn);
    d.rowTest = test;
    d.testAlias = QString::fromLatin1(testAlias);
    if (quantityToo)
        d.quantityAlias = QStringLiteral("sl");
    d.money = money;
    d.columns = quantityToo ? grid::Columns{quantity} + columns : columns;
    d.chartLabel = {QStringLiteral("texta")};
    return d;
}

// The grid's two period dates, then the labels, before the family's columns.
void periodColumns(SummaryDecl &d, const char *dateTitle, const QStringList &labelTitles)
{
    grid::Columns head = {{.field = QStringLiteral("datea"), .title = S(dateTitle) + S("(从)"), .width = 100, .sortable = true},
                          {.field = QStringLiteral("dateb"), .title = S(dateTitle) + S("(到)"), .width = 100}};
    static const char *const labels[] = {"texta", "textb", "textc"};
    for (int i = 0; i < labelTitles.size() && i < 3; ++i)
        head.append({.field = QString::fromLatin1(labels[i]), .title = labelTitles[i], .width = i == 0 ? 220 : 110, .sortable = true});
    d.columns = head + d.columns;
}

// Footer sums under the quantity and every money column.
void footerSums(SummaryDecl &d)
{
    for (grid::Column &c : d.columns)
        if (c.field == QLatin1String("numbera") || c.field.startsWith(QLatin1String("money")))
            c.footer = FooterKind::Sum;
}

} // namespace

SummaryDecl containerIncome()
{
    return family({.dataset = "q_container_ysd",
                   .select = "select sum(应收运费) as ysyf,sum(实收运费) as ssyf,sum(数量) as sl from 集装箱运输单",
                   .dateColumn = "运输期限从", .word = "运输时间", .test = RowTest::QuantityAboveZero, .testAlias = "sl",
                   .quantityToo = true, .money = incomeMoney, .columns = incomeColumns});
}

SummaryDecl containerFreight()
{
    return family({.dataset = "q_container_ysd",
                   .select = "select sum(运输金额) as ysje,sum(路桥费) as lqf,sum(油费) as yf,sum(罚款) as fk,sum(其它费用) as qtfy,"
                             "sum(劳务费) as lwf,sum(应付运费) as yfyf,sum(实付运费) as sfyf,sum(数量) as sl from 集装箱运输单",
                   .dateColumn = "运输期限从", .word = "发车日期", .test = RowTest::QuantityAboveZero, .testAlias = "sl",
                   .quantityToo = true, .money = freightMoney, .columns = freightColumns});
}

SummaryDecl goodsIncome()
{
    return family({.dataset = "q_freight_ysd", .select = "select sum(应收运费) as ysyf,sum(实收运费) as ssyf from 普通货物运输单",
                   .dateColumn = "发货日期", .word = "发货日期", .test = RowTest::MoneyAboveZero, .testAlias = "ysyf",
                   .money = incomeMoney, .columns = incomeColumns});
}

SummaryDecl goodsFreight()
{
    return family({.dataset = "q_freight_ddb",
                   .select = "select sum(运输金额) as ysje,sum(路桥费) as lqf,sum(油费) as yf,sum(罚款) as fk,sum(其它费用) as qtfy,"
                             "sum(劳务费) as lwf,sum(应付运费) as yfyf,sum(实付运费) as sfyf from 普通货物调度单",
                   .dateColumn = "发货日期", .word = "发货日期", .test = RowTest::MoneyRoundsAboveZero, .testAlias = "ysje",
                   .money = freightMoney, .columns = freightColumns});
}

GroupList customerGroups()
{
    return {.dataset = QStringLiteral("q_guestinfo"), .lines = {S("select * from 上游客户 order by 客户名称 ")}, .customerWhere = {}, .labels = {S("客户名称")},
            .terms = {{S("上游客户"), S("客户名称")}}};
}

GroupList carrierGroups()
{
    return {.dataset = QStringLiteral("q_transportinfo"), .lines = {S("select * from 下游运输商 order by 单位名称 ")}, .customerWhere = {}, .labels = {S("单位名称")},
            .terms = {{S("承运单位"), S("单位名称")}}};
}

GroupList vehicleGroups(const QString &selectLine)
{
    return {.dataset = QStringLiteral("q_carinfo"), .lines = {selectLine}, .customerWhere = {}, .labels = {S("车牌号")}, .terms = {{S("车牌号"), S("车牌号")}}};
}

void name(SummaryDecl &d, const char *module, const char *caption, const char *printBase)
{
    d.module = QString::fromLatin1(module);
    d.caption = S(caption);
    d.exportName = printBase ? S(printBase) : d.caption;
    d.printTitle = d.exportName + S("打印清单");
}

void bySize(SummaryDecl &d, const char *dateTitle, const char *suffix, const char *total)
{
    d.fixedGroups = {{.label = S("20") + S(suffix), .term = S("and(型号规格 = '20')")}, {.label = S("40") + S(suffix), .term = S("and(型号规格 = '40')")},
                     {.label = S(total), .term = {}}};
    d.totalLabel = S(total);
    periodColumns(d, dateTitle, {S("箱号")});
}

void overList(SummaryDecl &d, const GroupList &groups, CustomerUse customer, const char *dateTitle,
              const QStringList &labelTitles)
{
    d.groupList = groups;
    d.customer = customer;
    periodColumns(d, dateTitle, labelTitles);
    footerSums(d);
}

void byMonth(SummaryDecl &d, const char *yearColumn, const char *monthColumn, bool monthSorts)
{
    d.parameters = Parameters::Year;
    d.yearColumn = QString::fromLatin1(yearColumn);
    d.monthColumn = QString::fromLatin1(monthColumn);
    d.rowTest = RowTest::Always;
    d.customer = CustomerUse::Filter;
    d.customerCombo = QStringLiteral("DBComboBoxEh2");
    d.enterOrder = {QStringLiteral("DBComboBoxEh1"), QStringLiteral("DBComboBoxEh2")};
    d.chartLabel = {d.monthColumn};
    d.columns = grid::Columns{{.field = d.yearColumn, .title = S("年度"), .width = 90, .sortable = true},
                              {.field = d.monthColumn, .title = S("月份"), .width = 70, .sortable = monthSorts}}
                + d.columns;
    footerSums(d);
}

} // namespace stats
