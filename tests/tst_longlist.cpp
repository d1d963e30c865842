// A long list shows its first rows at once and reads the rest on the event
// loop; whatever needs the whole list waits for it and sees exactly what a
// list read in one go would; writes finish the read first; closing stops it.
#include "data/dbfile.h"
#include "db/connection.h"
#include "db/query.h"
#include "grid/dbgrideh.h"
#include "grid/gridmodel.h"
#include "grid/tablesource.h"
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <future>

namespace {

constexpr int Orders = 100000;
const QStringList listSql{QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输期限从,运输单号")};

// Orders whose period order differs from their number order, a money column
// to sum and one order with a unique consignee for locate.
void fill(db::Connection &conn)
{
    conn.execute(QStringLiteral(
        "WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x+1 FROM n WHERE x<%1) "
        "INSERT INTO 集装箱运输单 (运输单号, 上游客户, 运输期限从, 应收运费, 收货人) "
        "SELECT printf('Y%06d', x), '客户' || (x % 97), date('2020-01-01', '+' || ((x * 7919) % 2000) || ' days') || ' 00:00:00', "
        "(x % 1000) * 10000 + 2500, CASE WHEN x = 77777 THEN '唯一收货人' ELSE '收货人' || (x % 13) END FROM n")
                     .arg(Orders - 1));
}

// The list as one read would give it: numbers in order and the money total.
struct Truth { QStringList numbers; qint64 total = 0; };

Truth truthOf(db::Connection &conn)
{
    Truth t;
    auto st = conn.driver().prepare(QStringLiteral("select 运输单号 from 集装箱运输单 order by 运输期限从,运输单号"));
    while (st->step())
        t.numbers << st->value(0).toString();
    auto sum = conn.driver().prepare(QStringLiteral("select sum(应收运费) from 集装箱运输单"));
    sum->step();
    t.total = sum->value(0).toLongLong();
    return t;
}

QStringList numbersOf(db::Query &q)
{
    QStringList out;
    const int col = q.fieldIndex(QStringLiteral("运输单号"));
    for (int r = 0; r < q.recordCount(); ++r)
        out << q.storedValue(r, col).toString();
    return out;
}

bool waitForWhole(db::Query &q)
{
    if (!q.isReading())
        return true;
    QSignalSpy done(&q, &db::Query::readFinished);
    return done.wait(20000);
}

} // namespace

class TstLongList : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstChunkThenGrowthToTheWholeList();
    void wholeListOperationsWaitForTheRest_data();
    void wholeListOperationsWaitForTheRest();
    void writesFinishTheReadFirst_data();
    void writesFinishTheReadFirst();
    void closingOrReopeningStopsTheRead();
    void shortListsWorkerThreadsAndFailures();

private:
    // A copy of the file in `dir`, opened on `conn`.
    bool openCopy(const QTemporaryDir &dir, db::Connection &conn)
    {
        const QString path = dir.filePath(QStringLiteral("data.mdb"));
        if (!QFile::copy(m_conn.filePath(), path))
            return false;
        conn.setDatabaseName(path);
        conn.open();
        return true;
    }

    QTemporaryDir m_dir;
    db::Connection m_conn;
    Truth m_truth;
};

void TstLongList::initTestCase()
{
    const QString path = m_dir.filePath(QStringLiteral("data.mdb"));
    dbfile::create(path, false);
    m_conn.setDatabaseName(path);
    m_conn.open();
    fill(m_conn);
    m_truth = truthOf(m_conn);
    QCOMPARE(m_truth.numbers.size(), Orders);
}

