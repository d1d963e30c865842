// The velorin-db tool as a user runs it, and the content of the demo and
// generated databases that the program and the benchmarks stand on.
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/sqlitedriver.h"
#include "db/connection.h"
#include "db/dates.h"
#include "db/query.h"
#include "db/schema.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sqlite3.h>

using db::Money;

namespace {

struct Run {
    int code;
    QString out, err;
};

// A read-only look into a database file through the library's own dataset.
class Db {
public:
    explicit Db(const QString &path)
    {
        m_conn.setDatabaseName(path);
        m_conn.open();
    }
    db::Query &select(const QString &sql)
    {
        m_q.close();
        m_q.setSql({sql});
        m_q.open();
        return m_q;
    }
    qint64 count(const QString &sql) { return select(sql).fieldByIndex(0).asInteger(); }
    db::Connection &connection() { return m_conn; }

private:
    db::Connection m_conn;
    db::Query m_q{&m_conn, QStringLiteral("q")};
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Money money(db::Query &q, const char *column) { return q.field(QString::fromUtf8(column)).asMoney(); }

} // namespace

class TstDbTool : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void toolMakesCheckableFiles_data();
    void toolMakesCheckableFiles();
    void toolRefusesToOverwrite_data();
    void toolRefusesToOverwrite();
    void toolCheckRejects_data();
    void toolCheckRejects();
    void toolBadArguments_data();
    void toolBadArguments();

    void programKeysAreUnique_data();
    void programKeysAreUnique();
    void statusColumnsHoldYesOrNo_data();
    void statusColumnsHoldYesOrNo();
    void payableIsAmountLessCosts_data();
    void payableIsAmountLessCosts();
    void goodsLinesMatchOrders_data();
    void goodsLinesMatchOrders();
    void cashJournalBalances_data();
    void cashJournalBalances();
    void copiedValuesMatchTheirSource_data();
    void copiedValuesMatchTheirSource();

    void demoFillsEveryTable();
    void demoListsShowWork_data();
    void demoListsShowWork();
    void demoHasDueVehicleAlarms();
    void demoCompanyAndOperators();
    void demoIsDeterministic();
    void generatedVolumesAndMix();
    void customerAggregateUsesIndex();
    void olderFileOpensAndUpgrades();

private:
    Run run(const QStringList &args);
    void addFiles();

    QString m_tool;
    QTemporaryDir m_dir;
    QString m_demo, m_generated;
    static constexpr int generatedOrders = 3000;
};

void TstDbTool::initTestCase()
{
    m_tool = qEnvironmentVariable("VELORIN_TOOL");
    if (m_tool.isEmpty())
        m_tool = QCoreApplication::applicationDirPath() + QStringLiteral("/velorin-db");
    QVERIFY2(QFileInfo(m_tool).isExecutable(), qPrintable(QStringLiteral("velorin-db not found at ") + m_tool));
    QVERIFY(m_dir.isValid());
    m_demo = m_dir.filePath(QStringLiteral("demo.mdb"));
    m_generated = m_dir.filePath(QStringLiteral("generated.mdb"));
    dbfile::createDemo(m_demo, false);
    dbfile::createGenerated(m_generated, generatedOrders, false);
}

Run TstDbTool::run(const QStringList &args)
{
    QProcess p;
    p.start(m_tool, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("timed out")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TstDbTool::addFiles()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("demo") << m_demo;
    QTest::newRow("generated") << m_generated;
}

// ------------------------------------------------------------------ the tool

void TstDbTool::toolMakesCheckableFiles_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("containerOrders");
    QTest::newRow("create") << QStringList{QStringLiteral("create")} << 0;
    // 150 spread over the months, two more on New Year's day for the summaries.
    QTest::newRow("demo") << QStringList{QStringLiteral("demo")} << 152;
    QTest::newRow("generate") << QStringList{QStringLiteral("generate"), QStringLiteral("--orders"), QStringLiteral("40")} << 40;
}

