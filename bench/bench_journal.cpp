// A month of cash journal (10,000 rows by default): the recomputation of the
// running balances alone, and saves through the editor with the list shown,
// each including the month's recomputation in the save's transaction.
#include "data/dm1.h"
#include "data/dbfile.h"
#include "data/session.h"
#include "db/connection.h"
#include "other/xjrjz.h"
#include "other/xjrjz_edit.h"
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Median of `runs` timings of `step` in milliseconds; `prepare` runs untimed before each.
double median(int runs, const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> v;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        prepare();
        t.start();
        step();
        v.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void type(QWidget *w, const char *name, const QString &text)
{
    QWidget *c = w->findChild<QWidget *>(QString::fromLatin1(name));
    auto *combo = qobject_cast<QComboBox *>(c);
    QLineEdit *e = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(c);
    e->setText(text);
    emit e->textEdited(text);
}

void press(QWidget *w, const char *name)
{
    w->findChild<QAbstractButton *>(QString::fromLatin1(name))->click();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const int runs = 9;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    dbfile::create(dir.filePath(QStringLiteral("data.mdb")), false);
    TDm1 dm;
    dm.ADO_system->open();
    velorin::operator_name = QStringLiteral("王出纳");
    velorin::accounting_date = QDateTime(QDate(2024, 3, 15), QTime(0, 0));
    // Every third row an income, the others expenses, spread over the month.
    dm.ADO_system->execute(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
        "insert into 现金日记帐 (日期, 摘要, 明细, 借方, 贷方, 凭证号, 经办人) "
        "select printf('2024-03-%02d 00:00:00', 1 + (i-1)*31/%1), case when i%3=0 then '收入' else '支出' end, '明细'||i, "
        "case when i%3=0 then 1500000+i else null end, case when i%3=0 then null else 300000+i end, 'P'||i, '王出纳' "
        "from n").arg(rows));
    db::Query *q = dm.q_xjrjz;
    q->reopenWith(other::journalLines());
    std::printf("%d journal rows in March 2024\n", q->recordCount());

    const auto recompute = [&] {
        db::Transaction tx(*dm.ADO_system);
        other::recomputeBalances(*q);
        tx.commit();
    };
    const auto spoil = [&] { dm.ADO_system->execute(QStringLiteral("update 现金日记帐 set 余额=null")); };
    std::printf("recompute, every balance written:     %7.1f ms\n", median(runs, spoil, recompute));
    std::printf("recompute, nothing to write:          %7.1f ms\n", median(runs, [] {}, recompute));

    // As the clerk works: the list on screen, the editor over it.
    TForm_xjrjz list(nullptr);
    list.resize(1100, 700);
    list.show();
    TForm_xjrjz_edit editor(&list);
    editor.show();
    app.processEvents();
    int amount = 100;
    std::printf("save, first row edited (all follow):  %7.1f ms\n",
                median(runs, [&] { q->first(); type(&editor, "DBNumberEditEh2", QString::number(++amount)); },
                       [&] { press(&editor, "bitbtn_save"); }));
    const auto newRow = [&] {
        press(&editor, "bitbtn_add");
        type(&editor, "DBDateTimeEditEh1", QStringLiteral("2024-3-31"));
        type(&editor, "DBComboBoxEh1", QStringLiteral("支出"));
        type(&editor, "DBNumberEditEh2", QStringLiteral("12.5"));
    };
    std::printf("save, a new row at the month's end:   %7.1f ms\n", median(runs, newRow, [&] { press(&editor, "bitbtn_save"); }));
    // What a save that survives a power cut costs: the folder synced after
    // the journal is deleted (EXTRA, the program's setting) against not (FULL).
    for (const char *mode : {"FULL", "EXTRA"}) {
        dm.ADO_system->execute(QStringLiteral("PRAGMA synchronous=%1").arg(QLatin1String(mode)));
        std::printf("  the same with synchronous=%-5s      %7.1f ms\n", mode,
                    median(runs, newRow, [&] { press(&editor, "bitbtn_save"); }));
    }
    std::printf("rows now %d, last balance %s\n", q->recordCount(),
                qPrintable(dm.q_xjrjz->isEmpty() ? QString() : (q->last(), q->field(QStringLiteral("余额")).asString())));
    return 0;
}
