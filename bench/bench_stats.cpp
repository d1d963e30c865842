// Figures for the README: every summary window run end to end (统计 pressed
// until the first result row is painted) over one year of the generated
// million-order file, against one GROUP BY query that gives the same
// numbers; and the alarm computation over 10,000 vehicles.
//
//   bench_stats [ORDERS]      (default: 1000000)
//
// Database files are generated in /tmp on first use and reused afterwards.
#include "data/dm1.h"
#include "app/windowregistry.h"
#include "data/modal.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "masterdata/txgn.h"
#include "statistics/summary.h"
#include "statistics/summarychart.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <sqlite3.h>

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }

// A copy of the generated file of that size (made when missing), so that the
// runs writing 通用 leave the shared file alone, with every index of the
// schema (a file generated before an index was added lacks it).
QString ensureFile(int orders)
{
    const QString shared = QStringLiteral("/tmp/velorin-bench-%1.mdb").arg(orders);
    const QString own = QStringLiteral("/tmp/velorin-bench-stats-%1.mdb").arg(orders);
    if (!QFileInfo::exists(own) || !dbfile::check(own).isEmpty()) {
        if (!QFileInfo::exists(shared) || !dbfile::check(shared).isEmpty()) {
            std::printf("generating %s ...\n", qPrintable(shared));
            std::fflush(stdout);
            dbfile::createGenerated(shared, orders, true);
        }
        QFile::remove(own);
        if (!QFile::copy(shared, own))
            throw db::DbError(QStringLiteral("cannot copy %1").arg(shared));
    }
    db::Connection conn;
    conn.setDatabaseName(own);
    conn.open();
    for (QString sql : db::schema::indexStatements()) {
        sql.replace(QStringLiteral("CREATE INDEX "), QStringLiteral("CREATE INDEX IF NOT EXISTS "));
        conn.execute(sql);
    }
    return own;
}

double ms(const QElapsedTimer &t) { return t.nsecsElapsed() / 1e6; }

// A window and one GROUP BY that gives its groups and first sums: the label
// as the window writes it (k) and the sum of its first money column (v);
// %1 is the period condition on the date column.
struct Case {
    const char *cls;
    const char *dateColumn;
    const char *reference;
};