void TstDbTool::toolMakesCheckableFiles()
{
    QFETCH(QStringList, command);
    QFETCH(int, containerOrders);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.mdb"));
    QStringList args = command;
    args.insert(1, file);
    const Run made = run(args);
    QVERIFY2(made.code == 0, qPrintable(made.err));

    const Run checked = run({QStringLiteral("check"), file});
    QVERIFY2(checked.code == 0, qPrintable(checked.err));
    QVERIFY(checked.err.isEmpty());
    // Nothing is left beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.mdb")});

    // The program can open it and finds what a fresh file must hold.
    Db d(file);
    QCOMPARE(d.count(QStringLiteral("select count(*) from 集装箱运输单")), qint64(containerOrders));
    QCOMPARE(d.count(QStringLiteral("select count(*) from 公司信息")), qint64(1));
    QVERIFY(d.count(QStringLiteral("select count(*) from 权限表")) >= 1);
    db::Query &items = d.select(QStringLiteral("select * from 提醒功能初始表"));
    QCOMPARE(items.recordCount(), 5);
    QCOMPARE(items.field(QStringLiteral("项目")).asString(), QStringLiteral("养路费"));
    items.last();
    QCOMPARE(items.field(QStringLiteral("项目")).asString(), QStringLiteral("二保"));
}

void TstDbTool::toolRefusesToOverwrite_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::newRow("create") << QStringList{QStringLiteral("create")};
    QTest::newRow("demo") << QStringList{QStringLiteral("demo")};
    QTest::newRow("generate") << QStringList{QStringLiteral("generate"), QStringLiteral("--orders"), QStringLiteral("5")};
}

void TstDbTool::toolRefusesToOverwrite()
{
    QFETCH(QStringList, command);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.mdb"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the operator's only copy");
    }
    QStringList args = command;
    args.insert(1, file);

    const Run refused = run(args);
    QVERIFY(refused.code != 0);
    QVERIFY2(refused.err.contains(QStringLiteral("--force")), qPrintable(refused.err));
    QCOMPARE(readAll(file), QByteArray("the operator's only copy"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.mdb")});

    args << QStringLiteral("--force");
    const Run forced = run(args);
    QVERIFY2(forced.code == 0, qPrintable(forced.err));
    QVERIFY(dbfile::check(file).isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.mdb")});

    // A folder is never replaced, forced or not.
    const QString folder = dir.filePath(QStringLiteral("folder.mdb"));
    QVERIFY(QDir().mkdir(folder));
    args[1] = folder;
    QVERIFY(run(args).code != 0);
    QVERIFY(QFileInfo(folder).isDir());
}

void TstDbTool::toolCheckRejects_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text file") << "text" << QStringLiteral("不是数据库文件");
    QTest::newRow("missing file") << "none" << QStringLiteral("文件不存在");
    QTest::newRow("empty sqlite file") << "empty" << QStringLiteral("表 集装箱运输单");
    QTest::newRow("missing column") << "ALTER TABLE 集装箱运输单 DROP COLUMN 箱号" << QStringLiteral("集装箱运输单.箱号");
    QTest::newRow("missing table") << "DROP TABLE 现金日记帐" << QStringLiteral("表 现金日记帐");
}

void TstDbTool::toolCheckRejects()
{
    QFETCH(QString, damage);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.mdb"));
    if (damage == QLatin1String("text")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("客户名单\n").repeated(200));
    } else if (damage == QLatin1String("empty")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (damage != QLatin1String("none")) {
        dbfile::create(file, false);
        sqlite3 *h = nullptr;
        QCOMPARE(sqlite3_open(file.toUtf8().constData(), &h), SQLITE_OK);
        db::SqliteDriver::registerDialect(h);
        const int rc = sqlite3_exec(h, damage.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_close(h);
        QCOMPARE(rc, SQLITE_OK);
    }
    const QByteArray before = readAll(file);

    const Run r = run({QStringLiteral("check"), file});
    QVERIFY(r.code != 0);
    QVERIFY2(r.err.contains(expected), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    // Checking never changes or creates the file.
    QCOMPARE(QFile::exists(file), damage != QLatin1String("none"));
    if (QFile::exists(file))
        QCOMPARE(readAll(file), before);
}

void TstDbTool::toolBadArguments_data()
{
    QTest::addColumn<QStringList>("args");
    const QString f = QStringLiteral("out.mdb");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{QStringLiteral("make"), f};
    QTest::newRow("no file") << QStringList{QStringLiteral("create")};
    QTest::newRow("two files") << QStringList{QStringLiteral("create"), f, QStringLiteral("other.mdb")};
    QTest::newRow("generate without count") << QStringList{QStringLiteral("generate"), f};
    QTest::newRow("count not a number") << QStringList{QStringLiteral("generate"), f, QStringLiteral("--orders"), QStringLiteral("many")};
    QTest::newRow("negative count") << QStringList{QStringLiteral("generate"), f, QStringLiteral("--orders"), QStringLiteral("-5")};
    QTest::newRow("count missing") << QStringList{QStringLiteral("generate"), f, QStringLiteral("--orders")};
    QTest::newRow("count for create") << QStringList{QStringLiteral("create"), f, QStringLiteral("--orders"), QStringLiteral("5")};
    QTest::newRow("force for check") << QStringList{QStringLiteral("check"), f, QStringLiteral("--force")};
    QTest::newRow("misspelt option") << QStringList{QStringLiteral("create"), f, QStringLiteral("--forse")};
}

void TstDbTool::toolBadArguments()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(m_tool, args);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).startsWith(QStringLiteral("usage: velorin-db")));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

// ------------------------------------------------- demo and generated content

void TstDbTool::programKeysAreUnique_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    // The saving windows refuse duplicates of these; data that already holds
    // some would make their checks misfire.
    const QList<QPair<QString, QString>> keys = {
        {QStringLiteral("上游客户"), QStringLiteral("客户名称")},
        {QStringLiteral("收货单位"), QStringLiteral("单位名称")},
        {QStringLiteral("下游运输商"), QStringLiteral("单位名称")},
        {QStringLiteral("承运车辆"), QStringLiteral("车牌号")},
        {QStringLiteral("公路里程"), QStringLiteral("起点, 终点")},
        {QStringLiteral("货物信息"), QStringLiteral("货物名称, 客户名称")},
        {QStringLiteral("集装箱运输单"), QStringLiteral("上游客户, 运输单号")},
        {QStringLiteral("普通货物运输单"), QStringLiteral("运输单号")},
        {QStringLiteral("普通货物调度单"), QStringLiteral("调度单号")},
    };
    for (const QString &file : {m_demo, m_generated})
        for (const auto &[table, key] : keys)
            QTest::addRow("%s %s", file == m_demo ? "demo" : "generated", qPrintable(table)) << file << table << key;
}

