// The fifteen summaries, opened through the main menu as the program opens
// them and run on one small business: what each writes into 通用, its checks,
// the by-month calendar, the result list's services and the chart.
#include "app/main.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/text.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "grid/print.h"
#include "spine_driver.h"
#include "statistics/sts_cont_sum.h"
#include "statistics/summary.h"
#include "statistics/summarychart.h"
#include <QAbstractSeries>
#include <QChart>
#include <QCheckBox>
#include <QValueAxis>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QTest>

namespace {

using stats::SummaryWindow;
using Act = std::function<void(SummaryWindow *)>;

// Opens a statistics menu item with a main window and hands its window to act.
void withSummary(const char *item, const Act &act)
{
    TForm_main main;
    velorin::startup_done = true;
    int shown = 0;
    ModalDriver driver([&](QDialog *d) {
        if (shown++)
            return;
        auto *w = qobject_cast<SummaryWindow *>(d);
        QVERIFY2(w, item);
        act(w);
    });
    main.menuAction(QString::fromLatin1(item))->trigger();
    QCOMPARE(shown, 1);
    QVERIFY(!Dm1->q_tongyong->isActive());
}

// Customers O'Brien, 东风汽车, 武汉钢铁 (in list order); carriers 汉江物流,
// 长江运输 with one vehicle each. Orders of March 2024 around the period
// 2024-3-1 … 2024-3-15, one on 29 February, and some that only the month
// summaries count (carrier, plate or customer not registered).
void seed(const TestDb &t)
{
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁'), ('O''Brien'), ('东风汽车')"));
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('汉江物流')"));
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位) values ('鄂A1001', '长江运输'), ('鄂A2002', '汉江物流')"));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 型号规格, 数量, 应收运费, 实收运费, 承运单位, 车牌号, "
             "运输金额, 路桥费, 罚款, 应付运费, 实付运费) values "
             "('武汉钢铁', 'C1', '2024-03-01 00:00:00', '20', 1, ccur('1000'), ccur('1000'), '长江运输', '鄂A1001', "
             " ccur('800'), ccur('50'), null, ccur('750'), ccur('750')),"
             "('武汉钢铁', 'C2', '2024-03-15 23:59:59', '40', 2, ccur('3000'), ccur('1000'), '汉江物流', '鄂A2002', "
             " ccur('2400'), ccur('100'), ccur('20'), ccur('2280'), ccur('2000')),"
             "('O''Brien', 'C3', '2024-03-10 12:00:00', '40', 1, ccur('1500'), ccur('1600'), '长江运输', '鄂A1001', "
             " ccur('1200'), null, null, null, null),"
             "('东风汽车', 'C4', '2024-03-16 00:00:00', '20', 1, ccur('700'), null, null, null, null, null, null, null, null),"
             "('武汉钢铁', 'C5', '2024-02-29 10:00:00', '20', 1, ccur('500'), null, null, null, null, null, null, null, null),"
             "('东风汽车', 'C6', '2024-03-05 00:00:00', '20', 0, ccur('999'), null, null, null, null, null, null, null, null),"
             "('武汉钢铁', 'C7', '2024-03-05 08:00:00', '20', 1, ccur('400'), null, '外来车队', '鄂Z9999', ccur('300'), "
             " null, null, null, null)"));
    t.exec(S("insert into 普通货物运输单 (上游客户, 运输单号, 发货日期, 应收运费, 实收运费) values "
             "('武汉钢铁', 'G1', '2024-03-01 00:00:00', ccur('2000'), ccur('1500')),"
             "('O''Brien', 'G2', '2024-03-15 23:59:59', ccur('800'), ccur('900')),"
             "('东风汽车', 'G3', '2024-03-16 00:00:00', ccur('600'), null),"
             "('东风汽车', 'G4', '2024-03-05 00:00:00', ccur('0'), null),"
             "('武汉钢铁', 'G5', '2024-02-29 00:00:00', ccur('300'), null),"
             "('未登记客户', 'G6', '2024-03-03 00:00:00', ccur('450'), null)"));
    t.exec(S("insert into 普通货物运输单明细 (运输单号, 上游客户, 发货日期, 货物名称, 计量单位, 数量, 应收运费) values "
             "('G1', '武汉钢铁', '2024-03-01 00:00:00', '钢管', '吨', 10.4, ccur('1200')),"
             "('G1', '武汉钢铁', '2024-03-01 00:00:00', '钢管', '吨', 2.3, ccur('800')),"
             "('G2', 'O''Brien', '2024-03-15 00:00:00', '钢管', '吨', 1.2, ccur('800')),"
             "('G4', '东风汽车', '2024-03-05 00:00:00', '轮胎', '个', 4, ccur('0'))"));
    t.exec(S("insert into 货物信息 (客户名称, 货物名称, 计量单位) values ('武汉钢铁', '钢管', '吨'), ('O''Brien', '钢管', '吨'), "
             "('东风汽车', '轮胎', '个'), ('东风汽车', '钢管', '吨')"));
    t.exec(S("insert into 普通货物调度单 (调度单号, 上游客户, 发货日期, 承运单位, 车牌号, 运输金额, 路桥费, 油费, 劳务费, 应付运费, 实付运费) values "
             "('D1', '武汉钢铁', '2024-03-02 00:00:00', '长江运输', '鄂A1001', ccur('1500'), ccur('100'), ccur('50'), ccur('20'), "
             " ccur('1330'), ccur('1000')),"
             "('D2', 'O''Brien', '2024-03-10 00:00:00', '汉江物流', '鄂A2002', ccur('0.4'), ccur('30'), null, null, null, null),"
             "('D3', '武汉钢铁', '2024-03-12 00:00:00', '外来车队', '鄂Z9999', ccur('700'), null, null, null, null, null),"
             "('D4', '东风汽车', '2024-02-29 00:00:00', '汉江物流', '鄂A2002', ccur('200'), null, null, null, ccur('200'), ccur('250'))"));
}

