// Figures for the README: the accounts windows run end to end (统计 pressed
// until the grid is painted) on the generated million-order file, each
// against the bare SQL it runs (one query after the other on one
// connection): the aging of every customer and of every carrier, the
// largest customer's statement for a year, and the profit list of one month.
//
//   bench_accounts [ORDERS]      (default: 1000000)
//
// The file is generated in /tmp on first use and shared with bench_stats;
// the accounts only read it.
#include "accounts/ledger.h"
#include "data/dm1.h"
#include "app/windowregistry.h"
#include "data/modal.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/dberror.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "data/recordlist.h"
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }

double ms(const QElapsedTimer &t) { return t.nsecsElapsed() / 1e6; }

double best(int runs, const std::function<void()> &f)
{
    double b = 1e18;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        b = std::min(b, ms(t));
    }
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int orders = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    try {
        const QString path = QStringLiteral("/tmp/velorin-bench-%1.mdb").arg(orders);
        if (!QFileInfo::exists(path) || !dbfile::check(path).isEmpty()) {
            std::printf("generating %s ...\n", qPrintable(path));
            std::fflush(stdout);
            dbfile::createGenerated(path, orders, true);
        }
        QTemporaryDir settings;   // the windows' layout files go there
        QDir::setCurrent(settings.path());
        TDm1 dm;
        dm.ADO_system->setDatabaseName(path);
        dm.ADO_system->open();
        app::registerWindows();

        // The bare SQL runs on a connection set up as the computations' own
        // (pages mapped), one query after the other.
        db::Connection bare;
        bare.setDatabaseName(path);
        bare.open();
        bare.execute(S("PRAGMA mmap_size=2147418112"));
        db::Query q(&bare, S("bench"));
        q.reopenWith({S("select max(运输期限从) from 集装箱运输单")});
        const QDate last = q.fieldByIndex(0).asDate();
        q.reopenWith({S("select 上游客户, count(*) from 集装箱运输单 group by 上游客户 order by 2 desc limit 1")});
        const QString largest = q.fieldByIndex(0).asString();
        const qint64 largestOrders = q.fieldByIndex(1).asInteger();
        const QDate asOf = QDate::currentDate();
        const QDate yearFrom(asOf.year() - 1, 1, 1), yearTo(asOf.year() - 1, 12, 31);
        const QDate monthFrom(asOf.year() - 1, 3, 1), monthTo(asOf.year() - 1, 3, 31);
        std::printf("bench_accounts: %d-order file (orders up to %s), best of 3 runs, ms\n", orders,
                    qPrintable(last.toString(Qt::ISODate)));
        std::printf("  %-44s %7s %9s %9s %7s %9s\n", "window", "rows", "window", "bare SQL", "ratio", "bare CPU");

        struct Case {
            const char *cls, *what;
            std::function<void(QDialog *)> setup;
            QStringList sql;
        };
        const auto date = [](QDialog *w, const char *name, const QDate &d) {
            w->findChild<dbctrls::DBDateEdit *>(S(name))->setDate(d);
        };
        const QVector<Case> cases = {
            {"TForm_aging_guest", "aging, every customer, as of today",
             [&](QDialog *w) { date(w, "DateTimePicker1", asOf); },
             accounts::agingSql(accounts::Side::Receivable, accounts::Business::All, asOf)},
            {"TForm_aging_trans", "aging, every carrier, as of today",
             [&](QDialog *w) { date(w, "DateTimePicker1", asOf); },
             accounts::agingSql(accounts::Side::Payable, accounts::Business::All, asOf)},
            {"TForm_account_guest", "statement, largest customer, last year",
             [&](QDialog *w) {
                 w->findChild<QComboBox *>(S("DBComboBoxEh1"))->setEditText(largest);
                 date(w, "DateTimePicker1", yearFrom);
                 date(w, "DateTimePicker2", yearTo);
             },
             accounts::statementSql(accounts::Side::Receivable, accounts::Business::All, largest, yearFrom, yearTo)},
            {"TForm_profit", "profit, March of last year",
             [&](QDialog *w) {
                 date(w, "DateTimePicker1", monthFrom);
                 date(w, "DateTimePicker2", monthTo);
             },
             {accounts::profitSql(accounts::Business::All, monthFrom, monthTo, {}, {})}},
        };
        for (const Case &c : cases) {
            std::unique_ptr<QDialog> d(app::WindowRegistry::create(S(c.cls), nullptr));
            auto *w = qobject_cast<data::RecordListWindow *>(d.get());
            c.setup(w);
            w->resize(1200, 700);
            w->show();
            app.processEvents();
            auto *button = w->findChild<QAbstractButton *>(S("bitbtn_tj"));
            const double window = best(3, [&] {
                button->click();
                w->grid()->viewport()->repaint();
            });
            const int rows = w->query()->recordCount();
            const std::clock_t cpu0 = std::clock();
            const double bare = best(3, [&] {
                for (const QString &sql : c.sql)
                    q.reopenWith({sql});
            });
            // The processor's time of the bare SQL, which other builds on a
            // shared machine do not stretch.
            const double cpu = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC / 3;
            std::printf("  %-44s %7d %9.1f %9.1f %6.1fx %9.1f\n", c.what, rows, window, bare, window / bare, cpu);
            w->hide();
        }
        std::printf("\nlargest customer: %s, %lld container orders in all\n", qPrintable(largest), largestOrders);
        std::printf("\nplans:\n");
        for (const Case &c : cases)
            for (const QString &sql : c.sql) {
                q.reopenWith({S("explain query plan ") + sql});
                for (int r = 0; r < q.recordCount(); ++r)
                    std::printf("  %-20s %s\n", r ? "" : c.cls, qPrintable(q.displayText(r, q.fieldIndex(S("detail")))));
            }
        q.close();
    } catch (const db::DbError &e) {
        std::fprintf(stderr, "bench_accounts: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