void TstDbTool::programKeysAreUnique()
{
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(QString, key);
    Db d(file);
    QVERIFY(d.count(QStringLiteral("select count(*) from %1").arg(table)) > 0);
    QCOMPARE(d.count(QStringLiteral("select count(*) from (select %2 from %1 group by %2 having count(*) > 1)").arg(table, key)),
             qint64(0));
    // Container orders also need a dispatch number unique to the order.
    if (table == QStringLiteral("集装箱运输单"))
        QCOMPARE(d.count(QStringLiteral("select count(*) from (select 调度单编号 from 集装箱运输单 where 调度单编号 is not null "
                                        "group by 调度单编号 having count(*) > 1)")),
                 qint64(0));
}

void TstDbTool::statusColumnsHoldYesOrNo_data()
{
    addFiles();
}

void TstDbTool::statusColumnsHoldYesOrNo()
{
    QFETCH(QString, file);
    Db d(file);
    int columns = 0;
    for (const auto &t : db::schema::tables())
        for (const auto &c : t.columns) {
            if (c.defaultValue != QStringLiteral("'否'"))
                continue;
            ++columns;
            const QString bad = QStringLiteral("select count(*) from %1 where %2 is null or %2 not in ('是', '否')").arg(t.name, c.name);
            QVERIFY2(d.count(bad) == 0, qPrintable(t.name + QLatin1Char('.') + c.name));
            // Both answers occur, so each stage window has rows to show and rows it hides.
            for (const QString v : {QStringLiteral("是"), QStringLiteral("否")})
                QVERIFY2(d.count(QStringLiteral("select count(*) from %1 where %2 = '%3'").arg(t.name, c.name, v)) > 0,
                         qPrintable(t.name + QLatin1Char('.') + c.name + QLatin1Char('=') + v));
        }
    QCOMPARE(columns, 9);   // four on container orders, three on goods orders, two on goods dispatches
}

void TstDbTool::payableIsAmountLessCosts_data()
{
    addFiles();
}