// The result rows as the grid shows them, without the period dates: labels,
// quantity and amounts (money in plain form) joined by "|".
QStringList resultRows(const SummaryWindow *w)
{
    db::Query *q = Dm1->q_tongyong;
    QStringList rows;
    for (int r = 0; r < q->recordCount(); ++r) {
        QStringList cells;
        for (const grid::Column &c : w->summary().columns) {
            if (c.field.startsWith(QLatin1String("date")))
                continue;
            const int col = q->fieldIndex(c.field);
            const QVariant v = q->storedValue(r, col);
            cells << (c.field.startsWith(QLatin1String("money")) ? db::Money::fromRaw(v.toLongLong()).toPlainString()
                                                                   : q->displayText(r, col));
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void setParameters(SummaryWindow *w, const QString &from, const QString &to, const QString &year, const QString &customer)
{
    if (w->summary().parameters == stats::Parameters::Period) {
        put(w, "DBDateTimeEditEh1", from);
        put(w, "DBDateTimeEditEh2", to);
    } else {
        put(w, "DBComboBoxEh1", year);
    }
    if (w->summary().customer != stats::CustomerUse::None)
        put(w, w->summary().customerCombo.toLatin1().constData(), customer);
}

void compute(SummaryWindow *w)
{
    click(w, "SpeedButton1");
}

QStringList months(const QStringList &filled, const QString &year, const QString &zeros)
{
    QStringList rows;
    for (int m = 1; m <= 12; ++m) {
        const QString mm = QStringLiteral("%1月").arg(m, 2, 10, QLatin1Char('0'));
        QString row = year + QLatin1Char('|') + mm + QLatin1Char('|') + zeros;
        for (const QString &f : filled)
            if (f.startsWith(year + QLatin1Char('|') + mm))
                row = f;
        rows << row;
    }
    return rows;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstStatistics : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("张三"); }
    void eachSummary_data();
    void eachSummary();
    void checksKeepThePreviousResult_data();
    void checksKeepThePreviousResult();
    void monthsFollowTheCalendar_data();
    void monthsFollowTheCalendar();
    void emptyGroupListAndDatabaseErrorKeepTheResult();
    void deleteSortAndEnter();
    void yearItemsAndChartSetting();
    void printAddsTheChart();
    void demoShowsEverySummary();
    void readOnlyFileIsRefused();
    void chartStaysReadable_data();
    void chartStaysReadable();
};

void TstStatistics::eachSummary_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QStringList>("rows");
    const QString a = S("2024-3-1"), b = S("2024-3-15"), y = S("2024年");
    const auto L = [](std::initializer_list<const char *> l) {
        QStringList r;
        for (const char *s : l)
            r << S(s);
        return r;
    };
    const QString z3 = S("0|0|0|0"), z9 = S("0|0|0|0|0|0|0|0|0|0");

    // Container income. Quantity 0 (C6) gives no row whatever its money;
    // 3-15 23:59:59 is in, 3-16 0:00 out; collections above receivable go negative.
    QTest::newRow("by size") << "N23" << "TForm_sts_cont_sum" << a << b << "" << ""
                             << L({"20|2|2399|1000|1399", "40|3|4500|2600|1900", "合   计|5|6899|3600|3299"});
    QTest::newRow("only 20-foot in a one-day period") << "N23" << "TForm_sts_cont_sum" << "2024-3-16" << "2024-3-16" << "" << ""
                                                      << L({"20|1|700|0|700", "合   计|1|700|0|700"});
    QTest::newRow("no orders") << "N23" << "TForm_sts_cont_sum" << "2023-1-1" << "2023-12-31" << "" << "" << QStringList();
    QTest::newRow("only zero quantities") << "N35" << "TForm_sts_cont_guest" << "2024-3-5" << "2024-3-5" << "" << S("东风汽车")
                                          << QStringList();
    QTest::newRow("by customer") << "N35" << "TForm_sts_cont_guest" << a << b << "" << ""
                                 << L({"O'Brien|1|1500|1600|-100", "武汉钢铁|4|4400|2000|2400"});
    QTest::newRow("by customer, one chosen") << "N35" << "TForm_sts_cont_guest" << a << b << "" << S("O'Brien")
                                             << L({"O'Brien|1|1500|1600|-100"});
    QTest::newRow("by customer, unknown name") << "N35" << "TForm_sts_cont_guest" << a << b << "" << S("O'Brie")
                                               << QStringList();
    QTest::newRow("by carrier") << "N62" << "TForm_sts_cont_trans" << a << b << "" << ""
                                << L({"汉江物流|2|3000|1000|2000", "长江运输|2|2500|2600|-100"});
    QTest::newRow("by carrier, one customer") << "N62" << "TForm_sts_cont_trans" << a << b << "" << S("O'Brien")
                                              << L({"长江运输|1|1500|1600|-100"});
    QTest::newRow("by vehicle") << "N60" << "TForm_sts_cont_car" << a << b << "" << ""
                                << L({"鄂A1001|2|2500|2600|-100", "鄂A2002|2|3000|1000|2000"});
    QTest::newRow("by month") << "N59" << "TForm_sts_cont_yue" << "" << "" << y << ""
                              << months(L({"2024年|02月|1|500|0|500", "2024年|03月|6|7599|3600|3999"}), y, z3);
    QTest::newRow("by month, one customer") << "N59" << "TForm_sts_cont_yue" << "" << "" << y << S("O'Brien")
                                            << months(L({"2024年|03月|1|1500|1600|-100"}), y, z3);

    // Container downstream freight: an unpaid order adds its amount but no payable.
    QTest::newRow("freight by size") << "N68" << "TForm_sts_cont_sum1" << a << b << "" << ""
                                     << L({"20号|2|1100|50|0|0|0|0|750|750|0", "40号|3|3600|100|0|20|0|0|2280|2000|280",
                                           "合计|5|4700|150|0|20|0|0|3030|2750|280"});
    QTest::newRow("freight by carrier") << "N71" << "TForm_sts_cont_trans1" << a << b << "" << ""
                                        << L({"汉江物流|2|2400|100|0|20|0|0|2280|2000|280", "长江运输|2|2000|50|0|0|0|0|750|750|0"});
    QTest::newRow("freight by vehicle, one customer") << "N73" << "TForm_sts_cont_car1" << a << b << "" << S("武汉钢铁")
                                                      << L({"鄂A1001|1|800|50|0|0|0|0|750|750|0",
                                                            "鄂A2002|2|2400|100|0|20|0|0|2280|2000|280"});
    QTest::newRow("freight by month") << "N72" << "TForm_sts_cont_yue1" << "" << "" << y << ""
                                      << months(L({"2024年|02月|1|0|0|0|0|0|0|0|0|0", "2024年|03月|6|4700|150|0|20|0|0|3030|2750|280"}),
                                                y, z9);

    // Goods income: a receivable of 0 gives no row; an unregistered customer
    // counts in the months only.
    QTest::newRow("goods by customer") << "N65" << "TForm_sts_freight_guest" << a << b << "" << ""
                                       << L({"O'Brien|800|900|-100", "武汉钢铁|2000|1500|500"});
    QTest::newRow("goods by month") << "N66" << "TForm_sts_freight_yue" << "" << "" << y << ""
                                    << months(L({"2024年|02月|300|0|300", "2024年|03月|3850|2400|1450"}), y, S("0|0|0"));
    // Two customers with goods of the same name each get their own lines;
    // 10.4 + 2.3 tons show as 13.
    QTest::newRow("goods by name") << "N41" << "TForm_sts_freight_wood" << a << b << "" << ""
                                   << L({"O'Brien|钢管|吨|1|800", "武汉钢铁|钢管|吨|13|2000"});
    QTest::newRow("goods by name, one customer") << "N41" << "TForm_sts_freight_wood" << a << b << "" << S("武汉钢铁")
                                                 << L({"武汉钢铁|钢管|吨|13|2000"});

    // Goods downstream freight: an amount under 0.5 gives no row even with
    // costs; an unregistered carrier and plate count in the months only.
    QTest::newRow("goods freight by carrier") << "N76" << "TForm_sts_freight_trans1" << a << b << "" << ""
                                              << L({"长江运输|1500|100|50|0|0|20|1330|1000|330"});
    QTest::newRow("goods freight by vehicle") << "N78" << "TForm_sts_freight_car1" << a << b << "" << ""
                                              << L({"鄂A1001|1500|100|50|0|0|20|1330|1000|330"});
    QTest::newRow("goods freight by month") << "N77" << "TForm_sts_freight_yue1" << "" << "" << y << ""
                                            << months(L({"2024年|02月|200|0|0|0|0|0|200|250|-50",
                                                         "2024年|03月|2200.4|130|50|0|0|20|1330|1000|330"}),
                                                      y, z9.mid(2));
    QTest::newRow("goods freight by month, one customer") << "N77" << "TForm_sts_freight_yue1" << "" << "" << y << S("武汉钢铁")
                                                          << months(L({"2024年|03月|2200|100|50|0|0|20|1330|1000|330"}), y,
                                                                    z9.mid(2));
}

void TstStatistics::eachSummary()
{
    QFETCH(QString, item);
    QFETCH(QString, cls);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, year);
    QFETCH(QString, customer);
    QFETCH(QStringList, rows);
    TestDb t;
    seed(t);
    MessageScript ms;
    withSummary(item.toLatin1().constData(), [&](SummaryWindow *w) {
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), cls);
        // The handler emptied 通用 and filled the customer list in name order.
        QCOMPARE(Dm1->q_tongyong->recordCount(), 0);
        if (w->summary().customer != stats::CustomerUse::None)
            QCOMPARE(itemsOf(w, w->summary().customerCombo.toLatin1().constData()),
                     QStringList({S("O'Brien"), S("东风汽车"), S("武汉钢铁")}));
        setParameters(w, from, to, year, customer);
        w->findChild<QCheckBox *>(S("CheckBox_chart"))->setChecked(true);
        compute(w);
        QCOMPARE(ms.texts(), QStringList());
        QCOMPARE(resultRows(w), rows);
        // One transaction: nothing is left open after a run.
        QVERIFY(!Dm1->q_container_ysd->isActive() && !Dm1->q_freight_ddb->isActive() && !Dm1->q_guestinfo->isActive());
        db::Query *q = Dm1->q_tongyong;
        QCOMPARE(q->sql().last(), w->summary().parameters == stats::Parameters::Period ? S(" order by texta,textb")
                                                                                      : S(" order by textb,textc"));
        for (int r = 0; r < q->recordCount(); ++r) {
            const QString dates = q->displayText(r, q->fieldIndex(S("datea"))) + S("~") + q->displayText(r, q->fieldIndex(S("dateb")));
            QCOMPARE(dates, from.isEmpty() ? S("~") : from + S("~") + to);
        }
        // The chart shows the same rows, the total row left out.
        stats::SummaryChart *chart = w->chart();
        QVERIFY(chart->isVisible());
        const QVector<stats::SummaryChart::Series> series = chart->series();
        QStringList fromChart;
        const QStringList categories = chart->categories();
        for (int i = 0; i < categories.size(); ++i)
            for (const auto &s : series)
                fromChart << categories[i] + S(":") + s.title + S("=") + QString::number(s.values.value(i));
        QStringList fromRows;
        for (int r = 0; r < q->recordCount(); ++r) {
            QStringList parts;
            for (const QString &f : w->summary().chartLabel)
                parts << q->displayText(r, q->fieldIndex(f));
            const QString label = parts.join(QLatin1Char(' '));
            if (label == w->summary().totalLabel)
                continue;
            for (const grid::Column &c : w->summary().columns)
                if (c.field.startsWith(QLatin1String("money")))
                    fromRows << label + S(":") + c.title + S("=")
                                    + QString::number(db::Money::fromRaw(q->storedValue(r, q->fieldIndex(c.field)).toLongLong()).toDouble());
        }
        QCOMPARE(fromChart, fromRows);
        QCOMPARE(categories.size(), rows.size() - (w->summary().totalLabel.isEmpty() || rows.isEmpty() ? 0 : 1));
    });
    // The rows stay in the table after the window closed.
    QCOMPARE(t.scalar(S("select count(*) from 通用")).toInt(), rows.size());
}

