// The import of the old program's Access file: real files written by Access
// (tests/data/jet), checked value by value against mdb-export, an
// independent reader of the same files.
#include "app/enter.h"
#include "app/main.h"
#include "data/dbfile.h"
#include "data/session.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/money.h"
#include "db/text.h"
#include "import/importer.h"
#include "import/startupimport.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include "db/sqlitedriver.h"
#include <unistd.h>

namespace {

const QString JetDir = QStringLiteral(VELORIN_JET_DIR);

QString jet(const QString &name) { return JetDir + QLatin1Char('/') + name; }

// Northwind's orders and customers under our names.
const char *const NorthwindMap = R"(; Northwind as a firm's own names
[集装箱运输单]
from = Orders
运输单号 = OrderID
上游客户 = CustomerID
运输期限从 = OrderDate
运输期限到 = RequiredDate
应收运费 = Freight
船名航班 = ShipName
目的地 = ShipCity

[上游客户]
from = Customers
客户名称 = CompanyName
联系人 = ContactName
联系地址 = Address
联系电话 = Phone
)";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A cell of mdb-export's CSV: null when unquoted and empty.
using Csv = std::vector<std::vector<std::optional<QString>>>;

Csv parseCsv(const QString &text)
{
    Csv rows(1);
    QString cell;
    bool quoted = false, inQuotes = false, any = false;
    auto endCell = [&] {
        rows.back().push_back(quoted || !cell.isEmpty() ? std::optional<QString>(cell) : std::nullopt);
        cell.clear();
        quoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        any = true;
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                cell += text[++i];
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = quoted = true;
        } else if (c == QLatin1Char(',')) {
            endCell();
        } else if (c == QLatin1Char('\n')) {
            endCell();
            rows.emplace_back();
            any = false;
        } else {
            cell += c;
        }
    }
    if (any)
        endCell();
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// TABLE of an Access file as mdb-export reads it, the header first.
Csv mdbExport(const QString &file, const QString &table)
{
    QProcess p;
    p.start(QStringLiteral("mdb-export"), {QStringLiteral("-b"), QStringLiteral("strip"), QStringLiteral("-D"), QStringLiteral("%Y-%m-%d %H:%M:%S"), QStringLiteral("-T"),
                                           QStringLiteral("%Y-%m-%d %H:%M:%S"), file, table});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return parseCsv(QString::fromUtf8(p.readAllStandardOutput()));
}

// Rows of a select on a file of ours, every value as text (null stays null).
std::vector<std::vector<std::optional<QString>>> select(const QString &path, const QString &sql)
{
    std::vector<std::vector<std::optional<QString>>> out;
    db::SqliteDriver file(path, db::SqliteDriver::Mode::ReadOnly);
    auto st = file.prepare(sql);
    while (st->step()) {
        out.emplace_back();
        for (int c = 0; c < st->columnCount(); ++c)
        {
            const db::Cell cell = st->cell(c);
            QString text = st->value(c).toString();
            if (cell.type == db::Cell::Real) {   // as the engine writes a real: 2.0, not 2
                text = QString::asprintf("%.15g", cell.real);
                if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) && !text.contains(QLatin1Char('n')))
                    text += QStringLiteral(".0");
            }
            out.back().push_back(cell.type == db::Cell::Null ? std::nullopt : std::optional<QString>(text));
        }
    }
    return out;
}

QString scalar(const QString &path, const QString &sql)
{
    const auto rows = select(path, sql);
    return rows.empty() || rows[0].empty() || !rows[0][0] ? QString() : *rows[0][0];
}