void TstDbTool::payableIsAmountLessCosts()
{
    QFETCH(QString, file);
    Db d(file);
    const QList<QPair<QString, QString>> paid = {
        {QStringLiteral("集装箱运输单"), QStringLiteral("下游帐款结清")},
        {QStringLiteral("普通货物调度单"), QStringLiteral("帐款结清")},
    };
    for (const auto &[table, settled] : paid) {
        // Paid trips, and in the demo trips whose costs are in before the
        // payment (so that the payment windows' cost sums show something).
        const QString costed = QStringLiteral("select * from %1 where %2 = '是' or 应付运费 is not null").arg(table, settled);
        db::Query &q = d.select(costed);
        QVERIFY(q.recordCount() > 0);
        int withCosts = 0, unpaidWithCosts = 0;
        for (q.first(); !q.eof(); q.next()) {
            const Money costs = money(q, "路桥费") + money(q, "劳务费") + money(q, "油费") + money(q, "罚款") + money(q, "其它费用");
            QCOMPARE(money(q, "应付运费"), money(q, "运输金额") - costs);
            QVERIFY(money(q, "应付运费") > Money());
            const bool settledRow = q.field(settled).asString() == QStringLiteral("是");
            // Unpaid trips carry no payment yet.
            QCOMPARE(!q.field(QStringLiteral("付款日期")).isNull(), settledRow);
            QCOMPARE(!q.field(QStringLiteral("实付运费")).isNull(), settledRow);
            withCosts += !costs.isZero();
            unpaidWithCosts += !settledRow && !costs.isZero();
        }
        QVERIFY(withCosts > 0);
        if (file == m_demo)
            QVERIFY2(unpaidWithCosts > 0, qPrintable(table));
    }
    // The payment window refuses a payment dated before the period's end.
    QCOMPARE(d.count(QStringLiteral("select count(*) from 集装箱运输单 where 付款日期 < 运输期限到")), qint64(0));
    QCOMPARE(d.count(QStringLiteral("select count(*) from 集装箱运输单 where 下游帐款结清 = '否' and "
                                    "(实付运费 is not null or 付款日期 is not null)")),
             qint64(0));
}

void TstDbTool::goodsLinesMatchOrders_data()
{
    addFiles();
}

void TstDbTool::goodsLinesMatchOrders()
{
    QFETCH(QString, file);
    Db d(file);
    // Every line belongs to an order and carries the values it copied from it
    // and from the customer's goods.
    QCOMPARE(d.count(QStringLiteral(
                 "select count(*) from 普通货物运输单明细 l where not exists (select 1 from 普通货物运输单 o where "
                 "o.运输单号 = l.运输单号 and o.上游客户 = l.上游客户 and o.发货日期 = l.发货日期 and o.到货日期 = l.到货日期 "
                 "and o.收货日期 = l.收货日期)")),
             qint64(0));
    QCOMPARE(d.count(QStringLiteral(
                 "select count(*) from 普通货物运输单明细 l where not exists (select 1 from 货物信息 g where "
                 "g.客户名称 = l.上游客户 and g.货物名称 = l.货物名称 and g.型号规格 = l.型号规格 and g.类别 = l.类别 "
                 "and g.计量单位 = l.计量单位)")),
             qint64(0));
    // Every order has one to four lines, and its freight and quantity are theirs summed.
    db::Query &q = d.select(QStringLiteral(
        "select o.运输单号, o.应收运费, o.数量, count(l.运输单号) as n, sum(l.应收运费) as lines, sum(l.数量) as qty "
        "from 普通货物运输单 o left join 普通货物运输单明细 l on l.运输单号 = o.运输单号 group by o.rowid"));
    QVERIFY(q.recordCount() > 0);
    for (q.first(); !q.eof(); q.next()) {
        const QString no = q.field(QStringLiteral("运输单号")).asString();
        const qint64 n = q.field(QStringLiteral("n")).asInteger();
        QVERIFY2(n >= 1 && n <= 4, qPrintable(no));
        QVERIFY2(money(q, "应收运费") == Money::fromRaw(q.field(QStringLiteral("lines")).value().toLongLong()), qPrintable(no));
        QVERIFY2(qAbs(q.field(QStringLiteral("数量")).asFloat() - q.field(QStringLiteral("qty")).asFloat()) < 1e-6, qPrintable(no));
    }
}

void TstDbTool::cashJournalBalances_data()
{
    addFiles();
}

void TstDbTool::cashJournalBalances()
{
    QFETCH(QString, file);
    Db d(file);
    db::Query &q = d.select(QStringLiteral("select * from 现金日记帐 order by 日期,编号"));
    QVERIFY(q.recordCount() > 0);
    // Each month runs from zero, as the journal's own recomputation does.
    QString month;
    Money balance;
    int months = 0;
    for (q.first(); !q.eof(); q.next()) {
        const QDate day = q.field(QStringLiteral("日期")).asDate();
        const QString m = day.toString(QStringLiteral("yyyy-MM"));
        if (m != month) {
            month = m;
            balance = Money();
            ++months;
        }
        const Money debit = money(q, "借方"), credit = money(q, "贷方");
        QVERIFY2(debit.isZero() != credit.isZero(), qPrintable(db::shortDate(day)));
        QCOMPARE(q.field(QStringLiteral("摘要")).asString(), debit.isZero() ? QStringLiteral("支出") : QStringLiteral("收入"));
        balance += debit - credit;
        QCOMPARE(money(q, "余额"), balance);
        QVERIFY2(balance >= Money(), qPrintable(db::shortDate(day)));
    }
    QVERIFY(months >= 2);
    // The month the journal opens on is among them.
    const QDate accounting = d.select(QStringLiteral("select * from 公司信息")).field(QStringLiteral("核算时间")).asDate();
    QVERIFY(d.count(QStringLiteral("select count(*) from 现金日记帐 where ") +
                    db::dayRangeCondition(QStringLiteral("日期"), accounting, accounting.addMonths(1).addDays(-1))) > 0);
}