const Case cases[] = {
    {"TForm_sts_cont_sum", "运输期限从",
     "select 型号规格 as k, sum(应收运费) as v from 集装箱运输单 where %1 and 型号规格 in ('20','40') group by k "
     "having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_cont_guest", "运输期限从",
     "select 上游客户 as k, sum(应收运费) as v from 集装箱运输单 where %1 and 上游客户 in (select 客户名称 from 上游客户) "
     "group by k having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_cont_trans", "运输期限从",
     "select 承运单位 as k, sum(应收运费) as v from 集装箱运输单 where %1 and 承运单位 in (select 单位名称 from 下游运输商) "
     "group by k having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_cont_car", "运输期限从",
     "select 车牌号 as k, sum(应收运费) as v from 集装箱运输单 where %1 and 车牌号 in (select 车牌号 from 承运车辆) "
     "group by k having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_cont_sum1", "运输期限从",
     "select 型号规格||'号' as k, sum(运输金额) as v from 集装箱运输单 where %1 and 型号规格 in ('20','40') group by k "
     "having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_cont_trans1", "运输期限从",
     "select 承运单位 as k, sum(运输金额) as v from 集装箱运输单 where %1 and 承运单位 in (select 单位名称 from 下游运输商) "
     "group by k having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_cont_car1", "运输期限从",
     "select 车牌号 as k, sum(运输金额) as v from 集装箱运输单 where %1 and 车牌号 in (select 车牌号 from 承运车辆) "
     "group by k having round(sum(数量)) > 0 order by k"},
    {"TForm_sts_freight_guest", "发货日期",
     "select 上游客户 as k, sum(应收运费) as v from 普通货物运输单 where %1 and 上游客户 in (select 客户名称 from 上游客户) "
     "group by k having sum(应收运费) > 0 order by k"},
    {"TForm_sts_freight_wood", "发货日期",
     "select 上游客户||' '||m.货物名称 as k, sum(应收运费) as v from 普通货物运输单明细 m where %1 and exists (select 1 from "
     "货物信息 w where w.客户名称 = m.上游客户 and w.货物名称 = m.货物名称) group by 上游客户, m.货物名称 "
     "having sum(应收运费) > 0 order by 上游客户, m.货物名称"},
    {"TForm_sts_freight_trans1", "发货日期",
     "select 承运单位 as k, sum(运输金额) as v from 普通货物调度单 where %1 and 承运单位 in (select 单位名称 from 下游运输商) "
     "group by k having round(sum(运输金额) / 10000.0) > 0 order by k"},
    {"TForm_sts_freight_car1", "发货日期",
     "select 车牌号 as k, sum(运输金额) as v from 普通货物调度单 where %1 and 车牌号 in (select 车牌号 from 承运车辆) "
     "group by k having round(sum(运输金额) / 10000.0) > 0 order by k"},
    {"TForm_sts_cont_yue", "运输期限从",
     "select substr(运输期限从, 6, 2)||'月' as k, sum(应收运费) as v from 集装箱运输单 where %1 group by k order by k"},
    {"TForm_sts_cont_yue1", "运输期限从",
     "select substr(运输期限从, 6, 2)||'月' as k, sum(运输金额) as v from 集装箱运输单 where %1 group by k order by k"},
    {"TForm_sts_freight_yue", "发货日期",
     "select substr(发货日期, 6, 2)||'月' as k, sum(应收运费) as v from 普通货物运输单 where %1 group by k order by k"},
    {"TForm_sts_freight_yue1", "发货日期",
     "select substr(发货日期, 6, 2)||'月' as k, sum(运输金额) as v from 普通货物调度单 where %1 group by k order by k"},
};

// The window's result as "label|first money", the total row and empty
// months left out, so that it reads like the reference.
QStringList windowRows(const stats::SummaryWindow *w, db::Query *scratch)
{
    const stats::SummaryDecl &d = w->summary();
    const bool year = d.parameters == stats::Parameters::Year;
    const QStringList labels = year ? QStringList{d.monthColumn}
                               : d.groupList.labels.size() > 1 ? QStringList{S("texta"), S("textb")}
                                                                : QStringList{S("texta")};
    const int money = scratch->fieldIndex(QStringLiteral("moneya"));
    QStringList rows;
    for (int r = 0; r < scratch->recordCount(); ++r) {
        QStringList parts;
        for (const QString &f : labels)
            parts << scratch->displayText(r, scratch->fieldIndex(f));
        const QString k = parts.join(QLatin1Char(' '));
        const db::Money v = db::Money::fromRaw(scratch->storedValue(r, money).toLongLong());
        if (k == d.totalLabel || (year && v.isZero()))
            continue;
        rows << k + QLatin1Char('|') + v.toPlainString();
    }
    return rows;
}