const jetimport::TableReport *tableReport(const jetimport::Report &r, const QString &table)
{
    for (const auto &t : r.tables)
        if (t.table == table)
            return &t;
    return nullptr;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

// A data folder holding the old program's file as data.mdb (and the map
// for Northwind's names), the working directory while it lives.
struct OldFolder {
    QTemporaryDir dir;
    QString oldCwd = QDir::currentPath();
    OldFolder()
    {
        QFile::copy(jet(QStringLiteral("nwind.mdb")), file(QStringLiteral("data.mdb")));
        QFile::setPermissions(file(QStringLiteral("data.mdb")), QFile::ReadOwner | QFile::WriteOwner);
        writeFile(file(QStringLiteral("data.map.ini")), NorthwindMap);
        QDir::setCurrent(dir.path());
    }
    ~OldFolder() { QDir::setCurrent(oldCwd); }
    QString file(const QString &name) const { return dir.filePath(name); }
};

void logIn(QDialog *d)
{
    if (auto *e = qobject_cast<TForm_Enter *>(d)) {
        e->DBLookupComboBox1->setCurrentIndex(0);
        e->bitbtn_ok->click();
    }
}

const QString Question = S("data.mdb 是旧版程序的 Access 数据库文件，是否将其数据导入新数据库？原文件将保留为 data.access.mdb。");

// The program's start-up in a child process, killed by the test in the
// middle of the import: the child stops where the progress bar first moves.
int startupChild()
{
    int argc = 1;
    char name[] = "tst_import";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QDir::setCurrent(qEnvironmentVariable("VELORIN_IMPORT_CHILD"));
    msg::setResponder([](const msg::Request &) { return QMessageBox::Yes; });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<QProgressDialog *>(w); p && p->value() > 0 && p->value() < p->maximum()) {
                std::fputs("importing\n", stdout);
                std::fflush(stdout);
                ::sleep(60);
            }
    });
    watch.start(0);
    TForm_main main;
    TDm1 dm;
    main.FormActivate();
    return 0;
}

} // namespace

class TstImport : public QObject {
    Q_OBJECT
private slots:
    void northwindThroughMap_data();
    void northwindThroughMap();
    void datesAndTextOfJet4();
    void valuesOfEveryKind();
    void refusedLeavesNothing_data();
    void refusedLeavesNothing();
    void namesMatchWithoutMap();
    void startupQuestion_data();
    void startupQuestion();
    void killDuringStartupImport();
};

void TstImport::northwindThroughMap_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("key");          // ours, the column rows are matched by
    QTest::addColumn<QStringList>("columns");  // ours = old, as in the map
    QTest::newRow("orders") << S("集装箱运输单") << S("Orders") << S("运输单号")
                            << QStringList{S("运输单号=OrderID"), S("上游客户=CustomerID"), S("运输期限从=OrderDate"),
                                           S("运输期限到=RequiredDate"), S("应收运费=Freight"), S("船名航班=ShipName"),
                                           S("目的地=ShipCity")};
    QTest::newRow("customers") << S("上游客户") << S("Customers") << S("客户名称")
                               << QStringList{S("客户名称=CompanyName"), S("联系人=ContactName"), S("联系地址=Address"),
                                              S("联系电话=Phone")};
}