void TstStatistics::checksKeepThePreviousResult_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("to empty") << "N23" << "2024-3-1" << "" << "" << S("必须输入完整的运输时间,请重新输入!") << "DBDateTimeEditEh1";
    QTest::newRow("from empty") << "N65" << "" << "2024-3-1" << "" << S("必须输入完整的发货日期,请重新输入!") << "DBDateTimeEditEh1";
    QTest::newRow("freight from after to") << "N68" << "2024-3-2" << "2024-3-1" << ""
                                           << S("发车日期从不能大于发车日期到,请重新输入!") << "DBDateTimeEditEh1";
    QTest::newRow("goods vehicles after") << "N78" << "2024-3-2" << "2024-3-1" << ""
                                          << S("发车日期从不能大于发车日期到,请重新输入!") << "DBDateTimeEditEh1";
    QTest::newRow("goods carriers after") << "N76" << "2024-3-2" << "2024-3-1" << ""
                                          << S("发货日期从不能大于发货日期到,请重新输入!") << "DBDateTimeEditEh1";
    QTest::newRow("no date") << "N35" << "2024-13-1" << "2024-3-1" << "" << S("'2024-13-1'不是有效的日期") << "DBDateTimeEditEh1";
    QTest::newRow("year empty") << "N59" << "" << "" << " " << S("没有输入统计年度,请重新输入!") << "DBComboBoxEh1";
    QTest::newRow("year of letters") << "N72" << "" << "" << "abcd" << S("统计年度输入错误,请重新输入!") << "DBComboBoxEh1";
    QTest::newRow("year of two digits") << "N77" << "" << "" << S("24年") << S("统计年度输入错误,请重新输入!") << "DBComboBoxEh1";
    QTest::newRow("year too early") << "N66" << "" << "" << S("0999年") << S("统计年度输入错误,请重新输入!") << "DBComboBoxEh1";
}

