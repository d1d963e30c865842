// The main window: start-up, menu table and its handlers, banner, status bar.
#include "app/application.h"
#include "app/enter.h"
#include "app/main.h"
#include "app/menutable.h"
#include "other/xjrjz.h"
#include "masterdata/guestinfo.h"
#include "data/session.h"
#include "db/dates.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QComboBox>
#include <QFile>
#include <QRandomGenerator>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// A stand-in for a business window: the pick lists a handler fills, and a
// record of what the window saw while it was open.
class FakeWindow : public QDialog {
    Q_OBJECT
public:
    explicit FakeWindow(QWidget *owner) : QDialog(owner)
    {
        for (const char *name : {"DBComboBoxEh1", "DBComboBoxEh2", "DBComboBoxEh3"}) {
            auto *c = new QComboBox(this);
            c->setObjectName(QString::fromLatin1(name));
            c->addItem(QStringLiteral("left over"));
        }
    }
    QStringList items(const char *combo) const
    {
        QStringList l;
        const auto *c = findChild<QComboBox *>(QString::fromLatin1(combo));
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    }
};

void login(TForm_main &w, const QString &name)
{
    velorin::operator_name = name;
    velorin::login_password.clear();
    velorin::startup_done = true;
    w.setStatusPanelText(0, QStringLiteral("操作员：") + name);
}

} // namespace

class TstSpine : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cashJournalPeriod_data();
    void cashJournalPeriod();
    void cashJournalPeriodSelectsTheWholeMonth();
    void bannerWrap_data();
    void bannerWrap();
    void bannerScrollsOnTheWindow();
    void menuItems_data();
    void menuItems();
    void menuSeparators();
    void toolBar();
    void handlerPreparesQueries_data();
    void handlerPreparesQueries();
    void unregisteredAndInertItemsDoNothing();
    void failingSqlShowsErrorAndNoWindow();
    void helpAndAbout();
    void companyWindowRefreshesBanner();
    void restoreReopensFromDataFolder();
    void startupReadsCompanyRecordAndLogsIn();
    void autoReminder_data();
    void autoReminder();
    void startupTellsOfDamageAndReadOnly_data();
    void startupTellsOfDamageAndReadOnly();
    void cancellingFirstLoginEndsProgram_data();
    void cancellingFirstLoginEndsProgram();
    void startupWithoutDatabaseEndsProgram_data();
    void startupWithoutDatabaseEndsProgram();
    void quitClosesConnection();
};

void TstSpine::init()
{
    velorin::operator_name.clear();
    velorin::operator_ime.clear();
    velorin::login_password.clear();
    velorin::startup_done = false;
    velorin::accounting_date = {};
}

void TstSpine::cashJournalPeriod_data()
{
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    const auto at = [](int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(15, 30)); };
    QTest::newRow("February 2023") << at(2023, 2, 14) << "2023-2-1" << "2023-2-28";
    QTest::newRow("February 2024, leap") << at(2024, 2, 29) << "2024-2-1" << "2024-2-29";
    QTest::newRow("February 1900, not leap") << at(1900, 2, 1) << "1900-2-1" << "1900-2-28";
    QTest::newRow("February 2000, leap") << at(2000, 2, 10) << "2000-2-1" << "2000-2-29";
    QTest::newRow("November") << at(2024, 11, 30) << "2024-11-1" << "2024-11-30";
    QTest::newRow("December") << at(2023, 12, 1) << "2023-12-1" << "2023-12-31";
    const QDate today = QDate::currentDate();
    QTest::newRow("no date: this month") << QDateTime() << QStringLiteral("%1-%2-1").arg(today.year()).arg(today.month())
                                         << QStringLiteral("%1-%2-%3").arg(today.year()).arg(today.month()).arg(today.daysInMonth());
}

void TstSpine::cashJournalPeriod()
{
    QFETCH(QDateTime, date);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QCOMPARE(other::cashJournalPeriod(date),
             QStringLiteral("(日期 between cdate('") + first + QStringLiteral("') and cdate('") + last + QStringLiteral("'))"));
}

void TstSpine::cashJournalPeriodSelectsTheWholeMonth()
{
    TestDb t;
    for (const char *day : {"2024-01-31", "2024-02-01", "2024-02-15", "2024-02-29", "2024-03-01"})
        t.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要) values ('%1 00:00:00', '%1')").arg(QString::fromLatin1(day)));
    const QString where = other::cashJournalPeriod(QDateTime(QDate(2024, 2, 10), QTime(9, 0)));
    QCOMPARE(t.scalar(QStringLiteral("select group_concat(摘要, ' ') from (select 摘要 from 现金日记帐 where ") + where +
                      QStringLiteral(" order by 日期)")),
             QStringLiteral("2024-02-01 2024-02-15 2024-02-29"));
}