void TstLongList::firstChunkThenGrowthToTheWholeList()
{
    db::Query q(&m_conn, QStringLiteral("q_container_ysd"));
    grid::DBGridEh grid;
    grid.setColumns({{.field = QStringLiteral("运输单号"), .footer = grid::FooterKind::Count},
                     {.field = QStringLiteral("应收运费"), .footer = grid::FooterKind::Sum}});
    grid.setQuery(&q);
    QSignalSpy appended(&q, &db::Query::rowsAppended);
    q.setSql(listSql);
    q.open();

    // The first screen and more, read before open() returns; the rest not yet.
    QVERIFY(q.isReading());
    QCOMPARE(q.rowsRead(), db::Query::FirstChunk);
    grid::GridModel *model = grid.gridModel();
    QCOMPARE(model->rowCount(), db::Query::FirstChunk);
    QCOMPARE(model->footerShown(0), QString::number(db::Query::FirstChunk));
    QVERIFY2(model->footerShown(1).isEmpty(), "a sum of part of the list would read as the total");
    QCOMPARE(q.field(QStringLiteral("运输单号")).asString(), m_truth.numbers.first());

    // The count in the footer grows with the rows, never backwards.
    int lastCount = db::Query::FirstChunk;
    bool grew = true;
    connect(model, &grid::GridModel::footerChanged, this, [&] {
        const int n = model->footerShown(0).toInt();
        grew = grew && n >= lastCount && n == model->rowCount();
        lastCount = n;
    });
    QVERIFY(waitForWhole(q));
    QVERIFY(!q.isReading());
    QVERIFY(grew);
    QVERIFY(appended.count() >= 1);
    QCOMPARE(appended.first().at(0).toInt(), db::Query::FirstChunk);
    QCOMPARE(model->rowCount(), Orders);
    QCOMPARE(model->footerShown(0), QString::number(Orders));
    QCOMPARE(model->footerShown(1), db::Query::displayOf(db::Kind::Money, m_truth.total));
    QCOMPARE(numbersOf(q), m_truth.numbers);
    QCOMPARE(q.currentRow(), 0);
}

void TstLongList::wholeListOperationsWaitForTheRest_data()
{
    // Each runs right after open, while the rest is unread, and must give
    // the answer the whole list gives.
    using Check = std::function<void(db::Query &, grid::DBGridEh &, const Truth &)>;
    QTest::addColumn<Check>("check");
    QTest::newRow("record count") << Check([](db::Query &q, grid::DBGridEh &, const Truth &) {
        QCOMPARE(q.recordCount(), Orders);
    });
    QTest::newRow("last row") << Check([](db::Query &q, grid::DBGridEh &g, const Truth &t) {
        q.last();
        QCOMPARE(q.recNo(), Orders);
        QCOMPARE(q.field(QStringLiteral("运输单号")).asString(), t.numbers.last());
        QCOMPARE(g.currentIndex().row(), Orders - 1);
    });
    QTest::newRow("locate past the first chunk") << Check([](db::Query &q, grid::DBGridEh &g, const Truth &t) {
        QVERIFY(q.locate(QStringLiteral("收货人"), QStringLiteral("唯一收货人")));
        QCOMPARE(q.field(QStringLiteral("运输单号")).asString(), QStringLiteral("Y077777"));
        QCOMPARE(t.numbers.at(q.currentRow()), QStringLiteral("Y077777"));
        QCOMPARE(g.currentIndex().row(), q.currentRow());
    });
    QTest::newRow("bookmark of a late row") << Check([](db::Query &q, grid::DBGridEh &, const Truth &t) {
        db::Query other(q.connection(), QStringLiteral("q_other"));
        other.setSql(listSql);
        other.open();
        other.last();
        const auto mark = other.bookmark();
        QVERIFY(q.gotoBookmark(mark));
        QCOMPARE(q.field(QStringLiteral("运输单号")).asString(), t.numbers.last());
    });
    QTest::newRow("move to a late row") << Check([](db::Query &q, grid::DBGridEh &, const Truth &t) {
        q.moveTo(Orders - 10);
        QCOMPARE(q.recNo(), Orders - 9);
        QCOMPARE(q.field(QStringLiteral("运输单号")).asString(), t.numbers.at(Orders - 10));
    });
    QTest::newRow("next to the end") << Check([](db::Query &q, grid::DBGridEh &, const Truth &t) {
        int n = 0;
        QString last;
        for (q.first(); !q.eof(); q.next()) {
            ++n;
            last = q.field(QStringLiteral("运输单号")).asString();
        }
        QCOMPARE(n, Orders);
        QCOMPARE(last, t.numbers.last());
    });
    QTest::newRow("column sum") << Check([](db::Query &q, grid::DBGridEh &, const Truth &t) {
        QCOMPARE(q.columnSum(q.fieldIndex(QStringLiteral("应收运费"))).toLongLong(), t.total);
    });
    QTest::newRow("footer asked for") << Check([](db::Query &, grid::DBGridEh &g, const Truth &t) {
        QCOMPARE(g.footerText(1), db::Query::displayOf(db::Kind::Money, t.total));
        QCOMPARE(g.footerText(0), QString::number(Orders));
    });
    QTest::newRow("print and export source") << Check([](db::Query &, grid::DBGridEh &g, const Truth &t) {
        auto src = g.tableSource();
        QCOMPARE(src->rowCount(), Orders);
        QCOMPARE(src->text(Orders - 1, 0), t.numbers.last());
    });
    QTest::newRow("grid scrolled to the end") << Check([](db::Query &, grid::DBGridEh &g, const Truth &) {
        g.gridModel()->fetchMore({});
        QCOMPARE(g.model()->rowCount(), Orders);
    });
}