void TstStatistics::checksKeepThePreviousResult()
{
    QFETCH(QString, item);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, year);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    seed(t);
    MessageScript ms;
    withSummary(item.toLatin1().constData(), [&](SummaryWindow *w) {
        setParameters(w, S("2024-3-1"), S("2024-3-31"), S("2024年"), {});
        compute(w);
        const QStringList before = resultRows(w);
        QVERIFY(!before.isEmpty());
        setParameters(w, from, to, year, {});
        compute(w);
        QCOMPARE(ms.texts(), QStringList{message});
        QCOMPARE(ms.seen().last().caption, S("提示"));
        QCOMPARE(ms.seen().last().icon, msg::Icon::Exclamation);
        QCOMPARE(focusName(w), focus);
        QCOMPARE(resultRows(w), before);
    });
}

void TstStatistics::monthsFollowTheCalendar_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("leap");
    QTest::newRow("2004") << 2004 << true;
    QTest::newRow("2008") << 2008 << true;
    QTest::newRow("2000") << 2000 << true;
    QTest::newRow("2005") << 2005 << false;
    QTest::newRow("2100") << 2100 << false;
}

void TstStatistics::monthsFollowTheCalendar()
{
    QFETCH(int, year);
    QFETCH(bool, leap);
    const QVector<stats::MonthRange> ranges = stats::monthRanges(year, S("发货日期"), {});
    QCOMPARE(ranges.size(), 12);
    QCOMPARE(ranges[1].condition, S("发货日期 between cdate('%1-02-1 0:0:0') and cdate('%1-02-%2 23:59:59')").arg(year).arg(leap ? 29 : 28));
    QCOMPARE(ranges[10].label, S("11月"));
    QVERIFY(ranges[10].condition.endsWith(S("-11-30 23:59:59')")));
    QCOMPARE(stats::monthRanges(year, S("发货日期"), S("O'Brien"))[0].condition,
             S("(上游客户='O''Brien')and(发货日期 between cdate('%1-01-1 0:0:0') and cdate('%1-01-31 23:59:59'))").arg(year));

    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁')"));
    const QString y = QString::number(year);
    QStringList stamps = {y + S("-01-31 23:59:59"), y + S("-02-01 00:00:00"), y + S("-02-28 23:59:59"), y + S("-03-01 00:00:00"),
                          y + S("-12-31 23:59:59")};
    if (leap)
        stamps << y + S("-02-29 12:00:00");
    for (const QString &s : stamps)
        t.exec(S("insert into 集装箱运输单 (上游客户, 运输期限从, 数量, 应收运费) values ('武汉钢铁', '%1', 1, ccur('10'))").arg(s));
    MessageScript ms;
    withSummary("N59", [&](SummaryWindow *w) {
        setParameters(w, {}, {}, y + S("年"), {});
        compute(w);
        QStringList filled = {y + S("年|01月|1|10|0|10"), y + S("年|03月|1|10|0|10"), y + S("年|12月|1|10|0|10"),
                              y + S(leap ? "年|02月|3|30|0|30" : "年|02月|2|20|0|20")};
        QCOMPARE(resultRows(w), months(filled, y + S("年"), S("0|0|0|0")));
    });
    QCOMPARE(ms.texts(), QStringList());
}