void TstDbTool::copiedValuesMatchTheirSource_data()
{
    addFiles();
}

void TstDbTool::copiedValuesMatchTheirSource()
{
    QFETCH(QString, file);
    Db d(file);
    // What the vehicle picker would have copied: carrier, plate and driver of one vehicle.
    for (const QString table : {QStringLiteral("集装箱运输单"), QStringLiteral("普通货物调度单")})
        QCOMPARE(d.count(QStringLiteral("select count(*) from %1 o where o.车牌号 is not null and not exists (select 1 from "
                                        "承运车辆 v where v.车牌号 = o.车牌号 and v.所属单位 = o.承运单位 and v.驾驶员 = o.驾驶员)")
                             .arg(table)),
                 qint64(0));
    // A vehicle's carrier exists.
    QCOMPARE(d.count(QStringLiteral("select count(*) from 承运车辆 v where not exists (select 1 from 下游运输商 t where "
                                    "t.单位名称 = v.所属单位)")),
             qint64(0));
    // Completion and payment only follow a dispatch.
    QCOMPARE(d.count(QStringLiteral("select count(*) from 集装箱运输单 where (执行完结 = '是' or 下游帐款结清 = '是') and "
                                    "(车牌号 is null or 调度单编号 is null or 运输金额 is null)")),
             qint64(0));
    // Goods orders carry their dispatch's carrier, vehicle, driver and completion.
    QCOMPARE(d.count(QStringLiteral("select count(*) from 普通货物运输单 o where o.调度单号 <> '' and not exists (select 1 from "
                                    "普通货物调度单 g where g.调度单号 = o.调度单号 and g.承运单位 = o.承运单位 and "
                                    "g.车牌号 = o.车牌号 and g.驾驶员 = o.驾驶员 and g.执行完结 = o.执行完结 and "
                                    "g.到达时间 is o.到达时间)")),
             qint64(0));
    QCOMPARE(d.count(QStringLiteral("select count(*) from 普通货物运输单 where 调度单号 = '' and "
                                    "(车牌号 is not null or 执行完结 = '是')")),
             qint64(0));
    // Consignees belong to existing customers, and orders go to their own
    // customer's consignees, to the consignee's city.
    QCOMPARE(d.count(QStringLiteral("select count(*) from 收货单位 c where not exists (select 1 from 上游客户 g where "
                                    "g.客户名称 = c.上游客户)")),
             qint64(0));
    for (const QString table : {QStringLiteral("集装箱运输单"), QStringLiteral("普通货物运输单")})
        QCOMPARE(d.count(QStringLiteral("select count(*) from %1 o where not exists (select 1 from 收货单位 c where "
                                        "c.单位名称 = o.收货人 and c.上游客户 = o.上游客户 and c.单位地址 like o.目的地 || '%') "
                                        "or o.运输动态 <> o.起始地 || '-' || o.目的地")
                             .arg(table)),
                 qint64(0));
}

void TstDbTool::demoFillsEveryTable()
{
    Db d(m_demo);
    for (const auto &t : db::schema::tables()) {
        // 通用 is scratch space that every statistics window empties first.
        if (t.name == QStringLiteral("通用"))
            continue;
        QVERIFY2(d.count(QStringLiteral("select count(*) from ") + t.name) > 0, qPrintable(t.name));
    }
    QVERIFY(d.count(QStringLiteral("select count(*) from 集装箱运输单")) >= 100);
    QVERIFY(d.count(QStringLiteral("select count(*) from 普通货物运输单")) >= 60);
    // Container work spans more than a year, so every month of a year view has orders.
    db::Query &q = d.select(QStringLiteral("select min(运输期限从) as a, max(运输期限从) as b from 集装箱运输单"));
    const QDate first = QDate::fromString(q.field(QStringLiteral("a")).value().toString().left(10), Qt::ISODate);
    const QDate last = QDate::fromString(q.field(QStringLiteral("b")).value().toString().left(10), Qt::ISODate);
    QVERIFY(first.daysTo(QDate::currentDate()) > 365);
    QVERIFY(last >= QDate::currentDate().addDays(-3));
    const QDate thisMonth(QDate::currentDate().year(), QDate::currentDate().month(), 1);
    QCOMPARE(d.count(QStringLiteral("select count(distinct substr(运输期限从, 1, 7)) from 集装箱运输单 where 运输期限从 >= '%1' "
                                    "and 运输期限从 < '%2'")
                         .arg(db::storedDate(thisMonth.addMonths(-12)), db::storedDate(thisMonth))),
             qint64(12));
}