void TstImport::northwindThroughMap()
{
    QFETCH(QString, table);
    QFETCH(QString, source);
    QFETCH(QString, key);
    QFETCH(QStringList, columns);
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("map.ini")), target = dir.filePath(QStringLiteral("new.mdb"));
    writeFile(map, NorthwindMap);
    const jetimport::Report r = jetimport::importFile(jet(QStringLiteral("nwind.mdb")), target, map);
    QCOMPARE(r.format, QStringLiteral("Jet 3"));
    QVERIFY(dbfile::check(target).isEmpty());
    QVERIFY(r.checkProblems.isEmpty());
    QCOMPARE(entries(dir.path()), QStringList({QStringLiteral("map.ini"), QStringLiteral("new.mdb")}));

    // Every row and mapped value against mdb-export's.
    const Csv ref = mdbExport(jet(QStringLiteral("nwind.mdb")), source);
    QVERIFY2(ref.size() > 1, "mdb-export (Debian package mdbtools) must be installed");
    QStringList ours, theirs;
    for (const QString &c : columns) {
        ours << c.section(QLatin1Char('='), 0, 0);
        theirs << c.section(QLatin1Char('='), 1);
    }
    const auto got = select(target, QStringLiteral("select %1 from %2").arg(ours.join(QLatin1Char(',')), table));
    QCOMPARE(qsizetype(got.size()), qsizetype(ref.size() - 1));
    const auto *rep = tableReport(r, table);
    QVERIFY(rep);
    QCOMPARE(rep->source, source);
    QCOMPARE(rep->rowsRead, qint64(got.size()));
    QCOMPARE(rep->rowsWritten, qint64(got.size()));
    QCOMPARE(rep->refusedValues(), qint64(0));
    QHash<QString, const std::vector<std::optional<QString>> *> byKey;
    for (const auto &row : got)
        byKey.insert(row[0].value_or(QString()), &row);
    const qsizetype keyAt = ref[0].size() > 0 ? [&] {
        for (size_t i = 0; i < ref[0].size(); ++i)
            if (ref[0][i] == theirs[0])
                return qsizetype(i);
        return qsizetype(-1);
    }() : -1;
    QVERIFY(keyAt >= 0);
    db::Money freight;
    for (size_t r1 = 1; r1 < ref.size(); ++r1) {
        const auto *row = byKey.value(ref[r1][size_t(keyAt)].value_or(QString()));
        QVERIFY2(row, qPrintable(ref[r1][size_t(keyAt)].value_or(QString())));
        for (qsizetype c = 0; c < ours.size(); ++c) {
            size_t at = 0;
            while (at < ref[0].size() && ref[0][at] != theirs[c])
                ++at;
            QVERIFY(at < ref[0].size());
            std::optional<QString> expected = ref[r1][at];
            if (ours[c] == S("应收运费") && expected) {
                // Money: exact, ten-thousandths.
                const auto m = db::Money::parse(*expected);
                QVERIFY(m);
                freight += *m;
                expected = QString::number(m->raw());
            }
            QCOMPARE((*row)[size_t(c)], expected);
        }
    }
    if (table == S("集装箱运输单")) {
        QCOMPARE(got.size(), size_t(830));
        QCOMPARE(freight, db::Money::fromRaw(649426900));   // 64942.69
        QCOMPARE(scalar(target, S("select sum(应收运费) from 集装箱运输单")), QStringLiteral("649426900"));
        // New orders of ours show up in the stage windows: the status columns got their "否".
        QCOMPARE(scalar(target, S("select count(*) from 集装箱运输单 where 回单返回='否' and 帐款结清='否' and 执行完结='否' "
                                  "and 下游帐款结清='否'")),
                 QStringLiteral("830"));
        QVERIFY(rep->extraColumns.contains(QStringLiteral("EmployeeID")));
        QVERIFY(rep->emptyColumns.contains(S("箱号")));
        QVERIFY(r.otherTables.contains(S("Umsätze")) && r.otherTables.contains(QStringLiteral("Order Details")));
    } else {
        QCOMPARE(got.size(), size_t(91));
        const auto oce = select(target, S("select 客户名称 from 上游客户 where 客户名称 like 'Océ%'"));
        QCOMPARE(oce.size(), size_t(1));
        QCOMPARE(*oce[0][0], S("Océano Atlántico Ltda."));
    }
    // The first rows a fresh file holds stay where the old file has none.
    QCOMPARE(scalar(target, S("select count(*) from 提醒功能初始表")), QStringLiteral("5"));
    QVERIFY(tableReport(r, S("公司信息"))->keptFreshRows);
    QVERIFY(r.text().contains(S("集装箱运输单")) && r.html().contains(S("Customers")));
}