void TstSpine::bannerWrap_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("next");
    QTest::newRow("visible: one pixel left") << 40 << 120 << 600 << 39;
    QTest::newRow("entering from the right") << 600 << 120 << 600 << 599;
    QTest::newRow("half out on the left") << -60 << 120 << 600 << -61;
    QTest::newRow("last pixel still visible") << -119 << 120 << 600 << -120;
    QTest::newRow("completely out: wraps") << -120 << 120 << 600 << 600;
    QTest::newRow("text shortened while far out") << -150 << 80 << 600 << 600;
}

void TstSpine::bannerWrap()
{
    QFETCH(int, left);
    QFETCH(int, width);
    QFETCH(int, panel);
    QFETCH(int, next);
    QCOMPARE(app::bannerNextLeft(left, width, panel), next);
}

void TstSpine::bannerScrollsOnTheWindow()
{
    TestDb t;
    TForm_main w;
    ModalDriver driver([](QDialog *d) {   // showing the window runs start-up: log in as the administrator
        static_cast<TForm_Enter *>(d)->DBLookupComboBox1->setCurrentIndex(0);
        static_cast<TForm_Enter *>(d)->bitbtn_ok->click();
    });
    QCOMPARE(w.Label1->text(), QStringLiteral("好人一生平安"));
    w.resize(1000, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(driver.shown, QStringList({QStringLiteral("TForm_Enter")}));
    QCOMPARE(w.Label1->text(), QString());   // 动态文字 of a fresh company record
    w.Label1->setText(QStringLiteral("好人一生平安"));
    w.Label1->adjustSize();
    QCOMPARE(w.Timer1->interval(), 60);
    QVERIFY(w.Timer1->isActive());
    QVERIFY(w.Label1->font().bold());
    QCOMPARE(w.Label1->font().pixelSize(), 15);
    const int y = w.Label1->y();
    w.Label1->move(-w.Label1->width() + 1, y);
    w.Timer1Timer();
    QCOMPARE(w.Label1->x(), -w.Label1->width());
    w.Timer1Timer();
    QCOMPARE(w.Label1->x(), w.Panel_banner->width());
    QCOMPARE(w.Label1->y(), y);
    QVERIFY(w.Panel_banner->width() > 100);
    // The timer moves it by itself.
    QTRY_VERIFY(w.Label1->x() < w.Panel_banner->width() - 2);
    w.close();
}

void TstSpine::menuItems_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const auto rows = [](const char *menu, std::initializer_list<std::pair<const char *, const char *>> items) {
        for (const auto &[name, caption] : items)
            QTest::newRow(name) << QString::fromUtf8(menu) << QString::fromLatin1(name) << QString::fromUtf8(caption);
    };
    rows("【系统维护】", {{"N2", "操作员设置"}, {"N3", "修改操作员口令"}, {"N4", "更换操作员"}, {"N44", "数据初始化"},
                         {"N16", "数据备份"}, {"N7", "数据恢复"}, {"N9", "退出系统"}});
    rows("【基本资料】", {{"N12", "上游客户设置"}, {"N33", "收货单位设置"}, {"N13", "下游承运商设置"}, {"N48", "承运车辆设置"},
                         {"N14", "公路里程设置"}, {"N11", "货物信息设置"}, {"N18", "使用单位信息"}, {"N52", "到期报警"},
                         {"N51", "到期报警设置"}});
    rows("【上游运输单】", {{"N24", "集装箱运输单录入"}, {"N38", "集装箱回单返回"}, {"N55", "集装箱运费收款管理"},
                           {"N53", "普通货物运输单录入"}, {"N19", "普通货物回单返回"}, {"N43", "普通货物运费收款管理"}});
    rows("【下游运输调度】", {{"N45", "集装箱调度单录入"}, {"N36", "集装箱调度单执行完结"}, {"N34", "集装箱调度单付款管理"},
                             {"N46", "普通货物调度单录入"}, {"N40", "普通货物调度单执行完结"}, {"N37", "普通货物调度单付款管理"}});
    rows("［其它业务］", {{"N56", "车辆换油明细表"}, {"N57", "车辆维修明细表"}, {"N58", "车辆事故明细表"}, {"N47", "现金日记帐"}});
    rows("【综合查询】", {{"N23", "集装箱收入统计汇总表"}, {"N35", "集装箱收入汇总(按上游客户)"}, {"N59", "集装箱收入汇总(按月份)"},
                         {"N62", "集装箱收入汇总(按承运单位)"}, {"N60", "集装箱收入汇总(按承运车辆)"},
                         {"N68", "集装箱下游运费统计汇总表"}, {"N71", "集装箱下游运费汇总(按承运单位)"},
                         {"N72", "集装箱下游运费汇总(按月份)"}, {"N73", "集装箱下游运费汇总(按承运车辆)"},
                         {"N65", "普通货物收入汇总(按上游客户)"}, {"N66", "普通货物收入汇总(按月份)"},
                         {"N41", "普通货物收入汇总(按货物名称)"}, {"N77", "普通货物下游运费汇总(按月份)"},
                         {"N76", "普通货物下游运费汇总(按承运单位)"}, {"N78", "普通货物下游运费汇总(按承运车辆)"},
                         {"N63", "业务综合汇总表"}});
    rows("【帮助】", {{"N27", "帮助系统"}, {"N32", "关于......"}});
}

