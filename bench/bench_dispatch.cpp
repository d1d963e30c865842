// Figures for the README: the goods dispatch editor on a large file — the
// reload of a dispatch's orders, the chooser's candidate list and a save
// that writes carrier, plate and driver into 20 orders.
//
//   bench_dispatch [ORDERS]      (default: 1000000)
//
// Uses the file bench_query generates in /tmp; what the save writes is put
// back afterwards, so the file stays as generated.
#include "db/sqlitedriver.h"
#include "data/dm1.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "dbctrls/messages.h"
#include "goods/freight_ddb.h"
#include "goods/freight_ddb_edit.h"
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>
#include <cstdio>
#include <vector>

namespace {

struct Stats { double mean, median, max; };

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    double total = 0;
    for (double x : v)
        total += x;
    return {total / double(v.size()), v[v.size() / 2], v.back()};
}

void plan(db::Query &q, const QString &sql)
{
    q.reopenWith({QStringLiteral("explain query plan ") + sql});
    for (q.first(); !q.eof(); q.next())
        std::printf("  plan: %s\n", qPrintable(q.field(QStringLiteral("detail")).asString()));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int orders = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    const QString path = QStringLiteral("/tmp/velorin-bench-%1.mdb").arg(orders);
    try {
        if (!QFileInfo::exists(path) || !dbfile::check(path).isEmpty())
            dbfile::createGenerated(path, orders, true);
        TDm1 dm;
        dm.ADO_system->setDatabaseName(path);
        dm.ADO_system->open();
        msg::setResponder([](const msg::Request &) { return QMessageBox::Ok; });
        db::Query &s = *dm.q_search;

        // Dispatch numbers spread over the file, as a clerk pages through them.
        s.reopenWith({QStringLiteral("select 调度单号 from 普通货物调度单 where rowid % 2500 = 1")});
        QStringList numbers;
        for (s.first(); !s.eof(); s.next())
            numbers << s.field(QStringLiteral("调度单号")).asString();
        std::vector<double> reload;
        qint64 listed = 0;
        for (const QString &n : std::as_const(numbers)) {
            QElapsedTimer t;
            t.start();
            dm.q_freight_ysd->reopenWith(goods::dispatchOrders(n));
            reload.push_back(t.nsecsElapsed() / 1e6);
            listed += dm.q_freight_ysd->recordCount();
        }
        const Stats r = stats(reload);
        std::printf("bench_dispatch: %d orders file\n", orders);
        std::printf("order reload, %lld dispatches: mean %.3f ms, median %.3f ms, max %.3f ms (%lld orders)   (target 50 ms)\n",
                    qlonglong(reload.size()), r.mean, r.median, r.max, listed);
        plan(s, goods::dispatchOrders(numbers.value(0)).join(QLatin1Char(' ')));

        const QStringList candidates = {QStringLiteral("select * from 普通货物运输单 "),
                                        QStringLiteral("where (调度单号='") + db::q(numbers.value(0))
                                            + QStringLiteral("')or((执行完结='否')and(调度单号=''))"),
                                        QStringLiteral("order by 上游客户,运输单号")};
        std::vector<double> cand;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            s.reopenWith(candidates);
            cand.push_back(t.nsecsElapsed() / 1e6);
        }
        const Stats c = stats(cand);
        // The same statement stepped bare, every column read once and kept nowhere.
        std::vector<double> bare;
        const QByteArray text = candidates.join(QLatin1Char('\n')).toUtf8();
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(static_cast<db::SqliteDriver &>(dm.ADO_system->driver()).handle(), text.constData(), -1, &st, nullptr);
            qint64 bytes = 0;
            while (sqlite3_step(st) == SQLITE_ROW)
                for (int col = 0; col < sqlite3_column_count(st); ++col)
                    bytes += sqlite3_column_type(st, col) == SQLITE_TEXT ? sqlite3_column_bytes(st, col) : 8;
            sqlite3_finalize(st);
            bare.push_back(t.nsecsElapsed() / 1e6);
            if (bytes == 42)
                std::printf(" ");
        }
        std::printf("chooser candidates (%d orders): median %.2f ms, max %.2f ms; bare loop median %.2f ms   (target 50 ms)\n",
                    s.recordCount(), c.median, c.max, stats(bare).median);
        plan(s, candidates.join(QLatin1Char(' ')));

        // A dispatch of 20 free orders, saved through the editor as a clerk does.
        const QString bench = QStringLiteral("BENCH-20");
        s.reopenWith({QStringLiteral("select rowid as k from 普通货物运输单 where 调度单号='' limit 20")});
        QStringList keys;
        for (s.first(); !s.eof(); s.next())
            keys << s.field(QStringLiteral("k")).asString();
        const QString keyList = keys.join(QLatin1Char(','));
        dm.ADO_system->execute(QStringLiteral("insert into 普通货物调度单 (调度单号, 发货日期, 起始地, 目的地, 承运单位, 车牌号, 驾驶员) "
                                              "values ('%1', '2025-06-01 00:00:00', '武汉', '长沙', '长江运输', '鄂A00001', '张师傅')")
                                   .arg(bench));
        dm.ADO_system->execute(QStringLiteral("update 普通货物运输单 set 调度单号='%1' where rowid in (%2)").arg(bench, keyList));
        dm.q_freight_ddb->reopenWith({QStringLiteral("select * from 普通货物调度单"),
                                      QStringLiteral("where 调度单号='%1'").arg(bench), QStringLiteral("order by 发货日期")});
        dm.q_freight_ysd->reopenWith(goods::dispatchOrders(bench));
        std::vector<double> saves;
        {
            TForm_freight_ddb_edit editor(nullptr);
            editor.show();
            for (int i = 0; i < 10; ++i) {
                editor.edit();
                dm.q_freight_ddb->field(QStringLiteral("驾驶员")).setAsString(i % 2 ? QStringLiteral("李师傅") : QStringLiteral("王师傅"));
                QElapsedTimer t;
                t.start();
                editor.save();
                saves.push_back(t.nsecsElapsed() / 1e6);
            }
        }
        s.reopenWith({QStringLiteral("select count(*) as n from 普通货物运输单 where 调度单号='%1' and 驾驶员='李师傅'").arg(bench)});
        const qint64 written = s.field(QStringLiteral("n")).asInteger();
        s.close();
        // Back as generated: the orders free again, the bench dispatch gone.
        dm.ADO_system->execute(QStringLiteral("update 普通货物运输单 set 调度单号='', 承运单位=null, 车牌号=null, 驾驶员=null "
                                              "where rowid in (%1)").arg(keyList));
        dm.ADO_system->execute(QStringLiteral("delete from 普通货物调度单 where 调度单号='%1'").arg(bench));
        const Stats v = stats(saves);
        std::printf("dispatch save with %lld orders (driver written into each): median %.2f ms, max %.2f ms   (target 20 ms)\n",
                    written, v.median, v.max);
    } catch (const db::DbError &e) {
        std::fprintf(stderr, "bench_dispatch: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
