// Drives one backup, restore or initialisation through the real windows,
// offscreen, so that scripts/reliability.sh can kill it at any moment; and
// verifies a database file afterwards.
//
//   reliability_driver backup DIR TARGET     备份 of DIR/data.mdb to TARGET
//   reliability_driver restore DIR SOURCE    恢复 of SOURCE over DIR/data.mdb
//   reliability_driver initialize DIR        数据初始化 with every box checked
//   reliability_driver verify FILE           "ok DIGEST" or "bad REASON"
//
// The three actions print "go" just before the button is pressed and
// "done MS" when the window has finished.
#include "data/dm1.h"
#include "app/main.h"
#include "data/modal.h"
#include "data/safecopy.h"
#include "data/session.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/schema.h"
#include "dbctrls/filedialogs.h"
#include "dbctrls/messages.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: reliability_driver backup DIR TARGET | restore DIR SOURCE | initialize DIR | verify FILE\n");
    return 2;
}

void press(QDialog *d, const char *name)
{
    if (auto *b = d->findChild<QAbstractButton *>(QString::fromLatin1(name)))
        b->click();
}

// A digest of every row of every table, in key order: two files with the
// same digest hold the same data, whatever their pages look like.
QByteArray digest(db::Connection &c)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    db::Query q(&c, QStringLiteral("digest"));
    for (const auto &t : db::schema::tables()) {
        q.reopenWith({QStringLiteral("select * from ") + t.name, QStringLiteral("order by rowid")});
        h.addData(t.name.toUtf8());
        for (int r = 0; r < q.recordCount(); ++r)
            for (int col = 0; col < q.fieldCount(); ++col) {
                h.addData(q.storedValue(r, col).toString().toUtf8());
                h.addData(QByteArrayView("\x1f", 1));
            }
        q.close();
    }
    return h.result().toHex();
}

int verify(const QString &file)
{
    try {
        db::Connection c;
        c.setDatabaseName(file);
        c.open();   // read-write, as the program opens it: a left-over journal is rolled back here
        const QByteArray d = digest(c);
        c.close();
        const QStringList wrong = data::safecopy::problems(file);
        if (!wrong.isEmpty()) {
            std::printf("bad %s\n", wrong.join(QStringLiteral("; ")).toUtf8().constData());
            return 1;
        }
        std::printf("ok %s\n", d.constData());
        return 0;
    } catch (const db::DbError &e) {
        std::printf("bad %s\n", e.message().toUtf8().constData());
        return 1;
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication a(argc, argv);
    const QStringList args = a.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("verify"))
        return verify(args[1]);
    const bool withFile = args.value(0) == QLatin1String("backup") || args.value(0) == QLatin1String("restore");
    if (args.size() != (withFile ? 3 : 2) || !(withFile || args[0] == QLatin1String("initialize")))
        return usage();
    const QString action = args[0];
    const QString file = withFile ? QFileInfo(args[2]).absoluteFilePath() : QString();
    if (!QDir::setCurrent(args[1]))
        return usage();

    TForm_main w;
    TDm1 dm;
    dm.ADO_system->open();
    velorin::operator_name = QStringLiteral("reliability");
    velorin::startup_done = true;
    QStringList messages;
    msg::setResponder([&](const msg::Request &r) {
        messages << r.text;
        return (r.buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    });
    filedlg::setChooser([&](QWidget *, const filedlg::Request &) { return file; });
    QElapsedTimer timer;
    data::setShowHook([&](QDialog *d) {
        press(d, "SpeedButton3");
        if (action == QLatin1String("initialize"))
            press(d, "Button_all");
        std::printf("go\n");
        std::fflush(stdout);
        timer.start();
        press(d, action == QLatin1String("initialize") ? "BitBtn1" : "SpeedButton1");
        return d->result();
    });
    const char *item = action == QLatin1String("backup") ? "N16" : action == QLatin1String("restore") ? "N7" : "N44";
    w.menuAction(QString::fromLatin1(item))->trigger();
    std::printf("done %lld\n", static_cast<long long>(timer.elapsed()));
    for (const auto &m : messages)
        std::printf("message %s\n", m.simplified().toUtf8().constData());
    const bool finished = !messages.isEmpty() && messages.last().endsWith(QStringLiteral("完毕！"));
    return finished && !w.isEnded() ? 0 : 1;
}