void TstStatistics::emptyGroupListAndDatabaseErrorKeepTheResult()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    withSummary("N62", [&](SummaryWindow *w) {
        setParameters(w, S("2024-3-1"), S("2024-3-15"), {}, {});
        compute(w);
        const QStringList before = resultRows(w);
        QCOMPARE(before.size(), 2);
        // No carriers: the run stops before clearing anything.
        t.exec(S("delete from 下游运输商"));
        compute(w);
        QCOMPARE(resultRows(w), before);
        QCOMPARE(ms.texts(), QStringList());
        QVERIFY(!Dm1->q_transportinfo->isActive());
    });
    // A row the database refuses half-way: the run is rolled back, the
    // previous result is back on screen and in the table, the error is told.
    withSummary("N23", [&](SummaryWindow *w) {
        setParameters(w, S("2024-3-16"), S("2024-3-16"), {}, {});
        compute(w);
        const QStringList before = resultRows(w);
        QCOMPARE(before.size(), 2);
        t.exec(S("create trigger refuse40 before insert on 通用 when new.texta = '40' begin select raise(abort, '不能写入40'); end"));
        setParameters(w, S("2024-3-1"), S("2024-3-15"), {}, {});
        compute(w);
        QCOMPARE(ms.texts().size(), 1);
        QVERIFY2(ms.last().contains(S("不能写入40")), qPrintable(ms.last()));
        QCOMPARE(resultRows(w), before);
        QCOMPARE(t.scalar(S("select count(*) from 通用")), S("2"));
        QVERIFY(Dm1->q_tongyong->controlsDisabled() == false);
        QVERIFY(!Dm1->q_container_ysd->isActive());
    });
}