void TstDbTool::demoListsShowWork_data()
{
    // The opening selections of the stage windows.
    QTest::addColumn<QString>("sql");
    QTest::newRow("container receipt") << "select count(*) from 集装箱运输单 where 回单返回='否'";
    QTest::newRow("container collection") << "select count(*) from 集装箱运输单 where 帐款结清='否'";
    QTest::newRow("container dispatch") << "select count(*) from 集装箱运输单 where 执行完结='否'";
    QTest::newRow("container undispatched") << "select count(*) from 集装箱运输单 where 车牌号 is null";
    QTest::newRow("container payment") << "select count(*) from 集装箱运输单 where (下游帐款结清='否')and(车牌号<>'')";
    QTest::newRow("goods receipt") << "select count(*) from 普通货物运输单 where 回单返回='否'";
    QTest::newRow("goods collection") << "select count(*) from 普通货物运输单 where 帐款结清='否'";
    QTest::newRow("goods to dispatch") << "select count(*) from 普通货物运输单 where (执行完结='否')and(调度单号='')";
    QTest::newRow("goods dispatch") << "select count(*) from 普通货物调度单 where 执行完结='否'";
    QTest::newRow("goods payment") << "select count(*) from 普通货物调度单 where 帐款结清='否'";
    QTest::newRow("journal this month") << "select count(*) from 现金日记帐 where 日期 >= (select 核算时间 from 公司信息)";
    QTest::newRow("shared consignee city") << "select count(*) from 普通货物调度单 d where (select count(*) from 普通货物运输单 o "
                                               "where o.调度单号 = d.调度单号) > 1";
    QTest::newRow("quote in a name") << "select count(*) from 集装箱运输单 where 上游客户 like '%''%'";
}

void TstDbTool::demoListsShowWork()
{
    QFETCH(QString, sql);
    Db d(m_demo);
    QVERIFY(d.count(sql) > 0);
}

void TstDbTool::demoHasDueVehicleAlarms()
{
    Db d(m_demo);
    db::Query &items = d.select(QStringLiteral("select * from 提醒功能初始表"));
    QList<qint64> leads;
    for (items.first(); !items.eof(); items.next())
        leads << items.field(QStringLiteral("期限")).asInteger();
    QCOMPARE(leads.size(), 5);
    const QStringList dueColumns = {QStringLiteral("养路费截止时间"), QStringLiteral("年审截止时间"), QStringLiteral("保险截止时间"),
                                    QStringLiteral("车船税截止时间")};
    const QDate today = QDate::currentDate();
    // For each kind of paper some vehicles are due (or overdue) and most are not.
    for (int i = 0; i < 4; ++i) {
        const QString limit = db::storedDate(today.addDays(leads[i]));
        const qint64 due = d.count(QStringLiteral("select count(*) from 承运车辆 where %1 <= '%2'").arg(dueColumns[i], limit));
        const qint64 fine = d.count(QStringLiteral("select count(*) from 承运车辆 where %1 > '%2'").arg(dueColumns[i], limit));
        QVERIFY2(due >= 1 && fine > due, qPrintable(dueColumns[i]));
    }
    QVERIFY(d.count(QStringLiteral("select count(*) from 承运车辆 where 年审截止时间 < '%1'").arg(db::storedDate(today))) >= 1);
    QVERIFY(d.count(QStringLiteral("select count(*) from 承运车辆 where 下次二保里程 > 0 and 公里数 >= 下次二保里程 - %1")
                        .arg(leads[4])) >= 2);
    // One vehicle without papers, which never alarms.
    QCOMPARE(d.count(QStringLiteral("select count(*) from 承运车辆 where 保险截止时间 is null and 养路费截止时间 is null and "
                                    "年审截止时间 is null and 车船税截止时间 is null and 下次二保里程 is null")),
             qint64(1));
}