void TstImport::datesAndTextOfJet4()
{
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("map.ini")), target = dir.filePath(QStringLiteral("new.mdb"));
    writeFile(map, S("[通用]\nfrom = DateTest\nnumbera = IDCol\ndatea = DateTimeCol\ndateb = DateCol\n"
                     "texta = LongTextCol\ntextb = ShortTextCol\n")
                       .toUtf8());
    const auto r = jetimport::importFile(jet(QStringLiteral("DateTestDatabase.mdb")), target, map);
    QCOMPARE(r.format, QStringLiteral("Jet 4"));
    const Csv ref = mdbExport(jet(QStringLiteral("DateTestDatabase.mdb")), QStringLiteral("DateTest"));
    QCOMPARE(ref.size(), size_t(7));
    const auto got = select(target, QStringLiteral("select numbera, datea, dateb, texta, textb from 通用 order by numbera"));
    QCOMPARE(got.size(), size_t(6));
    const auto *t = tableReport(r, S("通用"));
    QCOMPARE(t->rowsWritten, qint64(6));
    // Years before 1900 are reported, never invented: the refused values
    // are the file's own pre-1900 dates, left empty.
    QCOMPARE(t->refusedValues(), qint64(4));
    for (const auto &issue : t->refused) {
        QCOMPARE(issue.count, qint64(2));
        QCOMPARE(issue.firstRow, qint64(3));
        QVERIFY2(issue.example.startsWith(issue.column == QStringLiteral("datea") ? QStringLiteral("1898-") : QStringLiteral("1899-")),
                 qPrintable(issue.example));
        QVERIFY(r.text().contains(issue.example));
    }
    for (size_t i = 0; i < got.size(); ++i) {
        const auto &row = got[i];
        const auto &exp = ref[i + 1];
        QCOMPARE(row[0], std::optional<QString>(*exp[0] + QStringLiteral(".0")));
        QCOMPARE(row[3], exp[4]);   // memo, its line break included
        QCOMPARE(row[4], exp[5]);
        const QString label = *exp[4];
        if (label.startsWith(QStringLiteral("Pre-")))
            QVERIFY(!row[1] && !row[2]);
        else if (label == QStringLiteral("Year 9999"))
            QCOMPARE(*row[1], QStringLiteral("9999-01-01 00:00:00"));   // mdb-export itself cannot show this year
        else
            QCOMPARE(row[1], exp[1]);
    }
}

void TstImport::valuesOfEveryKind()
{
    // Northwind's products and order lines into columns of every kind of ours.
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("map.ini")), target = dir.filePath(QStringLiteral("new.mdb"));
    writeFile(map, S("[集装箱运输单]\nfrom = Products\n运输单号 = ProductID\n回单返回 = Discontinued\n帐款结清 = ProductName\n"
                     "应收运费 = UnitPrice\n数量 = UnitsInStock\n箱号 = UnitPrice\n运输期限从 = QuantityPerUnit\n"
                     "[上游客户]\nfrom = Products\n客户名称 = ProductName\n停用 = Discontinued\n"
                     "[普通货物运输单明细]\nfrom = Order Details\n运输单号 = OrderID\n数量 = Discount\n应收运费 = UnitPrice\n"
                     "[承运车辆]\nfrom = Employees\n车牌号 = LastName\n保险购买时间 = BirthDate\n公里数 = ReportsTo\n")
                       .toUtf8());
    const auto r = jetimport::importFile(jet(QStringLiteral("nwind.mdb")), target, map);
    const Csv products = mdbExport(jet(QStringLiteral("nwind.mdb")), QStringLiteral("Products"));
    const auto got = select(target, S("select 运输单号, 回单返回, 帐款结清, 应收运费, 数量, 箱号, 运输期限从 from 集装箱运输单 order by rowid"));
    const auto stopped = select(target, S("select 客户名称, 停用 from 上游客户 order by rowid"));
    QCOMPARE(got.size(), products.size() - 1);
    QCOMPARE(stopped.size(), products.size() - 1);
    for (size_t i = 0; i < got.size(); ++i) {
        const auto &p = products[i + 1];   // ProductID,ProductName,...,UnitPrice(5),UnitsInStock(6),...,Discontinued(9)
        QCOMPARE(*got[i][0], *p[0]);
        QCOMPARE(*got[i][1], *p[9] == QStringLiteral("1") ? S("是") : S("否"));          // yes/no into 是/否 text
        QCOMPARE(*got[i][2], *p[1]);                                                        // taken as it is
        QCOMPARE(*got[i][3], QString::number(db::Money::parse(*p[5])->raw()));              // currency exact
        QCOMPARE(got[i][4]->toDouble(), p[6]->toDouble());                                  // integer into a number
        QCOMPARE(*got[i][5], db::Money::parse(*p[5])->toPlainString());                     // currency into text
        QVERIFY(!got[i][6]);                                                                // "10 boxes" is no date
        QCOMPARE(*stopped[i][1], *p[9]);                                                    // yes/no into yes/no
    }
    const auto *orders = tableReport(r, S("集装箱运输单"));
    QCOMPARE(orders->takenAsTheyAre.size(), size_t(1));
    QCOMPARE(orders->takenAsTheyAre[0].column, S("帐款结清"));
    QCOMPARE(orders->takenAsTheyAre[0].count, qint64(products.size() - 1));
    QCOMPARE(orders->takenAsTheyAre[0].example, *products[1][1]);
    QCOMPARE(orders->refused.size(), size_t(1));
    QCOMPARE(orders->refused[0].reason, S("不是日期"));
    // Singles come over as typed: 0.05, not 0.0500000007 (mdb-export shows 0.050000001).
    const Csv lines = mdbExport(jet(QStringLiteral("nwind.mdb")), QStringLiteral("Order Details"));
    const auto discounts = select(target, S("select 数量 from 普通货物运输单明细 order by rowid"));
    QCOMPARE(discounts.size(), lines.size() - 1);
    for (size_t i = 0; i < discounts.size(); ++i)
        QCOMPARE(discounts[i][0]->toDouble(), QString::number(lines[i + 1][4]->toFloat(), 'g', 7).toDouble());
    QCOMPARE(scalar(target, S("select count(*) from 普通货物运输单明细")), QStringLiteral("2155"));
    // The OLE picture is skipped and counted; dates and whole numbers of the employees come over.
    const auto *cars = tableReport(r, S("承运车辆"));
    QCOMPARE(cars->unreadableColumns, QStringList{QStringLiteral("Photo")});
    QVERIFY(cars->skippedColumns() > 1);
    const Csv employees = mdbExport(jet(QStringLiteral("nwind.mdb")), QStringLiteral("Employees"));
    const auto carRows = select(target, S("select 车牌号, 保险购买时间, 公里数 from 承运车辆 order by rowid"));
    QCOMPARE(carRows.size(), employees.size() - 1);
    for (size_t i = 0; i < carRows.size(); ++i) {
        QCOMPARE(carRows[i][0], employees[i + 1][1]);
        QCOMPARE(carRows[i][1], employees[i + 1][5]);
        QCOMPARE(carRows[i][2], employees[i + 1][16]);
    }
}