void TstStatistics::deleteSortAndEnter()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    withSummary("N35", [&](SummaryWindow *w) {
        auto *grid = w->grid();
        // Sorting an empty result leaves the opening lines alone.
        grid->toggleSortMarker(grid->columnByField(S("moneya")));
        QCOMPARE(Dm1->q_tongyong->sql(), QStringList({S("select * from "), S("通用")}));
        grid->toggleSortMarker(grid->columnByField(S("moneya")));
        grid->toggleSortMarker(grid->columnByField(S("moneya")));
        // Enter moves from-date, to-date, customer and then runs.
        put(w, "DBDateTimeEditEh1", S("2024-3-1"));
        QTest::keyClick(w->findChild<QWidget *>(S("DBDateTimeEditEh1")), Qt::Key_Return);
        QCOMPARE(focusName(w), S("DBDateTimeEditEh2"));
        put(w, "DBDateTimeEditEh2", S("2024-3-15"));
        QTest::keyClick(w->findChild<QWidget *>(S("DBDateTimeEditEh2")), Qt::Key_Return);
        QCOMPARE(focusName(w), S("DBComboBoxEh1"));
        QCOMPARE(Dm1->q_tongyong->recordCount(), 0);
        QTest::keyClick(w->findChild<QComboBox *>(S("DBComboBoxEh1"))->lineEdit(), Qt::Key_Return);
        QCOMPARE(resultRows(w), QStringList({S("O'Brien|1|1500|1600|-100"), S("武汉钢铁|4|4400|2000|2400")}));
        // Title sort after a run replaces the order-by line.
        grid->toggleSortMarker(grid->columnByField(S("moneya")));
        grid->toggleSortMarker(grid->columnByField(S("moneya")));
        QCOMPARE(Dm1->q_tongyong->sql().last(), S(" ORDER BY moneya DESC "));
        QCOMPARE(resultRows(w).first(), S("武汉钢铁|4|4400|2000|2400"));
        QCOMPARE(grid->footerText(grid->columnByField(S("moneyc"))), db::Money::fromRaw(23000000).toString());
        // 删除 asks, then removes the current row from 通用.
        ms.answer(QMessageBox::No);
        click(w, "bitbtn_delete");
        QCOMPARE(Dm1->q_tongyong->recordCount(), 2);
        click(w, "bitbtn_delete");
        QCOMPARE(ms.texts(), QStringList({S("要删除当前记录吗? "), S("要删除当前记录吗? ")}));
        QCOMPARE(ms.seen().last().caption, S("请选择"));
        QCOMPARE(resultRows(w), QStringList({S("O'Brien|1|1500|1600|-100")}));
        QCOMPARE(t.scalar(S("select texta from 通用")), S("O'Brien"));
    });
    // The freight size summary: Enter in the to-date runs at once.
    withSummary("N68", [&](SummaryWindow *w) {
        put(w, "DBDateTimeEditEh2", S("2024-3-15"));
        put(w, "DBDateTimeEditEh1", S("2024-3-1"));
        QTest::keyClick(w->findChild<QWidget *>(S("DBDateTimeEditEh1")), Qt::Key_Return);
        QTest::keyClick(w->findChild<QWidget *>(S("DBDateTimeEditEh2")), Qt::Key_Return);
        QCOMPARE(Dm1->q_tongyong->recordCount(), 3);
        QVERIFY(!w->findChild<QWidget *>(S("DBComboBoxEh1")));
        // Fit to width starts ticked here, unticked in the by-carrier freight windows.
        QVERIFY(w->findChild<QCheckBox *>(S("CheckBox1"))->isChecked());
    });
    withSummary("N71", [&](SummaryWindow *w) { QVERIFY(!w->findChild<QCheckBox *>(S("CheckBox1"))->isChecked()); });
}