void TstSpine::menuItems()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TestDb t;
    TForm_main w;
    QAction *a = w.menuAction(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), caption);
    QVERIFY(a->isVisible() && a->isEnabled());
    const auto owners = a->associatedObjects();
    QCOMPARE(owners.size(), 1);
    const auto *m = qobject_cast<const QMenu *>(owners.first());
    QVERIFY(m);
    QCOMPARE(m->title(), menu);
    // Exactly one action carries the name.
    QCOMPARE(w.findChildren<QAction *>(name).size(), 1);
}

void TstSpine::menuSeparators()
{
    TestDb t;
    TForm_main w;
    QStringList titles;
    QHash<QString, QStringList> layout;   // per menu: names, "-" visible separator, "~" hidden one
    for (QAction *top : w.menuBar()->actions()) {
        titles << top->text();
        for (QAction *a : top->menu()->actions())
            layout[top->text()] << (a->isSeparator() ? (a->isVisible() ? QStringLiteral("-") : QStringLiteral("~")) : a->objectName());
    }
    QCOMPARE(titles, QStringList({QStringLiteral("【系统维护】"), QStringLiteral("【基本资料】"), QStringLiteral("【上游运输单】"),
                                  QStringLiteral("【下游运输调度】"), QStringLiteral("［其它业务］"), QStringLiteral("【综合查询】"),
                                  QStringLiteral("【帮助】")}));
    QCOMPARE(layout.value(QStringLiteral("【系统维护】")).join(' '), QStringLiteral("N2 N3 N4 N44 N16 N7 ~ N9"));
    QCOMPARE(layout.value(QStringLiteral("【综合查询】")).join(' '),
             QStringLiteral("N23 N35 N59 N62 N60 - N68 N71 N72 N73 - N65 N66 N41 - N77 N76 N78 - N80 N81 N82 N83 N84 - N63"));
    QCOMPARE(layout.value(QStringLiteral("［其它业务］")).join(' '), QStringLiteral("N56 N57 N58 N47"));
}

void TstSpine::toolBar()
{
    TestDb t;
    TForm_main w;
    QStringList captions;
    const auto buttons = w.findChildren<QToolButton *>(QRegularExpression(QStringLiteral("^SpeedButton\\d$")));
    QList<QToolButton *> ordered(buttons.begin(), buttons.end());
    QLayout *row = ordered.first()->parentWidget()->layout();   // left to right as laid out
    std::sort(ordered.begin(), ordered.end(), [row](auto *a, auto *b) { return row->indexOf(a) < row->indexOf(b); });
    QCOMPARE(ordered.size(), 7);
    for (auto *b : ordered) {
        captions << b->text();
        // Room for the icon and a whole line of the caption, tops of 上 and 货 included.
        QVERIFY(b->width() >= 65);
        QCOMPARE(b->height(), b->sizeHint().height());
        QVERIFY(b->height() >= b->iconSize().height() + b->fontMetrics().lineSpacing());
        QVERIFY(b->parentWidget()->height() >= b->height());
        QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!b->icon().isNull());
    }
    QCOMPARE(captions, QStringList({QStringLiteral("承运车辆"), QStringLiteral("上游客户"), QStringLiteral("货物资料"),
                                    QStringLiteral("现金日记帐"), QStringLiteral("车辆维修"), QStringLiteral("到期报警"),
                                    QStringLiteral("退出")}));
    // Each button runs its menu item: "上游客户" opens the customer window.
    ScopedWindow customers(QStringLiteral("TForm_guestinfo"), [](QWidget *o) { return new FakeWindow(o); });
    ModalDriver driver;
    ordered[1]->click();
    QCOMPARE(driver.shown, QStringList({QStringLiteral("FakeWindow")}));
    ordered[6]->click();
    QVERIFY(w.isEnded());
    QVERIFY(!t.dm()->ADO_system->isOpen());
}