void TstImport::refusedLeavesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text file") << "text" << S("不是 Access 数据库文件");
    QTest::newRow("cut inside a page") << "cut" << S("不完整");
    QTest::newRow("cut at a page") << "cutpage" << S("不完整");
    QTest::newRow("existing target") << "exists" << S("文件已存在");
    QTest::newRow("map: unknown table of ours") << "map:[集装箱运输单x]\nfrom = Orders\n" << S("新数据库没有表 集装箱运输单x");
    QTest::newRow("map: unknown old table") << "map:[集装箱运输单]\nfrom = Ordres\n" << S("旧文件中没有表 Ordres");
    QTest::newRow("map: unknown column of ours") << "map:[集装箱运输单]\nfrom = Orders\n运费 = Freight\n" << S("没有列 运费");
    QTest::newRow("map: unknown old column") << "map:[集装箱运输单]\nfrom = Orders\n应收运费 = Fracht\n"
                                             << S("旧表 Orders 没有列 Fracht");
    QTest::newRow("map: OLE column") << "map:[承运车辆]\nfrom = Employees\n汽车照片 = Photo\n" << S("是OLE 对象, 不能导入");
    QTest::newRow("map: no section") << "map:from = Orders\n" << S("第 1 行: 在第一个 [表名] 之前");
}

