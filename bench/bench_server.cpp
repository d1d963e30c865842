// Figures for the README: the same work on the file and on a PostgreSQL
// server over its Unix socket, on the generated 100,000-order database:
// moving it onto the server and back (velorin-db copy), opening the
// container order list, the per-customer income aggregate, the customer
// summary window over every customer; and how many of the demo's and the
// generator's names the server's pinyin order puts elsewhere than the file.
//
//   tests/with-server.sh build/bench_server [ORDERS]     (default: 100000)
//
// Without a server (VELORIN_TEST_SERVER) it says so and does nothing.
#include "app/windowregistry.h"
#include "data/dbcopy.h"
#include "data/dbfile.h"
#include "data/dm1.h"
#include "db/collation.h"
#include "db/dberror.h"
#include "db/pgdriver.h"
#include "db/query.h"
#include "dbctrls/dbctrls.h"
#include "generators/generators.h"
#include "grid/dbgrideh.h"
#include "statistics/summary.h"
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <QHash>
#include <algorithm>
#include <cstdio>

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }
double ms(const QElapsedTimer &t) { return t.nsecsElapsed() / 1e6; }

QString serverDatabase(const QString &name)
{
    QUrl url(qEnvironmentVariable("VELORIN_TEST_SERVER"));
    {
        db::PgDriver admin(url.toString());
        admin.execute(S("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        admin.execute(S("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
    }
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

struct ListTimes { double first, whole; int rows; };

ListTimes openList(db::Connection &c)
{
    ListTimes best{1e18, 1e18, 0};
    for (int i = 0; i < 3; ++i) {
        db::Query q(&c, S("q_container_ysd"));
        q.setSql({S("select * from 集装箱运输单"), S("order by 运输期限从,运输单号")});
        QElapsedTimer t;
        t.start();
        q.open();
        best.first = std::min(best.first, ms(t));
        q.fetchAll();
        best.whole = std::min(best.whole, ms(t));
        best.rows = q.recordCount();
    }
    return best;
}

// The statistics windows' per-customer aggregate, every customer, warm.
std::pair<double, double> perCustomer(db::Connection &c, int year)
{
    db::Query q(&c, S("q"));
    q.reopenWith({S("select * from 上游客户"), S("order by 客户名称")});
    QStringList customers;
    for (q.first(); !q.eof(); q.next())
        customers << q.field(S("客户名称")).asString();
    const QString period = S("(运输期限从 between cdate('%1-1-1 0:0:0') and cdate('%1-12-31 23:59:59'))").arg(year);
    std::vector<double> times;
    for (int pass = 0; pass < 2; ++pass) {   // the first warms the caches
        times.clear();
        for (const QString &cust : customers) {
            QElapsedTimer t;
            t.start();
            q.close();
            q.setSql({S("select sum(应收运费) as ysyf,sum(实收运费) as ssyf,sum(数量) as sl from 集装箱运输单"), S(" where "),
                      period + S("and(上游客户 = '") + cust + S("')")});
            q.open();
            times.push_back(ms(t));
        }
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// The customer summary window over a year, 统计 pressed: best of 3.
std::pair<double, int> summary(TDm1 &dm, int year)
{
    std::unique_ptr<QDialog> d(app::WindowRegistry::create(S("TForm_sts_cont_guest"), nullptr));
    auto *w = qobject_cast<stats::SummaryWindow *>(d.get());
    dm.q_tongyong->reopenWith({S("select * from "), S("通用")});
    w->findChild<dbctrls::DBDateEdit *>(S("DBDateTimeEditEh1"))->setDate(QDate(year, 1, 1));
    w->findChild<dbctrls::DBDateEdit *>(S("DBDateTimeEditEh2"))->setDate(QDate(year, 12, 31));
    w->resize(1100, 700);
    w->show();
    qApp->processEvents();
    double best = 1e18;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        w->findChild<QAbstractButton *>(S("SpeedButton1"))->click();
        w->grid()->viewport()->repaint();
        best = std::min(best, ms(t));
    }
    return {best, dm.q_tongyong->recordCount()};
}

// Names of a database in the file's order and in the server's: how many
// stand elsewhere.
int sortedElsewhere(const QString &url, const QString &table, const QString &column, int *total)
{
    db::PgDriver d(url);
    auto st = d.prepare(S("select %1 from %2 where %1 is not null order by %1").arg(column, table));
    QStringList server;
    while (st->step())
        server << st->value(0).toString();
    QStringList file = server;
    std::stable_sort(file.begin(), file.end(), [](const QString &a, const QString &b) { return db::compareText(a, b) < 0; });
    // The names that must move to turn one order into the other: all but
    // the longest run the two orders share (a longest increasing
    // subsequence of the file's ranks in the server's order).
    QHash<QString, QList<int>> rank;
    for (int i = 0; i < file.size(); ++i)
        rank[file[i]] << i;
    std::vector<int> ranks, tails;
    for (const QString &n : server)
        ranks.push_back(rank[n].takeFirst());
    for (int r : ranks) {
        auto it = std::lower_bound(tails.begin(), tails.end(), r);
        if (it == tails.end())
            tails.push_back(r);
        else
            *it = r;
    }
    *total = int(server.size());
    int shown = 0;
    for (int i = 0; i < server.size() && shown < 3; ++i)
        if (server[i] != file[i]) {
            std::printf("      e.g. server %s / file %s\n", qPrintable(server[i]), qPrintable(file[i]));
            ++shown;
        }
    return *total - int(tails.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("VELORIN_TEST_SERVER")) {
        std::printf("bench_server: no server; run it as tests/with-server.sh %s\n", argv[0]);
        return 0;
    }
    const int orders = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    try {
        QTemporaryDir work;
        QDir::setCurrent(work.path());
        const QString file = S("/tmp/velorin-bench-server-%1.mdb").arg(orders);
        if (!QFileInfo::exists(file) || !dbfile::check(file).isEmpty()) {
            std::printf("generating %s ...\n", qPrintable(file));
            dbfile::createGenerated(file, orders, true);
        }
        const QString url = serverDatabase(S("velorin_bench"));
        std::printf("bench_server: %d orders; file %s, server over its Unix socket\n\n", orders, qPrintable(file));

        QElapsedTimer t;
        t.start();
        const dbcopy::Result in = dbcopy::copy(file, url, true);
        const double inS = ms(t) / 1000;
        t.restart();
        const dbcopy::Result out = dbcopy::copy(url, work.filePath(S("back.mdb")), true);
        const double outS = ms(t) / 1000;
        std::printf("velorin-db copy file -> server : %.1f s, %lld rows (%.0f rows/s)\n", inS, in.rows, in.rows / inS);
        std::printf("velorin-db copy server -> file : %.1f s, %lld rows (%.0f rows/s)\n", outS, out.rows, out.rows / outS);
        // Statistics for the planner, as autovacuum gives them soon after.
        db::PgDriver(url).execute(S("ANALYZE"));

        TDm1 fileDm, serverDm;
        fileDm.ADO_system->setDatabaseName(work.filePath(S("back.mdb")));
        fileDm.ADO_system->open();
        serverDm.ADO_system->setDatabaseName(url);
        serverDm.ADO_system->open();
        app::registerWindows();

        const ListTimes lf = openList(*fileDm.ADO_system), ls = openList(*serverDm.ADO_system);
        std::printf("\ncontainer order list (%d rows), best of 3     file      server   ratio\n", lf.rows);
        std::printf("  first screen                          %8.1f ms %8.1f ms %6.2fx\n", lf.first, ls.first, ls.first / lf.first);
        std::printf("  whole list                            %8.1f ms %8.1f ms %6.2fx   (target 1.5x)\n", lf.whole, ls.whole,
                    ls.whole / lf.whole);

        const int year = QDate::currentDate().year() - 1;
        const auto [pf, pfMax] = perCustomer(*fileDm.ADO_system, year);
        const auto [ps, psMax] = perCustomer(*serverDm.ADO_system, year);
        std::printf("\nper-customer income aggregate, year %d, warm: median / max\n", year);
        std::printf("  file   %.2f / %.2f ms\n  server %.2f / %.2f ms   (target 5 ms)\n", pf, pfMax, ps, psMax);

        Dm1 = &fileDm;
        const auto [sf, rowsF] = summary(fileDm, year);
        Dm1 = &serverDm;
        const auto [ss, rowsS] = summary(serverDm, year);
        std::printf("\ncustomer summary window (统计), year %d, best of 3\n", year);
        std::printf("  file   %.0f ms, %d rows\n  server %.0f ms, %d rows   (target 1.5 s)\n", sf, rowsF, ss, rowsS);

        // The demo's names, and the generator's, in both orders.
        const QString demo = work.filePath(S("demo.mdb"));
        dbfile::createDemo(demo, true);
        const QString demoUrl = serverDatabase(S("velorin_bench_demo"));
        dbcopy::copy(demo, demoUrl, true);
        std::printf("\nnames the server's pinyin order (ICU) puts elsewhere than the file's\n");
        const std::pair<const char *, const char *> names[] = {
            {"上游客户", "客户名称"}, {"下游运输商", "单位名称"}, {"收货单位", "单位名称"}, {"货物信息", "货物名称"}, {"承运车辆", "驾驶员"}};
        for (const auto &[label, u] : {std::pair{"demo", demoUrl}, std::pair{"generator", url}}) {
            for (const auto &[table, column] : names) {
                int total = 0;
                const int differ = sortedElsewhere(u, S(table), S(column), &total);
                std::printf("  %-9s %-8s %-6s: %d of %d\n", label, table, column, differ, total);
            }
        }
    } catch (const db::DbError &e) {
        std::fprintf(stderr, "bench_server: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