void TstSpine::handlerPreparesQueries_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("closedAfter");
    QTest::addColumn<QString>("pickQuery");
    QTest::addColumn<QStringList>("filledCombos");
    QTest::addColumn<QStringList>("expectedItems");

    const QStringList customers = {QStringLiteral("东风汽车"), QStringLiteral("武汉钢铁")};
    // In pinyin order (the collator reads 长 as zhang).
    const QStringList carriers = {QStringLiteral("顺达运输"), QStringLiteral("长江车队")};
    const QStringList none;
    const auto L = [](std::initializer_list<const char *> l) {
        QStringList r;
        for (const char *s : l)
            r << QString::fromUtf8(s);
        return r;
    };
    QTest::newRow("N12 customers") << "N12" << "TForm_guestinfo" << "q_guestinfo"
                                   << L({"select * from 上游客户", "order by 客户名称"}) << true << "" << none << none;
    QTest::newRow("N33 consignees, two pick lists") << "N33" << "TForm_deliveryinfo" << "q_deliveryinfo"
                                                    << L({"select * from 收货单位", "order by 单位名称"}) << true << "q_guestinfo"
                                                    << L({"DBComboBoxEh2", "DBComboBoxEh3"}) << customers;
    QTest::newRow("N13 carriers") << "N13" << "TForm_transportinfo" << "q_transportinfo"
                                  << L({"select * from 下游运输商", "order by 单位名称"}) << true << "" << none << none;
    QTest::newRow("N48 vehicles") << "N48" << "TForm_carinfo" << "q_carinfo" << L({"select * from 承运车辆", "order by 车牌号"})
                                  << true << "" << none << none;
    QTest::newRow("N14 routes") << "N14" << "TForm_yslcinfo" << "q_yslcinfo" << L({"select * from 公路里程", "order by 运输动态"})
                                << true << "" << none << none;
    QTest::newRow("N11 goods, two pick lists") << "N11" << "TForm_woodinfo" << "q_woodinfo"
                                               << L({"select * from 货物信息", "order by 客户名称,货物名称"}) << true << "q_guestinfo"
                                               << L({"DBComboBoxEh2", "DBComboBoxEh3"}) << customers;
    QTest::newRow("N3 own password, name quoted") << "N3" << "TForm_password" << "q_qxb"
                                                  << L({"select * from 权限表", "where 姓名='O''Brien'", "order by 姓名"}) << true
                                                  << "" << none << none;
    QTest::newRow("N11 goods, two pick lists") << "N11" << "TForm_woodinfo" << "q_woodinfo"
                                              << L({"select * from 货物信息", "order by 客户名称,货物名称"}) << true
                                              << "q_guestinfo" << L({"DBComboBoxEh2", "DBComboBoxEh3"}) << customers;
    QTest::newRow("N51 reminder definitions") << "N51" << "TForm_txcsb" << "q_txcsb" << L({"select * from 提醒功能初始表"})
                                              << true << "" << none << none;
    QTest::newRow("N40 goods completion, carriers") << "N40" << "TForm_freight_ddb_zxwj" << "q_freight_ddb"
                                          << L({"select * from 普通货物调度单", "where 执行完结='否'", "order by 发货日期,调度单号"})
                                          << true << "q_search" << L({"DBComboBoxEh3"}) << carriers;
    QTest::newRow("N24 container orders") << "N24" << "TForm_container_ysd" << "q_container_ysd"
                                          << L({"select * from 集装箱运输单", "order by 运输期限从,运输单号"}) << true
                                          << "q_guestinfo" << L({"DBComboBoxEh2", "DBComboBoxEh3"}) << customers;
    QTest::newRow("N38 receipts") << "N38" << "TForm_container_ysd_fh" << "q_container_ysd"
                                  << L({"select * from 集装箱运输单", "where 回单返回='否'", "order by 运输期限从,运输单号"}) << true
                                  << "q_guestinfo" << L({"DBComboBoxEh3"}) << customers;
    QTest::newRow("N45 dispatch, carriers") << "N45" << "TForm_container_ddb" << "q_container_ysd"
                                            << L({"select * from 集装箱运输单", "where 执行完结='否'", "order by 运输期限从,调度单编号"})
                                            << true << "q_transportinfo" << L({"DBComboBoxEh3"}) << carriers;
    QTest::newRow("N34 payment, carriers by q_search") << "N34" << "TForm_container_ddb_fk" << "q_container_ysd"
                                                       << L({"select * from 集装箱运输单", "where (下游帐款结清='否')and(车牌号<>'')", "order by 运输期限从"})
                                                       << true << "q_search" << L({"DBComboBoxEh3"}) << carriers;
    QTest::newRow("N37 goods payment") << "N37" << "TForm_freight_ddb_fk" << "q_freight_ddb"
                                       << L({"select * from 普通货物调度单", "where 帐款结清='否'", "order by 发货日期"}) << true
                                       << "q_search" << L({"DBComboBoxEh3"}) << carriers;
    QTest::newRow("N47 cash journal of the accounting month") << "N47" << "TForm_xjrjz" << "q_xjrjz"
                                                             << L({"select * from 现金日记帐",
                                                                   "where (日期 between cdate('2024-2-1') and cdate('2024-2-29'))",
                                                                   "order by 日期,编号"})
                                                             << true << "" << none << none;
    QTest::newRow("N52 alarm list") << "N52" << "TForm_txgn" << "q_tongyong" << L({"select * from 通用", "order by texta"}) << false
                                    << "" << none << none;
    QTest::newRow("N35 statistics with customers") << "N35" << "TForm_sts_cont_guest" << "q_tongyong"
                                                   << L({"select * from ", "通用"}) << true << "q_search"
                                                   << L({"DBComboBoxEh1"}) << customers;
    QTest::newRow("N72 statistics, customers into the second list") << "N72" << "TForm_sts_cont_yue1" << "q_tongyong"
                                                                    << L({"select * from ", "通用"}) << true << "q_search"
                                                                    << L({"DBComboBoxEh2"}) << customers;
    QTest::newRow("N68 statistics without list") << "N68" << "TForm_sts_cont_sum1" << "q_tongyong" << L({"select * from ", "通用"})
                                                 << true << "" << none << none;
}

