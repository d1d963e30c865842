#include "testsupport.h"
#include "data/dbfile.h"
#include "db/dberror.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

TestDb::TestDb(bool demo)
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    if (demo)
        dbfile::createDemo(file(), false);
    else
        dbfile::create(file(), false);
    m_dm = std::make_unique<TDm1>();
    m_dm->ADO_system->open();
}

TestDb::~TestDb()
{
    m_dm.reset();
    QDir::setCurrent(m_oldCwd);
}

void TestDb::exec(const QString &sql) const
{
    m_dm->ADO_system->execute(sql);
}

QString TestDb::scalar(const QString &sql) const
{
    db::Query q(m_dm->ADO_system, QStringLiteral("scalar"));
    q.setSql({sql});
    q.open();
    return q.isEmpty() ? QString() : q.fieldByIndex(0).asString();
}

MessageScript::MessageScript()
{
    m_previous = msg::setResponder([this](const msg::Request &r) {
        m_seen << r;
        if (onShow)
            onShow(r);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return (r.buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    });
}

MessageScript::~MessageScript()
{
    msg::setResponder(m_previous);
}

QStringList MessageScript::texts() const
{
    QStringList l;
    for (const auto &r : m_seen)
        l << r.text;
    return l;
}

void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

namespace {
bool runMount(const QStringList &args, QString *out)
{
    QProcess p;
    p.start(QStringLiteral("mount"), args);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *out = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        if (out->isEmpty())
            *out = p.errorString();
        return false;
    }
    return true;
}
} // namespace

ScratchMount::ScratchMount(int kilobytes)
{
    QString err;
    m_mounted = runMount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                          QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), m_dir.path()},
                         &err);
    if (!m_mounted)
        m_why = QStringLiteral("cannot mount a tmpfs here (needs root): %1").arg(err);
}

ScratchMount::~ScratchMount()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
}

void ScratchMount::fill()
{
    QFile f(filePath(QStringLiteral(".filler")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QByteArray block(4096, 'x');
    while (f.write(block) == block.size() && f.flush()) {
    }
    // The last partial block: byte by byte until nothing more fits.
    while (f.write("x", 1) == 1 && f.flush()) {
    }
}

bool ScratchMount::setReadOnly(bool on)
{
    QString err;
    return runMount({QStringLiteral("-o"), on ? QStringLiteral("remount,ro") : QStringLiteral("remount,rw"), m_dir.path()},
                    &err);
}