void TstLongList::wholeListOperationsWaitForTheRest()
{
    using Check = std::function<void(db::Query &, grid::DBGridEh &, const Truth &)>;
    QFETCH(Check, check);
    db::Query q(&m_conn, QStringLiteral("q_container_ysd"));
    grid::DBGridEh grid;
    grid.setColumns({{.field = QStringLiteral("运输单号"), .footer = grid::FooterKind::Count},
                     {.field = QStringLiteral("应收运费"), .footer = grid::FooterKind::Sum}});
    grid.setQuery(&q);
    q.setSql(listSql);
    q.open();
    QVERIFY(q.isReading());
    check(q, grid, m_truth);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!q.isReading());
    QCOMPARE(grid.model()->rowCount(), Orders);
}

void TstLongList::writesFinishTheReadFirst_data()
{
    // Each write moves early rows to the end of the period order: a read
    // still stepping would meet them again.
    using Write = std::function<void(db::Query &)>;
    QTest::addColumn<Write>("write");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("command on the connection") << Write([](db::Query &q) {
        q.connection()->execute(QStringLiteral("update 集装箱运输单 set 运输期限从='2031-01-01 00:00:00' "
                                               "where 运输期限从 < '2020-02-01'"));
    }) << Orders;
    QTest::newRow("post of the current row") << Write([](db::Query &q) {
        q.edit();
        q.field(QStringLiteral("运输期限从")).setAsDate(QDate(2032, 1, 1));
        q.post();
    }) << Orders;
    QTest::newRow("transaction") << Write([](db::Query &q) {
        db::Transaction t(*q.connection());
        q.connection()->execute(QStringLiteral("update 集装箱运输单 set 运输期限从='2033-01-01 00:00:00' "
                                               "where 运输期限从 < '2020-03-01'"));
        t.commit();
    }) << Orders;
    QTest::newRow("append and post") << Write([](db::Query &q) {
        q.append();
        q.field(QStringLiteral("运输单号")).setAsString(QStringLiteral("Z000001"));
        q.field(QStringLiteral("运输期限从")).setAsDate(QDate(2019, 1, 1));
        q.post();
        QCOMPARE(q.currentRow(), Orders);   // a new row is listed after the read ones
    }) << Orders + 1;
    QTest::newRow("delete") << Write([](db::Query &q) { q.deleteRecord(); }) << Orders - 1;
}