void TstSpine::handlerPreparesQueries()
{
    QFETCH(QString, item);
    QFETCH(QString, cls);
    QFETCH(QString, query);
    QFETCH(QStringList, lines);
    QFETCH(bool, closedAfter);
    QFETCH(QString, pickQuery);
    QFETCH(QStringList, filledCombos);
    QFETCH(QStringList, expectedItems);

    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('武汉钢铁'), ('东风汽车')"));
    t.exec(QStringLiteral("insert into 下游运输商 (单位名称) values ('顺达运输'), ('长江车队')"));
    t.exec(QStringLiteral("insert into 通用 (texta) values ('stale result')"));
    TForm_main w;
    login(w, QStringLiteral("O'Brien"));
    velorin::accounting_date = QDateTime(QDate(2024, 2, 10), QTime(8, 0));
    ScopedWindow fake(cls, [](QWidget *o) { return new FakeWindow(o); });
    db::Query *q = t.dm()->query(query);

    bool sawOpen = false;
    int rowsSeen = -1;
    QStringList sqlSeen;
    QHash<QString, QStringList> combos;
    bool pickClosed = true;
    ModalDriver driver([&](QDialog *d) {
        QCOMPARE(d->parentWidget(), &w);
        sawOpen = q->isActive();
        sqlSeen = q->sql();
        rowsSeen = q->isActive() ? q->recordCount() : -1;
        for (const char *c : {"DBComboBoxEh1", "DBComboBoxEh2", "DBComboBoxEh3"})
            combos[QString::fromLatin1(c)] = static_cast<FakeWindow *>(d)->items(c);
        if (!pickQuery.isEmpty() && pickQuery != query)
            pickClosed = !t.dm()->query(pickQuery)->isActive();
    });
    w.menuAction(item)->trigger();

    QCOMPARE(driver.shown, QStringList({QStringLiteral("FakeWindow")}));
    QVERIFY(sawOpen);
    QCOMPARE(sqlSeen, lines);
    if (query == QLatin1String("q_tongyong"))
        QCOMPARE(rowsSeen, 0);   // the scratch table was emptied first
    QCOMPARE(q->isActive(), !closedAfter);
    QVERIFY(pickClosed);
    for (const char *c : {"DBComboBoxEh1", "DBComboBoxEh2", "DBComboBoxEh3"}) {
        const QString name = QString::fromLatin1(c);
        QCOMPARE(combos.value(name), filledCombos.contains(name) ? expectedItems : QStringList{QStringLiteral("left over")});
    }
    // The window is gone once the handler returns.
    QVERIFY(w.findChildren<FakeWindow *>().isEmpty());
}

void TstSpine::unregisteredAndInertItemsDoNothing()
{
    TestDb t;
    TForm_main w;
    login(w, QStringLiteral("甲"));
    MessageScript messages;
    ModalDriver driver;
    app::WindowRegistry::remove(QStringLiteral("TForm_guestinfo"));
    w.menuAction(QStringLiteral("N12"))->trigger();
    QVERIFY(!t.dm()->q_guestinfo->isActive());
    {
        // "业务综合汇总表" does nothing even with statistics windows around.
        ScopedWindow any(QStringLiteral("TForm_sts_cont_sum"), [](QWidget *o) { return new FakeWindow(o); });
        t.exec(QStringLiteral("insert into 通用 (texta) values ('kept')"));
        w.menuAction(QStringLiteral("N63"))->trigger();
        QCOMPARE(t.scalar(QStringLiteral("select count(*) from 通用")), QStringLiteral("1"));
    }
    QVERIFY(driver.shown.isEmpty());
    QVERIFY(messages.seen().isEmpty());
    for (auto *q : t.dm()->queries())
        QVERIFY2(!q->isActive(), qPrintable(q->objectName()));
    QVERIFY(!w.isEnded());
}

void TstSpine::failingSqlShowsErrorAndNoWindow()
{
    TestDb t;
    TForm_main w;
    login(w, QStringLiteral("甲"));
    t.exec(QStringLiteral("drop table 公路里程"));
    ScopedWindow fake(QStringLiteral("TForm_yslcinfo"), [](QWidget *o) { return new FakeWindow(o); });
    MessageScript messages;
    ModalDriver driver;
    w.menuAction(QStringLiteral("N14"))->trigger();
    QVERIFY(driver.shown.isEmpty());
    QCOMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen().first().icon, msg::Icon::Error);
    QVERIFY(w.findChildren<FakeWindow *>().isEmpty());
}

