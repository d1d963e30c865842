#include "app/menutable.h"
#include "other/xjrjz.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/quote.h"

namespace app {
namespace {

using L = QStringList;

QueryStep open(const char *query, L lines)
{
    return {.query = QString::fromLatin1(query), .lines = std::move(lines), .build = {}, .command = false};
}

MenuItem window(const char *name, const QString &caption, const char *cls, QList<QueryStep> setup = {},
                QList<PickList> picks = {}, L closeAfter = {})
{
    MenuItem m;
    m.name = QString::fromLatin1(name);
    m.caption = caption;
    m.windowClass = QString::fromLatin1(cls);
    m.setup = std::move(setup);
    m.picks = std::move(picks);
    m.closeAfter = std::move(closeAfter);
    return m;
}

// One query opened before the window and closed after it.
MenuItem simple(const char *name, const QString &caption, const char *cls, const char *query, L lines,
                QList<PickList> picks = {})
{
    return window(name, caption, cls, {open(query, std::move(lines))}, std::move(picks), {QString::fromLatin1(query)});
}

MenuItem special(MenuItem::Kind kind, const char *name = "", const QString &caption = {})
{
    MenuItem m;
    m.kind = kind;
    m.name = QString::fromLatin1(name);
    m.caption = caption;
    return m;
}

PickList customers(L targets, const char *query = "q_guestinfo",
                   L lines = {QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")})
{
    return {.query = QString::fromLatin1(query), .lines = std::move(lines), .column = QStringLiteral("客户名称"), .targets = std::move(targets)};
}

PickList carriers(const char *query)
{
    return {.query = QString::fromLatin1(query), .lines = {QStringLiteral("select * from 下游运输商"), QStringLiteral("order by 单位名称")},
            .column = QStringLiteral("单位名称"), .targets = {QStringLiteral("DBComboBoxEh3")}};
}

// Statistics windows start from an emptied scratch table.
MenuItem statistics(const char *name, const QString &caption, const char *cls, const char *customerTarget = nullptr)
{
    QueryStep clear = open("q_tongyong", {QStringLiteral("delete from 通用")});
    clear.command = true;
    QList<PickList> picks;
    if (customerTarget)
        picks << customers({QString::fromLatin1(customerTarget)}, "q_search");
    return window(name, caption, cls, {clear, open("q_tongyong", {QStringLiteral("select * from "), QStringLiteral("通用")})},
                  picks, {QStringLiteral("q_tongyong")});
}

QList<MenuDef> build()
{
    const L containerOrders = {QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输期限从,运输单号")};
    const auto containerWhere = [](const char *where, const char *order = "order by 运输期限从,运输单号") {
        return L{QStringLiteral("select * from 集装箱运输单"), QString::fromUtf8(where), QString::fromUtf8(order)};
    };
    const auto goodsWhere = [](const char *where) {
        return L{QStringLiteral("select * from 普通货物运输单"), QString::fromUtf8(where), QStringLiteral("order by 发货日期,运输单号")};
    };
    const L goodsDispatch = {QStringLiteral("select * from 普通货物调度单"), QStringLiteral("where 执行完结='否'"),
                             QStringLiteral("order by 发货日期,调度单号")};
    const L customerLookup3 = {QStringLiteral("select * from "), QStringLiteral("上游客户"), QStringLiteral("order by 客户名称")};
    const L eh23 = {QStringLiteral("DBComboBoxEh2"), QStringLiteral("DBComboBoxEh3")};
    const L eh3 = {QStringLiteral("DBComboBoxEh3")};

    QList<MenuDef> menus;

    MenuItem password = simple("N3", QStringLiteral("修改操作员口令"), "TForm_password", "q_qxb", {});
    password.setup[0].build = [] {
        return L{QStringLiteral("select * from 权限表"),
                 QStringLiteral("where 姓名='") + db::q(velorin::operator_name) + QStringLiteral("'"),
                 QStringLiteral("order by 姓名")};
    };
    MenuItem login = simple("N4", QStringLiteral("更换操作员"), "TForm_Enter", "q_qxb",
                            {QStringLiteral("select * from 权限表 order by 姓名")});
    login.operatorPanelAfter = true;
    MenuItem restore = window("N7", QStringLiteral("数据恢复"), "TForm_restore");
    restore.reconnect = true;
    menus << MenuDef{.caption = QStringLiteral("【系统维护】"),
                     .items = {simple("N2", QStringLiteral("操作员设置"), "TForm_qxb", "q_qxb",
                             {QStringLiteral("select * from 权限表"), QStringLiteral("order by 姓名")}),
                      password, login, window("N44", QStringLiteral("数据初始化"), "TForm_initialize"),
                      window("N16", QStringLiteral("数据备份"), "TForm_backup"), restore,
                      special(MenuItem::HiddenSeparator), special(MenuItem::Quit, "N9", QStringLiteral("退出系统"))}};

    MenuItem company = window("N18", QStringLiteral("使用单位信息"), "TForm_gsxx_edit",
                              {open("q_gsxx", {QStringLiteral("select * from 公司信息")})}, {}, {QStringLiteral("q_gsxx")});
    company.bannerAfter = true;
    QueryStep clearScratch = open("q_tongyong", {QStringLiteral("delete from 通用")});
    clearScratch.command = true;
    menus << MenuDef{
        .caption = QStringLiteral("【基本资料】"),
        .items = {simple("N12", QStringLiteral("上游客户设置"), "TForm_guestinfo", "q_guestinfo",
                {QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")}),
         simple("N33", QStringLiteral("收货单位设置"), "TForm_deliveryinfo", "q_deliveryinfo",
                {QStringLiteral("select * from 收货单位"), QStringLiteral("order by 单位名称")},
                {customers(eh23, "q_guestinfo", customerLookup3)}),
         simple("N13", QStringLiteral("下游承运商设置"), "TForm_transportinfo", "q_transportinfo",
                {QStringLiteral("select * from 下游运输商"), QStringLiteral("order by 单位名称")}),
         simple("N48", QStringLiteral("承运车辆设置"), "TForm_carinfo", "q_carinfo",
                {QStringLiteral("select * from 承运车辆"), QStringLiteral("order by 车牌号")}),
         simple("N14", QStringLiteral("公路里程设置"), "TForm_yslcinfo", "q_yslcinfo",
                {QStringLiteral("select * from 公路里程"), QStringLiteral("order by 运输动态")}),
         simple("N11", QStringLiteral("货物信息设置"), "TForm_woodinfo", "q_woodinfo",
                {QStringLiteral("select * from 货物信息"), QStringLiteral("order by 客户名称,货物名称")},
                {customers(eh23, "q_guestinfo", customerLookup3)}),
         company,
         // The alarm list starts empty and stays open for the window's own refills.
         window("N52", QStringLiteral("到期报警"), "TForm_txgn",
                {clearScratch, open("q_tongyong", {QStringLiteral("select * from 通用"), QStringLiteral("order by texta")})}),
         simple("N51", QStringLiteral("到期报警设置"), "TForm_txcsb", "q_txcsb", {QStringLiteral("select * from 提醒功能初始表")})}};

    menus << MenuDef{
        .caption = QStringLiteral("【上游运输单】"),
        .items = {simple("N24", QStringLiteral("集装箱运输单录入"), "TForm_container_ysd", "q_container_ysd", containerOrders,
                {customers(eh23)}),
         simple("N38", QStringLiteral("集装箱回单返回"), "TForm_container_ysd_fh", "q_container_ysd",
                containerWhere("where 回单返回='否'"), {customers(eh3)}),
         simple("N55", QStringLiteral("集装箱运费收款管理"), "TForm_container_ysd_sk", "q_container_ysd",
                containerWhere("where 帐款结清='否'"), {customers(eh3)}),
         simple("N53", QStringLiteral("普通货物运输单录入"), "TForm_freight_ysd", "q_freight_ysd",
                {QStringLiteral("select * from 普通货物运输单"), QStringLiteral("order by 发货日期,运输单号")}),
         simple("N19", QStringLiteral("普通货物回单返回"), "TForm_freight_ysd_fh", "q_freight_ysd",
                goodsWhere("where 回单返回='否'"), {customers(eh3)}),
         simple("N43", QStringLiteral("普通货物运费收款管理"), "TForm_freight_ysd_sk", "q_freight_ysd",
                goodsWhere("where 帐款结清='否'"), {customers(eh3)})}};

    const L dispatch = containerWhere("where 执行完结='否'", "order by 运输期限从,调度单编号");
    menus << MenuDef{
        .caption = QStringLiteral("【下游运输调度】"),
        .items = {simple("N45", QStringLiteral("集装箱调度单录入"), "TForm_container_ddb", "q_container_ysd", dispatch,
                {carriers("q_transportinfo")}),
         simple("N36", QStringLiteral("集装箱调度单执行完结"), "TForm_container_ddb_zxwj", "q_container_ysd", dispatch,
                {carriers("q_transportinfo")}),
         simple("N34", QStringLiteral("集装箱调度单付款管理"), "TForm_container_ddb_fk", "q_container_ysd",
                containerWhere("where (下游帐款结清='否')and(车牌号<>'')", "order by 运输期限从"), {carriers("q_search")}),
         simple("N46", QStringLiteral("普通货物调度单录入"), "TForm_freight_ddb", "q_freight_ddb", goodsDispatch),
         simple("N40", QStringLiteral("普通货物调度单执行完结"), "TForm_freight_ddb_zxwj", "q_freight_ddb", goodsDispatch,
                {carriers("q_search")}),
         simple("N37", QStringLiteral("普通货物调度单付款管理"), "TForm_freight_ddb_fk", "q_freight_ddb",
                {QStringLiteral("select * from 普通货物调度单"), QStringLiteral("where 帐款结清='否'"), QStringLiteral("order by 发货日期")},
                {carriers("q_search")})}};

    MenuItem cash = simple("N47", QStringLiteral("现金日记帐"), "TForm_xjrjz", "q_xjrjz", {});
    cash.setup[0].build = other::journalLines;
    menus << MenuDef{.caption = QStringLiteral("［其它业务］"),
                     .items = {simple("N56", QStringLiteral("车辆换油明细表"), "TForm_hyjlb", "q_hyjlb",
                             {QStringLiteral("select * from 换油记录表"), QStringLiteral("order by 换油时间")}),
                      simple("N57", QStringLiteral("车辆维修明细表"), "TForm_wxjlb", "q_wxjlb",
                             {QStringLiteral("select * from 车辆维修记录表"), QStringLiteral("order by 维修时间")}),
                      simple("N58", QStringLiteral("车辆事故明细表"), "TForm_sgjlb", "q_sgjlb",
                             {QStringLiteral("select * from 事故登记表"), QStringLiteral("order by 事故时间")}),
                      cash}};

    const MenuItem sep = special(MenuItem::Separator);
    menus << MenuDef{
        .caption = QStringLiteral("【综合查询】"),
        .items = {statistics("N23", QStringLiteral("集装箱收入统计汇总表"), "TForm_sts_cont_sum"),
         statistics("N35", QStringLiteral("集装箱收入汇总(按上游客户)"), "TForm_sts_cont_guest", "DBComboBoxEh1"),
         statistics("N59", QStringLiteral("集装箱收入汇总(按月份)"), "TForm_sts_cont_yue", "DBComboBoxEh2"),
         statistics("N62", QStringLiteral("集装箱收入汇总(按承运单位)"), "TForm_sts_cont_trans", "DBComboBoxEh1"),
         statistics("N60", QStringLiteral("集装箱收入汇总(按承运车辆)"), "TForm_sts_cont_car", "DBComboBoxEh1"),
         sep,
         statistics("N68", QStringLiteral("集装箱下游运费统计汇总表"), "TForm_sts_cont_sum1"),
         statistics("N71", QStringLiteral("集装箱下游运费汇总(按承运单位)"), "TForm_sts_cont_trans1", "DBComboBoxEh1"),
         statistics("N72", QStringLiteral("集装箱下游运费汇总(按月份)"), "TForm_sts_cont_yue1", "DBComboBoxEh2"),
         statistics("N73", QStringLiteral("集装箱下游运费汇总(按承运车辆)"), "TForm_sts_cont_car1", "DBComboBoxEh1"),
         sep,
         statistics("N65", QStringLiteral("普通货物收入汇总(按上游客户)"), "TForm_sts_freight_guest", "DBComboBoxEh1"),
         statistics("N66", QStringLiteral("普通货物收入汇总(按月份)"), "TForm_sts_freight_yue", "DBComboBoxEh2"),
         statistics("N41", QStringLiteral("普通货物收入汇总(按货物名称)"), "TForm_sts_freight_wood", "DBComboBoxEh1"),
         sep,
         statistics("N77", QStringLiteral("普通货物下游运费汇总(按月份)"), "TForm_sts_freight_yue1", "DBComboBoxEh2"),
         statistics("N76", QStringLiteral("普通货物下游运费汇总(按承运单位)"), "TForm_sts_freight_trans1", "DBComboBoxEh1"),
         statistics("N78", QStringLiteral("普通货物下游运费汇总(按承运车辆)"), "TForm_sts_freight_car1", "DBComboBoxEh1"),
         sep,
         window("N80", QStringLiteral("客户对账单"), "TForm_account_guest"),
         window("N81", QStringLiteral("应收账款账龄"), "TForm_aging_guest"),
         window("N82", QStringLiteral("承运单位对账单"), "TForm_account_trans"),
         window("N83", QStringLiteral("应付账款账龄"), "TForm_aging_trans"),
         window("N84", QStringLiteral("运输单利润"), "TForm_profit"),
         sep,
         special(MenuItem::Nothing, "N63", QStringLiteral("业务综合汇总表"))}};

    menus << MenuDef{.caption = QStringLiteral("【帮助】"),
                     .items = {special(MenuItem::Help, "N27", QStringLiteral("帮助系统")),
                      window("N32", QStringLiteral("关于......"), "Tform_About")}};
    return menus;
}

} // namespace

const QList<MenuDef> &menuTable()
{
    static const QList<MenuDef> menus = build();
    return menus;
}

const MenuItem *menuItem(const QString &name)
{
    for (const auto &menu : menuTable())
        for (const auto &item : menu.items)
            if (!name.isEmpty() && item.name == name)
                return &item;
    return nullptr;
}

const QList<ToolButtonDef> &toolButtons()
{
    static const QList<ToolButtonDef> buttons = {
        {.caption = QStringLiteral("承运车辆"), .item = QStringLiteral("N48"), .glyph = QChar(0x8F66), .color = 0x2f6fb0, .icons = {QStringLiteral("car")}},   // 车
        {.caption = QStringLiteral("上游客户"), .item = QStringLiteral("N12"), .glyph = QChar(0x5BA2), .color = 0x3a8a4a,
         .icons = {QStringLiteral("kuser"), QStringLiteral("system-users")}},   // 客
        {.caption = QStringLiteral("货物资料"), .item = QStringLiteral("N11"), .glyph = QChar(0x8D27), .color = 0xb07a2f,
         .icons = {QStringLiteral("package-x-generic"), QStringLiteral("package")}},   // 货
        {.caption = QStringLiteral("现金日记帐"), .item = QStringLiteral("N47"), .glyph = QChar(0x5E10), .color = 0x7a4ab0,
         .icons = {QStringLiteral("kmymoney"), QStringLiteral("accessories-calculator")}},   // 帐
        {.caption = QStringLiteral("车辆维修"), .item = QStringLiteral("N57"), .glyph = QChar(0x4FEE), .color = 0x4a7a8a,
         .icons = {QStringLiteral("applications-utilities"), QStringLiteral("tools")}},   // 修
        {.caption = QStringLiteral("到期报警"), .item = QStringLiteral("N52"), .glyph = QChar(0x8B66), .color = 0xc03030,
         .icons = {QStringLiteral("kalarm"), QStringLiteral("appointment-reminder")}},   // 警
        {.caption = QStringLiteral("退出"), .item = QStringLiteral("N9"), .glyph = QChar(0x9000), .color = 0x606060, .icons = {QStringLiteral("application-exit")}},   // 退
    };
    return buttons;
}

} // namespace app