void TstLongList::writesFinishTheReadFirst()
{
    using Write = std::function<void(db::Query &)>;
    QFETCH(Write, write);
    QFETCH(int, rowsAfter);
    // A copy of the file per case: the writes change it.
    QTemporaryDir dir;
    db::Connection conn;
    QVERIFY(openCopy(dir, conn));
    db::Query q(&conn, QStringLiteral("q_container_ysd"));
    q.setSql(listSql);
    q.open();
    QVERIFY(q.isReading());
    write(q);
    QVERIFY(!q.isReading());
    const QStringList numbers = numbersOf(q);
    QCOMPARE(numbers.size(), rowsAfter);
    QCOMPARE(QSet<QString>(numbers.begin(), numbers.end()).size(), rowsAfter);   // none read twice
}

void TstLongList::closingOrReopeningStopsTheRead()
{
    // Close: the statement goes at once, and the file can be written.
    {
        db::Query q(&m_conn, QStringLiteral("q_list"));
        q.setSql(listSql);
        q.open();
        QVERIFY(q.isReading());
        q.close();
        QVERIFY(!q.isReading());
        QCOMPARE(q.rowsRead(), 0);
        QSignalSpy appended(&q, &db::Query::rowsAppended);
        QTest::qWait(50);
        QCOMPARE(appended.count(), 0);
    }
    // A new search: the old read stops, the new list is whole and its own.
    {
        db::Query q(&m_conn, QStringLiteral("q_list"));
        q.setSql(listSql);
        q.open();
        q.reopenWith({QStringLiteral("select * from 集装箱运输单 where 上游客户='客户5'"), QStringLiteral("order by 运输单号")});
        QVERIFY(waitForWhole(q));
        QCOMPARE(q.recordCount(), Orders / 97 + 1);
    }
    // Destroyed or disconnected in the middle of a read: nothing dangles.
    {
        auto *q = new db::Query(&m_conn, QStringLiteral("q_list"));
        q->setSql(listSql);
        q->open();
        delete q;
        QCOMPARE(m_conn.execute(QStringLiteral("update 集装箱运输单 set 备注=null where 运输单号='Y000001'")), 1);
    }
    {
        QTemporaryDir dir;
        db::Connection conn;
        QVERIFY(openCopy(dir, conn));
        db::Query q(&conn, QStringLiteral("q_list"));
        q.setSql(listSql);
        q.open();
        conn.close();
        QVERIFY(!q.isActive());
        QVERIFY(!q.isReading());
    }
}

void TstLongList::shortListsWorkerThreadsAndFailures()
{
    db::Query q(&m_conn, QStringLiteral("q_list"));
    QSignalSpy appended(&q, &db::Query::rowsAppended);
    QSignalSpy finished(&q, &db::Query::readFinished);
    q.reopenWith({QStringLiteral("select * from 集装箱运输单 where 收货人='收货人3'"), QStringLiteral("order by 运输单号 limit 200")});
    QVERIFY(!q.isReading());
    QCOMPARE(q.rowsRead(), 200);
    QTest::qWait(20);
    QCOMPARE(appended.count(), 0);
    QCOMPARE(finished.count(), 0);

    // The engine failing past the first chunk closes the list, as a failed
    // open leaves it, and says why.
    QSignalSpy failed(&q, &db::Query::readFailed);
    q.reopenWith({QStringLiteral("select * from 集装箱运输单 where cdate(case when 运输单号='Y090000' then '2023-2-29' else '2020-1-1' end) is not null"),
                  QStringLiteral("order by 运输单号")});
    QVERIFY(q.isReading());
    q.fetchAll();
    QCOMPARE(failed.count(), 1);
    QVERIFY(!failed.first().at(0).toString().isEmpty());
    QVERIFY(!q.isActive());
    QVERIFY(!q.isReading());

    // A report's worker thread has no event loop to read the rest on.
    const QString path = m_conn.filePath();
    const auto [reading, rows] = std::async(std::launch::async, [path] {
        db::Connection conn;
        conn.setDatabaseName(path);
        conn.open();
        db::Query q(&conn, QStringLiteral("q_worker"));
        q.setSql(listSql);
        q.open();
        return std::make_pair(q.isReading(), q.rowsRead());
    }).get();
    QVERIFY(!reading);
    QCOMPARE(rows, Orders);
}

QTEST_MAIN(TstLongList)
#include "tst_longlist.moc"