void TstSpine::helpAndAbout()
{
    TestDb t;
    TForm_main w;
    MessageScript messages;
    w.menuAction(QStringLiteral("N27"))->trigger();
    QCOMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen()[0].caption, QStringLiteral("提示"));
    QCOMPARE(messages.seen()[0].text, QStringLiteral("该系统操作非常简单，在窗口中已经有提示！"));
    QCOMPARE(messages.seen()[0].icon, msg::Icon::Exclamation);
    QCOMPARE(messages.seen()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    QStringList texts;
    QString caption;
    bool closedByButton = false;
    ModalDriver driver([&](QDialog *d) {
        caption = d->windowTitle();
        for (auto *l : d->findChildren<QLabel *>())
            texts << l->text();
        auto *back = d->findChild<QPushButton *>(QStringLiteral("bitbtn_close"));
        QCOMPARE(back->text(), QStringLiteral("返回"));
        back->click();
        closedByButton = !d->isVisible();
    });
    w.menuAction(QStringLiteral("N32"))->trigger();
    QCOMPARE(driver.shown, QStringList({QStringLiteral("Tform_About")}));
    QCOMPARE(caption, QStringLiteral("关于本系统"));
    QVERIFY(texts.contains(QStringLiteral("Velorin(V3.0)")));
    QVERIFY(texts.contains(QStringLiteral("更新时间  2005年8月")));
    QVERIFY(closedByButton);
}

void TstSpine::companyWindowRefreshesBanner()
{
    TestDb t;
    TForm_main w;
    login(w, QStringLiteral("甲"));
    w.setWindowTitle(QStringLiteral("旧标题"));
    ScopedWindow fake(QStringLiteral("TForm_gsxx_edit"), [](QWidget *o) { return new FakeWindow(o); });
    ModalDriver driver([&](QDialog *) {
        auto *q = t.dm()->q_gsxx;
        QCOMPARE(q->sql(), QStringList({QStringLiteral("select * from 公司信息")}));
        q->field(QStringLiteral("动态文字")).setAsString(QStringLiteral("新的滚动文字"));
        q->field(QStringLiteral("系统标题")).setAsString(QStringLiteral("新标题"));
        q->post();
    });
    w.menuAction(QStringLiteral("N18"))->trigger();
    QCOMPARE(w.Label1->text(), QStringLiteral("新的滚动文字"));
    QCOMPARE(w.windowTitle(), QStringLiteral("旧标题"));   // the caption follows only at the next start
    QVERIFY(!t.dm()->q_gsxx->isActive());
}

void TstSpine::restoreReopensFromDataFolder()
{
    TestDb t;
    QTemporaryDir elsewhere;
    TForm_main w;
    login(w, QStringLiteral("甲"));
    ScopedWindow fake(QStringLiteral("TForm_restore"), [](QWidget *o) { return new FakeWindow(o); });
    bool openWhileShown = true;
    ModalDriver driver([&](QDialog *) {
        openWhileShown = t.dm()->ADO_system->isOpen();
        QDir::setCurrent(elsewhere.path());   // as a file dialog may leave it
    });
    w.menuAction(QStringLiteral("N7"))->trigger();
    QVERIFY(!openWhileShown);
    QCOMPARE(QDir(QDir::currentPath()).canonicalPath(), QDir(t.dir()).canonicalPath());
    QVERIFY(t.dm()->ADO_system->isOpen());
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 提醒功能初始表")), QStringLiteral("5"));
}