void TstStatistics::yearItemsAndChartSetting()
{
    TestDb t;
    const QString now = QString::number(QDate::currentDate().year()) + S("年");
    withSummary("N77", [&](SummaryWindow *w) {
        QCOMPARE(itemsOf(w, "DBComboBoxEh1"), QStringList{now});
        QCOMPARE(textOf(w, "DBComboBoxEh1"), now);
        // Off by default, remembered per window.
        auto *box = w->findChild<QCheckBox *>(S("CheckBox_chart"));
        QVERIFY(!box->isChecked() && !w->chart()->isVisible());
        box->setChecked(true);
        QVERIFY(w->chart()->isVisible());
    });
    seed(t);
    withSummary("N77", [&](SummaryWindow *w) {
        QStringList expected;
        for (int y = 2024; y <= QDate::currentDate().year(); ++y)
            expected << QString::number(y) + S("年");
        QCOMPARE(itemsOf(w, "DBComboBoxEh1"), expected);
        QVERIFY(w->findChild<QCheckBox *>(S("CheckBox_chart"))->isChecked());
        // The default period of the period windows is this year so far.
    });
    withSummary("N72", [&](SummaryWindow *w) {
        QVERIFY(!w->findChild<QCheckBox *>(S("CheckBox_chart"))->isChecked());
        QCOMPARE(itemsOf(w, "DBComboBoxEh1").first(), S("2024年"));
    });
    withSummary("N23", [&](SummaryWindow *w) {
        QCOMPARE(textOf(w, "DBDateTimeEditEh1"), db::shortDate(QDate(QDate::currentDate().year(), 1, 1)));
        QCOMPARE(textOf(w, "DBDateTimeEditEh2"), db::shortDate(QDate::currentDate()));
    });
    QSettings s(SummaryWindow::settingsFile(), QSettings::IniFormat);
    QCOMPARE(s.value(S("charts/sts_freight_yue1")).toBool(), true);
    QVERIFY(SummaryWindow::settingsFile().startsWith(t.dir()));
}

void TstStatistics::printAddsTheChart()
{
    TestDb t;
    seed(t);
    const QString pdf = t.dir() + S("/print.pdf");
    QString title;
    int pages = 0;
    grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        title = dlg.windowTitle();
        QPrinter *p = dlg.printer();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        emit dlg.paintRequested(p);
    });
    QString withChart, without;
    withSummary("N35", [&](SummaryWindow *w) {
        setParameters(w, S("2024-3-1"), S("2024-3-15"), {}, {});
        compute(w);
        click(w, "bitbtn_print");
        without = pdfText(pdf);
        w->findChild<QCheckBox *>(S("CheckBox_chart"))->setChecked(true);
        click(w, "bitbtn_print");
        withChart = pdfText(pdf);
        QVERIFY(w->findChild<QCheckBox *>(S("cbDichromatic"))->isChecked());
    });
    grid::setPreviewRunner(nullptr);
    QCOMPARE(title, S("打印预览"));
    const auto pageCount = [](const QString &text) { return text.count(QChar(0x0C)); };
    QVERIFY2(without.contains(S("集装箱收入统计汇总(按上游客户统计)打印清单")), qPrintable(without));
    QCOMPARE(pageCount(withChart), pageCount(without) + 1);
    const QString chartPage = withChart.section(QChar(0x0C), -2, -2);
    QVERIFY2(chartPage.contains(S("第2页")) && chartPage.contains(S("应收运费")) && chartPage.contains(S("武汉钢铁")),
             qPrintable(chartPage));
}

void TstStatistics::demoShowsEverySummary()
{
    TestDb t(true);
    MessageScript ms;
    for (const char *item : {"N23", "N35", "N59", "N62", "N60", "N68", "N71", "N72", "N73", "N65", "N66", "N41", "N77", "N76", "N78"}) {
        withSummary(item, [&](SummaryWindow *w) {
            compute(w);
            // Every group that got a row has something to show.
            QVERIFY2(Dm1->q_tongyong->recordCount() > 0, item);
            if (w->summary().parameters == stats::Parameters::Year)
                QCOMPARE(Dm1->q_tongyong->recordCount(), 12);
        });
    }
    QCOMPARE(ms.texts(), QStringList());
}

