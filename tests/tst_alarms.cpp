// Expiry alarms: the computation behind 提醒, the alarm list, its settings
// and editor, and the start-up list.
#include "app/enter.h"
#include "app/main.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "masterdata/txcsb.h"
#include "masterdata/txcsb_edit.h"
#include "masterdata/txgn.h"
#include "spine_driver.h"
#include <QCheckBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

QString day(int fromToday)
{
    return S("'") + db::storedDate(QDate::currentDate().addDays(fromToday)) + S("'");
}

// A vehicle: days from today to its four expiry dates (none: empty), its
// next service mileage and odometer (none: empty).
struct Vehicle {
    const char *plate;
    std::optional<int> road, inspection, insurance, tax;
    std::optional<int> nextService, odometer;
};

void addVehicle(const TestDb &t, const Vehicle &v)
{
    const auto d = [](std::optional<int> o) { return o ? day(*o) : S("null"); };
    const auto n = [](std::optional<int> o) { return o ? QString::number(*o) : S("null"); };
    t.exec(S("insert into 承运车辆 (车牌号, 养路费截止时间, 年审截止时间, 保险截止时间, 车船税截止时间, 下次二保里程, 公里数) "
             "values ('%1', %2, %3, %4, %5, %6, %7)")
               .arg(S(v.plate), d(v.road), d(v.inspection), d(v.insurance), d(v.tax), n(v.nextService), n(v.odometer)));
}

void setLeads(const TestDb &t, const QList<int> &leads)
{
    db::Query q(t.dm()->ADO_system, S("leads"));
    q.reopenWith({S("select * from 提醒功能初始表")});
    for (int i = 0; i < leads.size(); ++i, q.next()) {
        q.field(S("期限")).setAsInteger(leads[i]);
        q.post();
    }
}

// The alarm list's rows: plate, item, date (days from today) or mileage.
QStringList alarms()
{
    db::Query *q = Dm1->q_tongyong;
    QStringList rows;
    const QDate today = QDate::currentDate();
    for (int r = 0; r < q->recordCount(); ++r) {
        const auto v = [&](const char *f) { return q->displayText(r, q->fieldIndex(S(f))); };
        const QString date = v("datea");
        const QString when = date.isEmpty() ? v("numbera") : QString::number(today.daysTo(QDate::fromString(date, S("yyyy-M-d"))));
        rows << v("texta") + S("|") + v("textb") + S("|") + when;
    }
    return rows;
}

void remindIn(TForm_txgn &w)
{
    click(&w, "bitbtn_edit");
}

} // namespace

Q_DECLARE_METATYPE(Vehicle)

class TstAlarms : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("张三"); }
    void computation_data();
    void computation();
    void listServicesAndRepeat();
    void settingsEditor_data();
    void settingsEditor();
    void startUp_data();
    void startUp();
};

void TstAlarms::computation_data()
{
    QTest::addColumn<QList<int>>("leads");
    QTest::addColumn<QVector<Vehicle>>("vehicles");
    QTest::addColumn<QStringList>("expected");
    const QList<int> standard = {15, 30, 30, 30, 1000};
    QTest::newRow("lead 30: 30 days alarms, 31 not, last year still")
        << standard
        << QVector<Vehicle>{{"鄂A0001", {}, {}, 30, {}, {}, {}}, {"鄂A0002", {}, {}, 31, {}, {}, {}},
                            {"鄂A0003", {}, {}, -365, {}, {}, {}}}
        << QStringList{S("鄂A0001|保险|30"), S("鄂A0003|保险|-365")};
    QTest::newRow("nothing entered, nothing due") << standard << QVector<Vehicle>{{"鄂A0001", {}, {}, {}, {}, {}, {}}}
                                                  << QStringList();
    QTest::newRow("five alarms together in item order, by plate")
        << standard
        << QVector<Vehicle>{{"鄂B0002", 1, {}, {}, {}, {}, {}}, {"鄂A0001", 15, 30, 0, -1, 20000, 19000},
                            {"鄂A0000", 16, 31, 31, 31, 20000, 18999}}
        << QStringList{S("鄂A0001|养路费|15"), S("鄂A0001|年审|30"), S("鄂A0001|保险|0"), S("鄂A0001|车船税|-1"),
                       S("鄂A0001|二保|20000"), S("鄂B0002|养路费|1")};
    QTest::newRow("lead 0 alarms on the day and after") << QList<int>{0, 0, 0, 0, 0}
                                                        << QVector<Vehicle>{{"鄂A0001", 0, 1, -3, {}, 5000, 5000},
                                                                            {"鄂A0002", {}, {}, {}, {}, 5000, 4999}}
                                                        << QStringList{S("鄂A0001|养路费|0"), S("鄂A0001|保险|-3"),
                                                                       S("鄂A0001|二保|5000")};
    QTest::newRow("mileage needs a next service and an odometer")
        << standard << QVector<Vehicle>{{"鄂A0001", {}, {}, {}, {}, 0, 500}, {"鄂A0002", {}, {}, {}, {}, 2000, {}},
                                        {"鄂A0003", {}, {}, {}, {}, 2000, 1000}}
        << QStringList{S("鄂A0003|二保|2000")};
}

void TstAlarms::computation()
{
    QFETCH(QList<int>, leads);
    QFETCH(QVector<Vehicle>, vehicles);
    QFETCH(QStringList, expected);
    TestDb t;
    setLeads(t, leads);
    for (const Vehicle &v : vehicles)
        addVehicle(t, v);
    // Rows of an earlier result go.
    t.exec(S("insert into 通用 (texta) values ('旧结果')"));
    TForm_txgn w(nullptr);
    remindIn(w);
    QCOMPARE(alarms(), expected);
    QCOMPARE(Dm1->q_tongyong->sql(), QStringList({S("select * from "), S("通用")}));
    QVERIFY(!Dm1->q_carinfo->isActive() && !Dm1->q_txcsb->isActive());
    // The same again, not doubled.
    remindIn(w);
    QCOMPARE(alarms(), expected);
    QCOMPARE(t.scalar(S("select count(*) from 通用")).toInt(), expected.size());
}