void TstSpine::startupReadsCompanyRecordAndLogsIn()
{
    TestDb t;
    t.exec(QStringLiteral("update 公司信息 set 系统标题='长江物流管理', 动态文字='祝您工作顺利', 核算时间='2024-02-10 00:00:00', 自动提醒=0"));
    t.exec(QStringLiteral("insert into 权限表 (姓名, 操作口令, 输入法) values ('张三', 'abc', '微软拼音')"));
    TForm_main w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Velorin"));
    QCOMPARE(w.font().family(), QStringLiteral("AR PL UMing CN"));
    QCOMPARE(w.font().pointSize(), 9);
    QVERIFY(!velorin::startup_done);
    bool startupDoneDuringLogin = true;
    QString captionDuringLogin;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        startupDoneDuringLogin = velorin::startup_done;
        captionDuringLogin = w.windowTitle();
        e->DBLookupComboBox1->setCurrentText(QStringLiteral("张三"));
        QTest::keyClicks(e->Edit1, QStringLiteral("abc"));
        e->bitbtn_ok->click();
    });
    w.FormActivate();
    QCOMPARE(driver.shown, QStringList({QStringLiteral("TForm_Enter")}));
    QVERIFY(!startupDoneDuringLogin);
    QCOMPARE(captionDuringLogin, QStringLiteral("长江物流管理"));
    QCOMPARE(w.windowTitle(), QStringLiteral("长江物流管理"));
    QCOMPARE(w.Label1->text(), QStringLiteral("祝您工作顺利"));
    QCOMPARE(velorin::accounting_date.date(), QDate(2024, 2, 10));
    QVERIFY(velorin::startup_done);
    QCOMPARE(velorin::operator_name, QStringLiteral("张三"));
    QCOMPARE(velorin::operator_ime, QStringLiteral("微软拼音"));
    QCOMPARE(w.statusPanelText(0), QStringLiteral("操作员：张三"));
    QCOMPARE(w.statusPanelText(1), db::shortDate(QDate::currentDate()));
    QVERIFY(!t.dm()->q_qxb->isActive());
    QVERIFY(!t.dm()->q_gsxx->isActive());
    QVERIFY(t.dm()->ADO_system->isOpen());
    // Start-up runs once only.
    w.FormActivate();
    QCOMPARE(driver.shown.size(), 1);
}

void TstSpine::autoReminder_data()
{
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<int>("alarms");
    QTest::addColumn<bool>("built");
    QTest::addColumn<bool>("shown");
    QTest::newRow("switch off") << false << 2 << false << false;
    QTest::newRow("on, nothing due") << true << 0 << true << false;
    QTest::newRow("on, alarms due") << true << 2 << true << true;
}

void TstSpine::autoReminder()
{
    QFETCH(bool, switchOn);
    QFETCH(int, alarms);
    QFETCH(bool, built);
    QFETCH(bool, shown);
    TestDb t;
    t.exec(QStringLiteral("update 公司信息 set 自动提醒=%1").arg(switchOn ? 1 : 0));
    TForm_main w;
    int created = 0;
    ScopedWindow txgn(QStringLiteral("TForm_txgn"), [&](QWidget *o) {
        ++created;
        auto *d = new FakeWindow(o);
        auto *remind = new QPushButton(QStringLiteral("提醒"), d);
        remind->setObjectName(QStringLiteral("bitbtn_edit"));
        QObject::connect(remind, &QPushButton::clicked, d, [&t, alarms] {
            auto *q = t.dm()->q_tongyong;
            q->reopenWith({QStringLiteral("select * from "), QStringLiteral("通用")});
            for (int i = 0; i < alarms; ++i) {
                q->append();
                q->field(QStringLiteral("texta")).setAsString(QStringLiteral("鄂A%1").arg(i));
                q->post();
            }
        });
        return d;
    });
    ModalDriver driver([](QDialog *d) {
        if (auto *e = qobject_cast<TForm_Enter *>(d)) {
            e->DBLookupComboBox1->setCurrentIndex(0);   // 系统管理员, empty password
            e->bitbtn_ok->click();
        }
    });
    w.FormActivate();
    QCOMPARE(velorin::operator_name, QStringLiteral("系统管理员"));
    QCOMPARE(created, built ? 1 : 0);
    QStringList expected{QStringLiteral("TForm_Enter")};
    if (shown)
        expected << QStringLiteral("FakeWindow");
    QCOMPARE(driver.shown, expected);
    QVERIFY(!t.dm()->q_tongyong->isActive());
    QVERIFY(w.findChildren<FakeWindow *>().isEmpty());
}

void TstSpine::cancellingFirstLoginEndsProgram_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("终止") << false;
    QTest::newRow("Escape key") << true;
}

void TstSpine::cancellingFirstLoginEndsProgram()
{
    QFETCH(bool, escape);
    TestDb t;
    TForm_main w;
    ModalDriver driver([escape](QDialog *d) {
        if (escape)
            QTest::keyClick(d, Qt::Key_Escape);
        else
            static_cast<TForm_Enter *>(d)->bitbtn_cancel->click();
    });
    w.FormActivate();
    QVERIFY(w.isEnded());
    QCOMPARE(w.exitCode(), 0);
    QVERIFY(!velorin::startup_done);
    QVERIFY(velorin::operator_name.isEmpty());
    QVERIFY(!t.dm()->ADO_system->isOpen());
    QVERIFY(!t.dm()->q_qxb->isActive());
    QCOMPARE(w.statusPanelText(0), QString());
}

void TstSpine::startupWithoutDatabaseEndsProgram_data()
{
    QTest::addColumn<QByteArray>("content");   // empty: no file at all
    QTest::newRow("missing data.mdb") << QByteArray();
    QTest::newRow("not a database") << QByteArray("Standard Jet DB\0garbage garbage garbage", 40);
    QTest::newRow("empty SQLite file") << QByteArray("SQLite format 3\0", 16).leftJustified(4096, '\0');
}