QStringList referenceRows(db::Query &q)
{
    QStringList rows;
    for (int r = 0; r < q.recordCount(); ++r)
        rows << q.displayText(r, 0) + QLatin1Char('|') + db::Money::fromRaw(q.storedValue(r, 1).toLongLong()).toPlainString();
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int orders = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    std::printf("bench_stats: SQLite %s\n", sqlite3_libversion());
    try {
        const QString path = ensureFile(orders);
        // The chart setting the windows remember goes into a folder of its own.
        QTemporaryDir settings;
        QDir::setCurrent(settings.path());
        TDm1 dm;
        dm.ADO_system->setDatabaseName(path);
        dm.ADO_system->open();
        app::registerWindows();

        const int year = QDate::currentDate().year() - 1;
        const QDate from(year, 1, 1), to(year, 12, 31);
        const QString yearText = QString::number(year) + S("年");

        std::printf("\n%d-order file, year %d; best of 3 runs, ms\n", orders, year);
        std::printf("  %-26s %6s %9s %9s %7s  %-4s %9s\n", "window", "rows", "window", "GROUP BY", "ratio", "same", "w. chart");
        db::Query ref(dm.ADO_system, S("reference"));
        for (const Case &c : cases) {
            std::unique_ptr<QDialog> d(app::WindowRegistry::create(S(c.cls), nullptr));
            auto *w = qobject_cast<stats::SummaryWindow *>(d.get());
            dm.ADO_system->execute(S("delete from 通用"));
            dm.q_tongyong->reopenWith({S("select * from "), S("通用")});
            if (auto *f = w->findChild<dbctrls::DBDateEdit *>(S("DBDateTimeEditEh1"))) {
                f->setDate(from);
                w->findChild<dbctrls::DBDateEdit *>(S("DBDateTimeEditEh2"))->setDate(to);
            } else {
                w->findChild<QComboBox *>(S("DBComboBoxEh1"))->setEditText(yearText);
            }
            w->resize(1100, 700);
            w->show();
            app.processEvents();
            auto *button = w->findChild<QAbstractButton *>(S("SpeedButton1"));
            double best = 1e18;
            for (int i = 0; i < 3; ++i) {
                QElapsedTimer t;
                t.start();
                button->click();
                w->grid()->viewport()->repaint();
                best = std::min(best, ms(t));
            }
            const int rows = dm.q_tongyong->recordCount();
            const QStringList mine = windowRows(w, dm.q_tongyong);
            // The chart, when shown, is drawn after the rows are: one more run with it.
            w->findChild<QCheckBox *>(S("CheckBox_chart"))->setChecked(true);
            app.processEvents();
            QElapsedTimer chartTimer;
            chartTimer.start();
            button->click();
            w->grid()->viewport()->repaint();
            app.processEvents();
            w->chart()->repaint();
            const double withChart = ms(chartTimer);
            w->findChild<QCheckBox *>(S("CheckBox_chart"))->setChecked(false);

            const QString sql = S(c.reference).arg(db::dayRangeCondition(S(c.dateColumn), from, to));
            double refBest = 1e18;
            for (int i = 0; i < 3; ++i) {
                QElapsedTimer t;
                t.start();
                ref.reopenWith({sql});
                refBest = std::min(refBest, ms(t));
            }
            const bool same = mine == referenceRows(ref);
            std::printf("  %-26s %6d %9.1f %9.1f %6.1fx  %-4s %9.1f\n", c.cls, rows, best, refBest, best / refBest,
                        same ? "yes" : "NO", withChart);
            w->hide();
        }

        std::printf("\nplans of the per-group aggregates:\n");
        const QString period = S("(运输期限从 between cdate('%1-1-1 0:0:0') and cdate('%1-12-31 23:59:59'))").arg(year);
        const QString goodsPeriod = S("(发货日期 between cdate('%1-1-1 0:0:0') and cdate('%1-12-31 23:59:59'))").arg(year);
        const QString february = S("between cdate('%1-02-1 0:0:0') and cdate('%1-02-28 23:59:59')").arg(year);
        const QList<QPair<const char *, QString>> plans = {
            {"container by size", S("select sum(应收运费) as ysyf from 集装箱运输单 where ") + period + S("and(型号规格 = '20')")},
            {"container by customer", S("select sum(应收运费) as ysyf,sum(实收运费) as ssyf,sum(数量) as sl from 集装箱运输单 where ") + period + S("and(上游客户 = 'x')")},
            {"container by carrier", S("select sum(应收运费) as ysyf from 集装箱运输单 where ") + period + S("and(承运单位 = 'x')")},
            {"container by vehicle", S("select sum(应收运费) as ysyf from 集装箱运输单 where ") + period + S("and(车牌号 = 'x')")},
            {"container by month", S("select sum(应收运费) as ysyf from 集装箱运输单 where 运输期限从 ") + february},
            {"container by month, customer", S("select sum(应收运费) as ysyf from 集装箱运输单 where (上游客户='x')and(运输期限从 ") + february + S(")")},
            {"goods by customer", S("select sum(应收运费) as ysyf from 普通货物运输单 where ") + goodsPeriod + S("and(上游客户 = 'x')")},
            {"goods by month", S("select sum(应收运费) as ysyf from 普通货物运输单 where 发货日期 ") + february},
            {"goods by name", S("select sum(应收运费) as ysyf,sum(数量) as sl from 普通货物运输单明细 where ") + goodsPeriod + S("and(货物名称 = 'x')and(上游客户 = 'y')")},
            {"goods freight by carrier", S("select sum(运输金额) as ysje from 普通货物调度单 where ") + goodsPeriod + S("and(承运单位 = 'x')")},
            {"goods freight by vehicle", S("select sum(运输金额) as ysje from 普通货物调度单 where ") + goodsPeriod + S("and(车牌号 = 'x')")},
            {"goods freight by month", S("select sum(运输金额) as ysje from 普通货物调度单 where 发货日期 ") + february},
        };
        for (const auto &p : plans) {
            ref.reopenWith({S("explain query plan ") + p.second});
            std::printf("  %-29s %s\n", p.first, qPrintable(ref.field(S("detail")).asString()));
        }
        ref.close();
    } catch (const db::DbError &e) {
        std::fprintf(stderr, "bench_stats: %s\n", qPrintable(e.message()));
        return 1;
    }

    // Alarms over 10,000 vehicles with expiry dates around today.
    try {
        const QString path = QStringLiteral("/tmp/velorin-bench-alarms.mdb");
        QFile::remove(path);
        dbfile::create(path, false);
        db::Connection conn;
        conn.setDatabaseName(path);
        conn.open();
        conn.execute(S("with recursive n(i) as (select 0 union all select i+1 from n where i<9999) "
                       "insert into 承运车辆 (车牌号, 养路费截止时间, 年审截止时间, 保险截止时间, 车船税截止时间, 下次二保里程, 公里数) "
                       "select '鄂A'||(10000+i), date('now', ((i*37)%400-30)||' days')||' 00:00:00', "
                       "date('now', ((i*53)%400-30)||' days')||' 00:00:00', date('now', ((i*71)%400-30)||' days')||' 00:00:00', "
                       "date('now', ((i*89)%400-30)||' days')||' 00:00:00', 30000+(i%15)*1000, 30000+(i*7)%15000 from n"));
        db::Query scratch(&conn, S("q_tongyong")), settings(&conn, S("q_txcsb")), vehicles(&conn, S("q_carinfo"));
        double best = 1e18;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            masterdata::computeAlarms(conn, &scratch, &settings, &vehicles, QDate::currentDate());
            best = std::min(best, ms(t));
        }
        const int alarms = scratch.recordCount();
        db::Query ref(&conn, S("reference"));
        double refBest = 1e18;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            ref.reopenWith({S("select count(*) from 承运车辆 v, 提醒功能初始表 s where "
                              "(s.项目='养路费' and substr(v.养路费截止时间, 1, 10) <= date('now', s.期限||' days')) "
                              "or (s.项目='年审' and substr(v.年审截止时间, 1, 10) <= date('now', s.期限||' days')) "
                              "or (s.项目='保险' and substr(v.保险截止时间, 1, 10) <= date('now', s.期限||' days')) "
                              "or (s.项目='车船税' and substr(v.车船税截止时间, 1, 10) <= date('now', s.期限||' days')) "
                              "or (s.项目='二保' and v.下次二保里程 > 0 and v.公里数 >= v.下次二保里程 - s.期限)")});
            refBest = std::min(refBest, ms(t));
        }
        std::printf("\nalarms over 10000 vehicles: %d alarm rows in %.1f ms (one counting select %.1f ms, %lld rows)\n", alarms, best,
                    refBest, ref.fieldByIndex(0).asInteger());
    } catch (const db::DbError &e) {
        std::fprintf(stderr, "bench_stats: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