void TstImport::refusedLeavesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.mdb")), target = dir.filePath(QStringLiteral("new.mdb"));
    const QByteArray nwind = readFile(jet(QStringLiteral("nwind.mdb")));
    QString map;
    if (kind == QStringLiteral("text"))
        writeFile(old, "Standard text, no database\n");
    else if (kind == QStringLiteral("cut"))
        writeFile(old, nwind.left(nwind.size() / 2 + 100));
    else if (kind == QStringLiteral("cutpage"))
        writeFile(old, nwind.left(nwind.size() / 2 / 2048 * 2048));
    else
        writeFile(old, nwind);
    if (kind == QStringLiteral("exists"))
        writeFile(target, "somebody's file");
    if (kind.startsWith(QStringLiteral("map:"))) {
        map = dir.filePath(QStringLiteral("map.ini"));
        writeFile(map, kind.mid(4).toUtf8());
    } else if (kind == QStringLiteral("cutpage")) {
        // Orders live in the second half of the file.
        map = dir.filePath(QStringLiteral("map.ini"));
        writeFile(map, NorthwindMap);
    }
    const QStringList before = entries(dir.path());
    try {
        jetimport::importFile(old, target, map);
        QFAIL("the import did not refuse");
    } catch (const db::DbError &e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QCOMPARE(entries(dir.path()), before);
    if (kind == QStringLiteral("exists"))
        QCOMPARE(readFile(target), QByteArray("somebody's file"));
}

void TstImport::namesMatchWithoutMap()
{
    // No Access file with our Chinese names can be written here: the old
    // file's tables as the reader describes them, named as the old program
    // names them, with a column of a firm's own and a picture.
    using jetimport::JetType;
    const std::vector<jetimport::JetTable> old = {
        {.name = S("上游客户"),
         .columns = {{S("客户名称"), JetType::Text}, {S("联系人"), JetType::Text}, {S("传真"), JetType::Text},
                     {S("照片"), JetType::Ole}, {S("停用"), JetType::YesNo}},
         .rows = 3},
        {.name = QStringLiteral("TONGYONG"), .columns = {{QStringLiteral("TEXTA"), JetType::Text}}, .rows = 0},
        {.name = QStringLiteral("通用"), .columns = {{QStringLiteral("TEXTA"), JetType::Text}, {QStringLiteral("MoneyA"), JetType::Currency}}, .rows = 1},
        {.name = S("旧程序自己的表"), .columns = {{S("甲"), JetType::Text}}, .rows = 1},
    };
    QStringList others;
    const auto plans = jetimport::plan(old, nullptr, &others);
    QCOMPARE(plans.size(), size_t(18));
    QCOMPARE(others, QStringList({QStringLiteral("TONGYONG"), S("旧程序自己的表")}));
    for (const auto &p : plans) {
        if (p.report.table == S("上游客户")) {
            QCOMPARE(p.report.source, S("上游客户"));
            QCOMPARE(p.report.extraColumns, QStringList{S("传真")});
            QCOMPARE(p.report.unreadableColumns, QStringList{S("照片")});
            QCOMPARE(p.report.emptyColumns.size(), qsizetype(15 - 3));
            QCOMPARE(p.columns[0].source, 0);
            QCOMPARE(p.columns[11].source, 4);   // 停用
        } else if (p.report.table == S("通用")) {
            QCOMPARE(p.columns[0].source, 0);    // texta: letters' case does not matter
            QCOMPARE(p.columns[6].source, 1);    // moneya
            QVERIFY(p.report.extraColumns.isEmpty());
        } else {
            QVERIFY2(!p.source && p.report.source.isEmpty(), qPrintable(p.report.table));
        }
    }
    // A real file without a map: Northwind names none of our tables, and
    // says so; the new file holds only the rows a fresh one holds.
    QTemporaryDir dir;
    const auto r = jetimport::importFile(jet(QStringLiteral("nwind.mdb")), dir.filePath(QStringLiteral("new.mdb")));
    QCOMPARE(r.rowsWritten(), qint64(0));
    QCOMPARE(r.otherTables.size(), qsizetype(9));
    QVERIFY(r.text().contains(S("旧文件中没有的表")));
}

void TstImport::startupQuestion_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("keptExists");   // data.access.mdb already there
    QTest::newRow("yes") << QMessageBox::Yes << false;
    QTest::newRow("no") << QMessageBox::No << false;
    QTest::newRow("yes, but the old name is taken") << QMessageBox::Yes << true;
}