void TstStatistics::readOnlyFileIsRefused()
{
    if (!testServer().isEmpty())
        QSKIP("a read-only file: the server's rights are the server's");
    ScratchMount disk(4096);
    if (!disk.ok())
        QSKIP(qPrintable(disk.why()));
    TestDb t;
    seed(t);
    t.exec(S("insert into 通用 (texta) values ('上次')"));
    t.dm()->ADO_system->close();
    QVERIFY(QFile::copy(t.file(), disk.filePath(S("data.mdb"))));
    QVERIFY(disk.setReadOnly(true));
    const QString back = QDir::currentPath();
    QDir::setCurrent(disk.path());
    t.dm()->ADO_system->open();
    t.dm()->q_tongyong->reopenWith({S("select * from "), S("通用")});
    MessageScript ms;
    {
        TForm_sts_cont_sum w(nullptr);
        w.run();
        QCOMPARE(ms.texts().size(), 1);
        QVERIFY2(ms.last().startsWith(S("数据库文件只读")), qPrintable(ms.last()));
        QCOMPARE(columnOf(t.dm()->q_tongyong, "texta"), S("上次"));
    }
    t.dm()->q_tongyong->close();
    // From the menu: the same words, before the window opens on a half result.
    ms.clear();
    for (const char *item : {"N23", "N41", "N52"}) {
        TForm_main main;
        velorin::startup_done = true;
        ModalDriver driver;
        main.menuAction(S(item))->trigger();
        QCOMPARE(driver.shown, QStringList());
        QCOMPARE(ms.texts().size(), 1);
        QVERIFY2(ms.last().startsWith(S("数据库文件只读")), qPrintable(ms.last()));
        ms.clear();
    }
    t.dm()->ADO_system->close();
    QDir::setCurrent(back);
    QVERIFY(disk.setReadOnly(false));
}

void TstStatistics::chartStaysReadable_data()
{
    QTest::addColumn<int>("groups");
    QTest::addColumn<QString>("name");            // %1: the group's number
    QTest::addColumn<QStringList>("categories");  // as the chart names its bars
    QTest::addColumn<bool>("across");             // horizontal bars
    QTest::addColumn<QStringList>("amountLabels");
    QStringList thirty;
    for (int i = 30; i > 10; --i)
        thirty << S("上游客户有限公司%1").arg(i);
    thirty << S("其它");
    QTest::newRow("nothing") << 0 << QString() << QStringList() << false
                             << QStringList{S("0"), S("20"), S("40"), S("60"), S("80"), S("100")};
    QTest::newRow("months") << 3 << S("%1月") << QStringList{S("1月"), S("2月"), S("3月")} << false << QStringList();
    QTest::newRow("thirty long names") << 30 << S("上游客户有限公司%1") << thirty << true << QStringList();
}

void TstStatistics::chartStaysReadable()
{
    QFETCH(int, groups);
    QFETCH(QString, name);
    QFETCH(QStringList, categories);
    QFETCH(bool, across);
    QFETCH(QStringList, amountLabels);
    TestDb t;
    // Group i has i yuan: the largest twenty keep a bar, the rest share "其它".
    for (int i = 1; i <= groups; ++i)
        t.exec(S("insert into 通用 (texta, moneya) values ('%1', %2)").arg(name.arg(i)).arg(i * 10000));
    db::Query *q = t.dm()->q_tongyong;
    q->reopenWith({S("select * from 通用"), S("order by texta")});
    stats::SummaryChart chart(q, {{.field = S("texta"), .title = S("客户")}, {.field = S("moneya"), .title = S("应收运费")}},
                              {S("texta")}, S("合   计"));
    chart.resize(900, 400);
    chart.show();
    QCOMPARE(chart.categories(), categories);
    if (groups == 30) {
        QCOMPARE(chart.series().first().values.last(), 55.0);   // 1 + … + 10
        QCOMPARE(chart.series().first().values.first(), 30.0);
    }
    QChart *c = chart.chart();
    QCOMPARE(c->series().size(), 1);
    QCOMPARE(c->series().first()->type() == QAbstractSeries::SeriesTypeHorizontalBar, across);
    const auto *amounts = qobject_cast<QValueAxis *>(c->axes(across ? Qt::Horizontal : Qt::Vertical).value(0));
    QVERIFY(amounts);
    if (!amountLabels.isEmpty()) {
        QStringList labels;
        for (int i = 0; i < amounts->tickCount(); ++i) {
            const double v = amounts->min() + i * (amounts->max() - amounts->min()) / (amounts->tickCount() - 1);
            labels << QString::asprintf(amounts->labelFormat().toLatin1().constData(), v);
        }
        QCOMPARE(labels, amountLabels);
    }
    q->close();
}

QTEST_MAIN(TstStatistics)
#include "tst_statistics.moc"