void TstAlarms::listServicesAndRepeat()
{
    TestDb t;
    addVehicle(t, {"鄂A0001", 3, {}, {}, {}, {}, {}});
    TForm_main main;
    velorin::startup_done = true;
    MessageScript ms;
    int shown = 0;
    ModalDriver driver([&](QDialog *d) {
        if (shown++)
            return;
        QCOMPARE(QString::fromLatin1(d->metaObject()->className()), S("TForm_txgn"));
        QCOMPARE(d->windowTitle(), S("提醒功能清单"));
        // The list starts empty; a double click on the grid computes as 提醒 does.
        QCOMPARE(Dm1->q_tongyong->recordCount(), 0);
        auto *grid = d->findChild<QAbstractItemView *>(S("DBGridEh1"));
        emit grid->doubleClicked(QModelIndex());
        QCOMPARE(alarms(), QStringList{S("鄂A0001|养路费|3")});
        QCOMPARE(d->findChild<QCheckBox *>(S("cbDichromatic"))->text(), S("区分网格"));
        // A database error leaves the list as it was and is told.
        t.exec(S("create trigger refuse before insert on 通用 begin select raise(abort, '写不进去'); end"));
        click(d, "bitbtn_edit");
        QVERIFY2(ms.last().contains(S("写不进去")), qPrintable(ms.last()));
        QCOMPARE(alarms(), QStringList{S("鄂A0001|养路费|3")});
        QVERIFY(!Dm1->q_carinfo->isActive());
        click(d, "SpeedButton4");
    });
    main.menuAction(S("N52"))->trigger();
    QCOMPARE(shown, 1);
    QCOMPARE(t.scalar(S("select texta from 通用")), S("鄂A0001"));
}

void TstAlarms::settingsEditor_data()
{
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::newRow("changed") << "45" << S("存盘完毕！") << "45";
    QTest::newRow("zero is a lead") << "0" << S("存盘完毕！") << "0";
    QTest::newRow("empty") << "" << S("提前提醒单位必须大于零，请重新输入！") << "30";
    QTest::newRow("above the limit") << "5001" << S("提前提醒单位不能大于5000，请重新输入！") << "30";
}

void TstAlarms::settingsEditor()
{
    QFETCH(QString, lead);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    TestDb t;
    TForm_main main;
    velorin::startup_done = true;
    MessageScript ms;
    QStringList windows;
    ModalDriver driver([&](QDialog *d) {
        windows << QString::fromLatin1(d->metaObject()->className());
        if (auto *list = qobject_cast<TForm_txcsb *>(d)) {
            QCOMPARE(columnOf(Dm1->q_txcsb, "项目"), S("养路费,年审,保险,车船税,二保"));
            QCOMPARE(list->grid()->footerText(1), S("5"));
            Dm1->q_txcsb->next();   // 年审
            click(list, "bitbtn_edit");
            return;
        }
        auto *e = qobject_cast<TForm_txcsb_edit *>(d);
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), S("提醒功能初始表编辑 (txcsb)"));
        auto *add = e->findChild<QAbstractButton *>(S("bitbtn_add"));
        QVERIFY(add->isHidden() && !add->isEnabled());
        auto *item = e->findChild<QLineEdit *>(S("DBEdit1"));
        QVERIFY(item->isReadOnly());
        QCOMPARE(item->text(), S("年审"));
        put(e, "DBNumberEditEh1", lead);
        click(e, "bitbtn_save");
        QVERIFY(add->isHidden());
        click(e, "bitbtn_close");
    });
    main.menuAction(S("N51"))->trigger();
    QCOMPARE(windows, QStringList({S("TForm_txcsb"), S("TForm_txcsb_edit")}));
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(t.scalar(S("select 期限 from 提醒功能初始表 where 项目='年审'")), stored);
    if (message == S("存盘完毕！"))
        QCOMPARE(t.scalar(S("select 操作员 from 提醒功能初始表 where 项目='年审'")), S("张三"));
    QVERIFY(!Dm1->q_txcsb->isActive());
}

void TstAlarms::startUp_data()
{
    QTest::addColumn<bool>("due");
    QTest::newRow("alarms due: the list is shown") << true;
    QTest::newRow("nothing due: nothing shown") << false;
}

void TstAlarms::startUp()
{
    QFETCH(bool, due);
    TestDb t;
    t.exec(S("update 公司信息 set 自动提醒=1"));
    addVehicle(t, {"鄂A0001", due ? 2 : 200, {}, {}, {}, {}, {}});
    TForm_main main;
    QStringList rows;
    ModalDriver driver([&](QDialog *d) {
        if (auto *e = qobject_cast<TForm_Enter *>(d)) {
            e->DBLookupComboBox1->setCurrentIndex(0);
            e->bitbtn_ok->click();
            return;
        }
        rows = alarms();
    });
    main.FormActivate();
    QStringList expected{S("TForm_Enter")};
    if (due)
        expected << S("TForm_txgn");
    QCOMPARE(driver.shown, expected);
    QCOMPARE(rows, due ? QStringList{S("鄂A0001|养路费|2")} : QStringList());
    QVERIFY(!Dm1->q_tongyong->isActive());
}

QTEST_MAIN(TstAlarms)
#include "tst_alarms.moc"