void TstDbTool::demoCompanyAndOperators()
{
    Db d(m_demo);
    db::Query &c = d.select(QStringLiteral("select * from 公司信息"));
    QCOMPARE(c.recordCount(), 1);
    QVERIFY(!c.field(QStringLiteral("系统标题")).asString().isEmpty());
    // The alarms show at start, and the journal opens on this month.
    QVERIFY(c.field(QStringLiteral("自动提醒")).asBoolean());
    const QDate today = QDate::currentDate();
    QCOMPARE(c.field(QStringLiteral("核算时间")).asDate(), QDate(today.year(), today.month(), 1));

    QVERIFY(d.count(QStringLiteral("select count(*) from 权限表 where 操作口令 = '' or 操作口令 is null")) >= 1);
    // A password stored in lower case, which login must accept typed in upper case.
    QVERIFY(d.count(QStringLiteral("select count(*) from 权限表 where 操作口令 <> upper(操作口令) collate binary")) >= 1);
    QCOMPARE(d.count(QStringLiteral("select count(*) from (select 姓名 from 权限表 group by 姓名 having count(*) > 1)")), qint64(0));
}

void TstDbTool::olderFileOpensAndUpgrades()
{
    // A file as they were made before text sorted by pinyin: the demo's
    // tables and indexes declared with NOCASE.
    const QString file = m_dir.filePath(QStringLiteral("older.mdb"));
    {
        sqlite3 *h = nullptr;
        QCOMPARE(sqlite3_open(file.toUtf8().constData(), &h), SQLITE_OK);
        db::SqliteDriver::registerDialect(h);
        QStringList script{QStringLiteral("ATTACH '%1' AS demo").arg(m_demo), QStringLiteral("BEGIN")};
        Db demo(m_demo);
        db::Query &ddl = demo.select(QStringLiteral("select type, name, sql from sqlite_master where sql is not null "
                                                    "and name <> 'sqlite_sequence' order by type desc"));
        for (ddl.first(); !ddl.eof(); ddl.next()) {
            script << ddl.field(QStringLiteral("sql")).asString().replace(QStringLiteral(" COLLATE PINYIN"), QStringLiteral(" COLLATE NOCASE"));
            if (ddl.field(QStringLiteral("type")).asString() == QStringLiteral("table"))
                script << QStringLiteral("INSERT INTO main.%1 SELECT * FROM demo.%1").arg(ddl.field(QStringLiteral("name")).asString());
        }
        script << QStringLiteral("COMMIT") << QStringLiteral("DETACH demo");
        for (const QString &sql : script)
            QVERIFY2(sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK, qPrintable(sql));
        sqlite3_close(h);
    }
    const auto names = [&]() -> QStringList {
        const Run r = run({QStringLiteral("query"), file, QStringLiteral("select 客户名称 from 上游客户 order by 客户名称")});
        return r.code == 0 ? r.out.split(u'\n', Qt::SkipEmptyParts).mid(1) : QStringList{r.err};
    };
    // It opens, lists (by character code) and takes changes.
    Run r = run({QStringLiteral("check"), file});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(QStringLiteral("character code")), qPrintable(r.out));
    {
        Db d(file);
        QCOMPARE(d.connection().execute(QStringLiteral("update 上游客户 set 备注 = 'x' where 客户名称 = '武汉江汉纸业有限公司'")), 1);
    }
    const QStringList before = names();
    QCOMPARE(before.size(), 13);
    QVERIFY(before[1].startsWith(QStringLiteral("中百")));   // U+4E2D right after 东 U+4E1C
    // Upgraded it sorts by pinyin, whole and sound.
    r = run({QStringLiteral("upgrade"), file});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    r = run({QStringLiteral("check"), file});
    QVERIFY2(r.out.contains(QStringLiteral("pinyin")), qPrintable(r.out));
    const QStringList after = names();
    QCOMPARE(QSet<QString>(after.begin(), after.end()), QSet<QString>(before.begin(), before.end()));
    QVERIFY(after[1].startsWith(QStringLiteral("湖北")) && after.last().startsWith(QStringLiteral("中百")));
    r = run({QStringLiteral("query"), file, QStringLiteral("pragma integrity_check")});
    QCOMPARE(r.out.split(u'\n', Qt::SkipEmptyParts).value(1), QStringLiteral("ok"));
    QCOMPARE(Db(file).count(QStringLiteral("select count(*) from 上游客户 where 备注 = 'X'")), qint64(1));
}

