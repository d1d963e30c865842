#include "testsupport.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/dberror.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <fcntl.h>
#include <linux/types.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

PowerCutDisk::PowerCutDisk()
{
    const QString image = m_dir.filePath(QStringLiteral("disk.img"));
    QFile f(image);
    if (!f.open(QIODevice::WriteOnly) || !f.resize(32 << 20)) {
        m_why = QStringLiteral("cannot make the disk image");
        return;
    }
    f.close();
    QDir(m_dir.path()).mkdir(QStringLiteral("mnt"));
    QProcess mkfs;
    mkfs.start(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), QStringLiteral("-F"), image});
    if (!mkfs.waitForFinished(30000) || mkfs.exitCode() != 0) {
        m_why = QStringLiteral("mkfs.ext4 failed: %1").arg(QString::fromLocal8Bit(mkfs.readAllStandardError()));
        return;
    }
    remount();
}

PowerCutDisk::~PowerCutDisk()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), path()});
}

bool PowerCutDisk::cut()
{
    // EXT4_IOC_SHUTDOWN with EXT4_GOING_FLAGS_NOLOGFLUSH: the file system
    // stops at once and its uncommitted log is thrown away.
    const int fd = ::open(QFile::encodeName(path()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    __u32 flags = 2;
    const bool done = ::ioctl(fd, _IOR('X', 125, __u32), &flags) == 0;
    ::close(fd);
    return done;
}

bool PowerCutDisk::remount()
{
    if (m_mounted) {
        if (QProcess::execute(QStringLiteral("umount"), {path()}) != 0)
            return false;
        m_mounted = false;
    }
    QString err;
    m_mounted = runMount({QStringLiteral("-o"), QStringLiteral("loop"), m_dir.filePath(QStringLiteral("disk.img")), path()}, &err);
    if (!m_mounted)
        m_why = QStringLiteral("cannot mount an ext4 loop device here (needs root and loop devices): %1").arg(err);
    return m_mounted;
}