void TstSpine::startupWithoutDatabaseEndsProgram()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    if (!content.isEmpty()) {
        QFile f(dir.filePath(QStringLiteral("data.mdb")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    MessageScript messages;
    ModalDriver driver;
    QTimer::singleShot(15000, qApp, &QCoreApplication::quit);   // never hang the suite
    const int rc = app::run();
    QDir::setCurrent(old);
    QVERIFY(rc != 0);
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY(messages.seen()[0].text.startsWith(QStringLiteral("系统数据库没有连接，请与软件公司联系！\n\n")));
    QVERIFY2(messages.seen()[0].text.contains(QStringLiteral("data.mdb")), qPrintable(messages.seen()[0].text));   // and why
    QCOMPARE(messages.seen()[0].icon, msg::Icon::None);
    QCOMPARE(messages.seen()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(driver.shown.isEmpty());   // no login
    QVERIFY(!velorin::startup_done);
}

void TstSpine::quitClosesConnection()
{
    TestDb t;
    TForm_main w;
    login(w, QStringLiteral("甲"));
    t.dm()->q_qxb->reopenWith({QStringLiteral("select * from 权限表 order by 姓名")});
    MessageScript messages;
    w.menuAction(QStringLiteral("N9"))->trigger();
    QVERIFY(messages.seen().isEmpty());   // no question before exit
    QVERIFY(w.isEnded());
    QVERIFY(!t.dm()->q_qxb->isActive());
    QVERIFY(!t.dm()->ADO_system->isOpen());
}

void TstSpine::startupTellsOfDamageAndReadOnly_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("sound") << "sound";
    QTest::newRow("damaged pages") << "damaged";
    QTest::newRow("read-only file system") << "read-only";
}

void TstSpine::startupTellsOfDamageAndReadOnly()
{
    QFETCH(QString, file);
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('武汉钢铁')"));
    ScratchMount disk(4096);
    QString path = t.file();
    if (file == QLatin1String("damaged")) {
        // Enough order rows for pages of their own, then random bytes over
        // some of them: the file still opens and logs in, its data is damaged.
        t.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                              "insert into 集装箱运输单 (上游客户, 运输单号, 备注) select '武汉钢铁', 'N' || i, "
                              "printf('%.200c', 'x') from n"));
        t.dm()->ADO_system->close();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QRandomGenerator rng(7);
        for (qint64 page = f.size() / 4096 / 2; page < f.size() / 4096 - 8; page += 9) {
            QByteArray junk(4096, Qt::Uninitialized);
            for (char &c : junk)
                c = char(rng.bounded(256));
            f.seek(page * 4096);
            f.write(junk);
        }
    } else if (file == QLatin1String("read-only")) {
        if (!disk.ok())
            QSKIP(qPrintable(disk.why()));
        t.dm()->ADO_system->close();
        path = disk.filePath(QStringLiteral("data.mdb"));
        QVERIFY(QFile::copy(t.file(), path));
        QVERIFY(disk.setReadOnly(true));
        QDir::setCurrent(disk.path());
    }
    MessageScript ms;
    TForm_main w;
    bool editedCustomers = true;
    ModalDriver driver([&](QDialog *d) {
        if (auto *e = qobject_cast<TForm_Enter *>(d)) {
            e->DBLookupComboBox1->setCurrentText(QStringLiteral("系统管理员"));
            e->bitbtn_ok->click();
        } else if (auto *list = qobject_cast<TForm_guestinfo *>(d)) {
            list->findChild<QPushButton *>(QStringLiteral("bitbtn_add"))->click();
            editedCustomers = list->editing();
            list->cancel();
        }
    });
    w.FormActivate();
    QVERIFY(velorin::startup_done);   // the program goes on in every case
    w.menuAction(QStringLiteral("N12"))->trigger();
    QCOMPARE(driver.shown, QStringList({QStringLiteral("TForm_Enter"), QStringLiteral("TForm_guestinfo")}));
    const QString native = QDir::toNativeSeparators(path);
    if (file == QLatin1String("sound")) {
        QCOMPARE(ms.texts(), QStringList());
        QVERIFY(editedCustomers);
    } else if (file == QLatin1String("damaged")) {
        QCOMPARE(ms.seen().size(), 1);
        QVERIFY2(ms.last().contains(native) && ms.last().contains(QStringLiteral("数据恢复")), qPrintable(ms.last()));
    } else {
        QCOMPARE(ms.seen().size(), 2);
        QVERIFY(ms.texts()[0].startsWith(QStringLiteral("数据库文件只读")));
        QVERIFY(ms.texts()[0].contains(native));
        QVERIFY(ms.texts()[1].contains(QStringLiteral("只读")));   // 增加 refused, nothing to type
        QVERIFY(!editedCustomers);
        w.close();
        QVERIFY(disk.setReadOnly(false));
    }
}

QTEST_MAIN(TstSpine)
#include "tst_spine.moc"