void TstDbTool::demoIsDeterministic()
{
    QTemporaryDir dir;
    const QString again = dir.filePath(QStringLiteral("again.mdb"));
    dbfile::createDemo(again, false);
    sqlite3 *h = nullptr;
    QCOMPARE(sqlite3_open(m_demo.toUtf8().constData(), &h), SQLITE_OK);
    db::SqliteDriver::registerDialect(h);
    const QString attach = QStringLiteral("ATTACH '%1' AS b").arg(again);
    QCOMPARE(sqlite3_exec(h, attach.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    int compared = 0;
    for (const auto &t : db::schema::tables()) {
        if (t.name == QStringLiteral("权限表"))   // the seeded administrator is stamped with the moment of creation
            continue;
        const QString sql = QStringLiteral("select (select count(*) from (select * from main.%1 except select * from b.%1)) + "
                                           "(select count(*) from (select * from b.%1 except select * from main.%1))")
                                .arg(t.name);
        sqlite3_stmt *st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        const int differing = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        QVERIFY2(differing == 0, qPrintable(t.name));
        ++compared;
    }
    sqlite3_close(h);
    QCOMPARE(compared, 17);
}

void TstDbTool::generatedVolumesAndMix()
{
    Db d(m_generated);
    QCOMPARE(d.count(QStringLiteral("select count(*) from 集装箱运输单")), qint64(generatedOrders));
    QCOMPARE(d.count(QStringLiteral("select count(*) from 普通货物运输单")), qint64(generatedOrders));
    QCOMPARE(d.count(QStringLiteral("select count(*) from 上游客户")), qint64(1000));
    QVERIFY(d.count(QStringLiteral("select count(*) from 下游运输商")) >= 200);
    QVERIFY(d.count(QStringLiteral("select count(*) from 承运车辆")) >= 200);
    const qint64 lines = d.count(QStringLiteral("select count(*) from 普通货物运输单明细"));
    QVERIFY(lines > generatedOrders * 3 / 2 && lines < generatedOrders * 5 / 2);
    QCOMPARE(d.count(QStringLiteral("select max(n) from (select count(*) as n from 普通货物运输单明细 group by 运输单号)")), qint64(3));
    // Ten years of work, recent orders still open.
    db::Query &q = d.select(QStringLiteral("select min(运输期限从) as a from 集装箱运输单"));
    const QDate first = QDate::fromString(q.field(QStringLiteral("a")).value().toString().left(10), Qt::ISODate);
    QVERIFY(qAbs(first.daysTo(QDate::currentDate().addYears(-10))) <= 2);
    const QString yearAgo = db::storedDate(QDate::currentDate().addYears(-1));
    const qint64 old = d.count(QStringLiteral("select count(*) from 集装箱运输单 where 运输期限从 < '%1'").arg(yearAgo));
    QVERIFY(d.count(QStringLiteral("select count(*) from 集装箱运输单 where 执行完结 = '否' and 运输期限从 < '%1'").arg(yearAgo)) * 10 < old);
    // Customers are uneven: the largest has many times the median's orders.
    db::Query &sizes = d.select(QStringLiteral("select count(*) as n from 集装箱运输单 group by 上游客户 order by n desc"));
    const qint64 largest = sizes.field(QStringLiteral("n")).asInteger();
    sizes.moveTo(sizes.recordCount() / 2);
    QVERIFY(largest > 5 * sizes.field(QStringLiteral("n")).asInteger());
    QVERIFY(d.count(QStringLiteral("select count(*) from 集装箱运输单 where length(备注) > 5")) > generatedOrders / 10);
}

void TstDbTool::customerAggregateUsesIndex()
{
    // The per-customer statistics run one aggregate per customer over a
    // period; without a matching index each is a scan of the whole table, and
    // with one that lacks the summed columns each order is a row lookup.
    Db d(m_generated);
    const QString sql = QStringLiteral(
        "explain query plan select sum(应收运费) as ysyf,sum(实收运费) as ssyf,sum(数量) as sl from 集装箱运输单 where "
        "(运输期限从 between cdate('2020-1-1 0:0:0') and cdate('2020-12-31 23:59:59'))and(上游客户 = '孝感华盛贸易有限公司')");
    db::Query &plan = d.select(sql);
    QStringList details;
    for (plan.first(); !plan.eof(); plan.next())
        details << plan.field(QStringLiteral("detail")).asString();
    const QString text = details.join(QLatin1Char('\n'));
    QVERIFY2(text.contains(QStringLiteral("USING COVERING INDEX ix_cys_guest (上游客户=? AND 运输期限从>? AND 运输期限从<?)")), qPrintable(text));
}

QTEST_MAIN(TstDbTool)
#include "tst_dbtool.moc"