void TstImport::startupQuestion()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, keptExists);
    velorin::startup_done = false;
    OldFolder folder;
    if (keptExists)
        writeFile(folder.file(QStringLiteral("data.access.mdb")), "an earlier copy");
    const QByteArray original = readFile(folder.file(QStringLiteral("data.mdb")));
    const QStringList before = entries(folder.dir.path());
    TForm_main main;
    TDm1 dm;
    MessageScript messages;
    messages.answer(answer);
    QString reportShown;
    ModalDriver driver([&](QDialog *d) {
        logIn(d);
        if (auto *w = qobject_cast<jetimport::ImportReportWindow *>(d)) {
            reportShown = w->html();
            // The report prints.
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(folder.file(QStringLiteral("report.pdf")));
            w->print(&printer);
            w->findChild<QPushButton *>(QStringLiteral("bitbtn_close"))->click();
        }
    });
    main.FormActivate();
    QVERIFY(!messages.seen().isEmpty());
    const msg::Request &q = messages.seen().first();
    QCOMPARE(q.text, Question);
    QCOMPARE(q.caption, S("请选择"));
    QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(q.defaultButton, QMessageBox::No);
    const bool imported = answer == QMessageBox::Yes && !keptExists;
    if (imported) {
        QCOMPARE(messages.seen().size(), qsizetype(1));
        QVERIFY(velorin::startup_done && !main.isEnded());
        QCOMPARE(driver.shown, QStringList({QStringLiteral("TForm_Enter"), QStringLiteral("jetimport::ImportReportWindow")}));
        QVERIFY(reportShown.contains(QStringLiteral("Orders")));
        QCOMPARE(readFile(folder.file(QStringLiteral("data.access.mdb"))), original);
        QVERIFY(dbfile::check(folder.file(QStringLiteral("data.mdb"))).isEmpty());
        QCOMPARE(scalar(folder.file(QStringLiteral("data.mdb")), S("select count(*) from 集装箱运输单")), QStringLiteral("830"));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("data.mdb.import"))));
        QVERIFY(QFileInfo(folder.file(QStringLiteral("report.pdf"))).size() > 1000);
        return;
    }
    // Nothing changed; the program ends, saying why.
    QVERIFY(main.isEnded() && main.exitCode() == 1 && !velorin::startup_done);
    QCOMPARE(messages.seen().size(), qsizetype(2));
    QVERIFY(messages.last().startsWith(S("系统数据库没有连接，请与软件公司联系！")));
    if (keptExists)
        QVERIFY2(messages.last().contains(S("data.access.mdb 已存在")), qPrintable(messages.last()));
    QCOMPARE(readFile(folder.file(QStringLiteral("data.mdb"))), original);
    QCOMPARE(entries(folder.dir.path()), before);
    QVERIFY(driver.shown.isEmpty());
}

void TstImport::killDuringStartupImport()
{
    OldFolder folder;
    const QByteArray original = readFile(folder.file(QStringLiteral("data.mdb")));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELORIN_IMPORT_CHILD"), folder.dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QByteArray said;
    while (!said.contains("importing") && child.state() == QProcess::Running && child.waitForReadyRead(30000))
        said += child.readAllStandardOutput();
    QVERIFY2(said.contains("importing"), said.constData());
    child.kill();
    QVERIFY(child.waitForFinished());
    // Killed in the middle: the old file is where it was, as it was.
    QCOMPARE(readFile(folder.file(QStringLiteral("data.mdb"))), original);
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("data.access.mdb"))));
    // The next start imports it, and clears what the killed one left.
    velorin::startup_done = false;
    TForm_main main;
    TDm1 dm;
    MessageScript messages;
    ModalDriver driver(logIn);
    main.FormActivate();
    QVERIFY(velorin::startup_done);
    QCOMPARE(readFile(folder.file(QStringLiteral("data.access.mdb"))), original);
    QVERIFY(dbfile::check(folder.file(QStringLiteral("data.mdb"))).isEmpty());
    QCOMPARE(entries(folder.dir.path()).filter(QStringLiteral(".import")), QStringList());
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("VELORIN_IMPORT_CHILD"))
        return startupChild();
    QApplication app(argc, argv);
    TstImport t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_import.moc"
