// Every window of the menu comes to rest on a real X server with a window
// manager: opened through its own exec(), left alone and then made a little
// taller and shorter, it must leave the processor idle. A layout that chases
// its own tail (a fitted grid and its scroll bar, a chart and its splitter)
// keeps a core busy and stops answering; only a real modal loop on a real
// display shows it, so this test runs under xvfb-run with openbox
// (tests/display.sh), never on the offscreen platform.
#include "data/dm1.h"
#include "app/enter.h"
#include "app/main.h"
#include "app/menutable.h"
#include "data/modal.h"
#include "data/session.h"
#include "db/text.h"
#include "grid/dbgrideh.h"
#include "testsupport.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QDialog>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>
#include <time.h>

namespace {

// Settling, then measuring: long enough to see a loop that re-arms itself
// through posted events, short enough to try every window at 25 heights.
constexpr int SettleMs = 600;
constexpr int UntouchedMs = 1500;
constexpr int StepSettleMs = 100;
constexpr int StepMs = 250;
constexpr double MaxShare = 0.25;   // of one core

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The share of one core the process used while its event loop ran for ms.
double busyShare(int ms)
{
    QElapsedTimer wall;
    wall.start();
    const double cpu = cpuSeconds();
    QTest::qWait(ms);
    return (cpuSeconds() - cpu) / (double(wall.nsecsElapsed()) / 1e9);
}

struct Probe {
    QString name;
    QStringList failures;
    qint64 closeMs = -1;

    void measure(QWidget *w, int ms, const QString &when)
    {
        // Said first: a window that never comes back is named by the last line.
        qInfo("%s at %d×%d (%s)", qPrintable(name), w->width(), w->height(), qPrintable(when));
        const double share = busyShare(ms);
        if (share >= MaxShare)
            failures << QStringLiteral("%1 at %2×%3 (%4): %5 % of a core")
                            .arg(name)
                            .arg(w->width())
                            .arg(w->height())
                            .arg(when)
                            .arg(share * 100, 0, 'f', 0);
    }

    // Untouched, then 24 px above and below in 4 px steps.
    void sweep(QWidget *w, const QString &when)
    {
        // A long list is read behind its first screen: at rest once it is whole.
        const QString shots = qEnvironmentVariable("VELORIN_SCREENSHOTS");
        auto *reading = w->findChild<QWidget *>(QStringLiteral("ProgressBarReading"));
        if (reading && reading->isVisible()) {
            QTest::qWait(50);
            if (!shots.isEmpty())
                w->screen()->grabWindow(0).save(QStringLiteral("%1/%2 %3 reading.png").arg(shots, name, when));
            QTRY_VERIFY_WITH_TIMEOUT(!reading->isVisible(), 60000);
        }
        QTest::qWait(SettleMs);
        measure(w, UntouchedMs, when);
        // VELORIN_SCREENSHOTS=DIR keeps what the screen showed, for a person to look at.
        if (!shots.isEmpty())
            w->screen()->grabWindow(0).save(QStringLiteral("%1/%2 %3.png").arg(shots, name, when));
        const QSize base = w->size();
        for (int dy = -24; dy <= 24; dy += 4) {
            if (dy == 0)
                continue;
            w->resize(base.width(), base.height() + dy);
            QTest::qWait(StepSettleMs);
            measure(w, StepMs, when + QStringLiteral(", height %1%2").arg(dy > 0 ? "+" : "").arg(dy));
        }
        w->resize(base);
    }
};

// The summaries once more with a result and their chart, at the size a
// clerk sees them on a 1366×768 screen.
void withChart(QDialog *w, Probe &p)
{
    auto *chart = w->findChild<QCheckBox *>(QStringLiteral("CheckBox_chart"));
    auto *run = w->findChild<QAbstractButton *>(QStringLiteral("SpeedButton1"));
    if (!chart || !run || !w->inherits("stats::SummaryWindow"))
        return;
    chart->setChecked(true);
    run->click();
    const QRect avail = w->screen()->availableGeometry();
    w->resize(avail.size() - (w->frameGeometry().size() - w->size()));
    w->move(avail.topLeft());
    p.sweep(w, QStringLiteral("统计 with its chart"));
}

} // namespace

class TstDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyWindowComesToRest_data();
    void everyWindowComesToRest();

private:
    // One database and one logged-in main window for every menu item, as a
    // clerk opens one window after another.
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<MessageScript> m_messages;   // whatever a window asks on the way is answered
    std::unique_ptr<TForm_main> m_main;
};

void TstDisplay::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "run under tests/display.sh (a real X server with a window manager)");
    m_db = std::make_unique<TestDb>(true);
    // VELORIN_DISPLAY_COPIES=N lists every demo order N more times: long
    // lists, read behind their first screen, for a person to look at.
    if (const int copies = qEnvironmentVariableIntValue("VELORIN_DISPLAY_COPIES"); copies > 0)
        for (const char *table : {"集装箱运输单", "普通货物运输单"})
            m_db->exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<%1) "
                                      "INSERT INTO %2 SELECT t.* FROM %2 t, n").arg(copies).arg(QString::fromUtf8(table)));
    m_messages = std::make_unique<MessageScript>();
    m_main = std::make_unique<TForm_main>();
    // The start-up: the login, then maybe the alarm list, closed.
    const data::ShowHook previous = data::setShowHook([](QDialog *w) {
        if (auto *login = qobject_cast<TForm_Enter *>(w)) {
            login->DBLookupComboBox1->setCurrentText(S("系统管理员"));
            login->bitbtn_ok->click();
            return login->result();
        }
        QTimer::singleShot(0, w, &QDialog::reject);
        return w->exec();
    });
    velorin::startup_done = false;
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    QTRY_VERIFY(velorin::startup_done);
    data::setShowHook(previous);
}

void TstDisplay::cleanupTestCase()
{
    m_main.reset();
    m_messages.reset();
    m_db.reset();
}

void TstDisplay::everyWindowComesToRest_data()
{
    QTest::addColumn<QString>("item");
    // VELORIN_DISPLAY_PART=k/n: every n-th item from the k-th, so that n
    // runs side by side share the menu (each measures only its own process).
    const QStringList part = qEnvironmentVariable("VELORIN_DISPLAY_PART", QStringLiteral("1/1")).split(QLatin1Char('/'));
    const int k = part.value(0).toInt(), n = qMax(1, part.value(1).toInt());
    int i = 0;
    for (const auto &menu : app::menuTable())
        for (const auto &item : menu.items)
            if (item.kind == app::MenuItem::Open && i++ % n == k - 1)
                QTest::newRow(qPrintable(item.name + QLatin1Char(' ') + item.caption)) << item.name;
}

void TstDisplay::everyWindowComesToRest()
{
    QFETCH(QString, item);
    QList<Probe> probes;
    QElapsedTimer closing;
    const data::ShowHook previous = data::setShowHook([&](QDialog *w) {
        Probe p{QString::fromLatin1(w->metaObject()->className())};
        QTimer::singleShot(0, w, [&, w] {
            p.sweep(w, QStringLiteral("opened"));
            withChart(w, p);
            closing.start();
            w->reject();
        });
        const int r = w->exec();
        p.closeMs = closing.elapsed();
        probes << p;
        return r;
    });
    m_main->menuAction(item)->trigger();
    data::setShowHook(previous);

    QVERIFY2(!probes.isEmpty(), "the menu item opened no window");
    QStringList failures;
    for (const Probe &p : probes) {
        failures << p.failures;
        if (p.closeMs > 1000)
            failures << QStringLiteral("%1 took %2 ms to close").arg(p.name).arg(p.closeMs);
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstDisplay)
#include "tst_display.moc"
