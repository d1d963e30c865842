#include "testsupport.h"
#include "data/dbcopy.h"
#include "data/dbfile.h"
#include "db/pgdriver.h"
#include <QCoreApplication>
#include <QUrl>
#include <QHash>
#include <QRegularExpression>
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

QString testServer()
{
    return qEnvironmentVariable("VELORIN_TEST_SERVER");
}

QString freshServerDatabase(const QString &name)
{
    QUrl url(testServer());
    {
        db::PgDriver admin(url.toString());
        admin.execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        admin.execute(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
    }
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

namespace {
// This test program's database on the server, made once per run.
QString programDatabase()
{
    static const QString url = freshServerDatabase(QStringLiteral("velorin_") + QCoreApplication::applicationName().toLower());
    return url;
}
} // namespace

TestDb::TestDb(bool demo)
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    if (demo)
        dbfile::createDemo(file(), false);
    else
        dbfile::create(file(), false);
    m_database = file();
    if (onServer()) {
        // The same rows on the server: copied over whole, as an office moves.
        m_database = programDatabase();
        dbcopy::copy(file(), m_database, true);
    }
    m_dm = std::make_unique<TDm1>();
    // The file by its name in the working folder, as the program opens it.
    if (onServer())
        m_dm->ADO_system->setDatabaseName(m_database);
    m_dm->ADO_system->open();
}

TestDb::~TestDb()
{
    m_dm.reset();
    QDir::setCurrent(m_oldCwd);
}

namespace {
// The tests make a write fail with the file's refusing trigger; on the
// server the same refusal is a trigger function.
QString serverTrigger(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral("^create trigger (\\w+) before (update|insert|delete)(?: of (\\S+))? on (\\S+)(?: when (.*?))? "
                       "begin select raise\\(abort, '(.*)'\\); end$"),
        QRegularExpression::CaseInsensitiveOption);
    static QHash<QString, QString> tableOf;   // the server drops a trigger by its table
    static const QRegularExpression drop(QStringLiteral("^drop trigger (\\w+)$"), QRegularExpression::CaseInsensitiveOption);
    if (const auto d = drop.match(sql.trimmed()); d.hasMatch())
        return QStringLiteral("DROP TRIGGER %1 ON %2").arg(d.captured(1), tableOf.value(d.captured(1)));
    const auto m = re.match(sql.trimmed());
    if (!m.hasMatch())
        return sql;
    const QString name = m.captured(1), event = m.captured(2).toLower(), table = m.captured(4);
    tableOf.insert(name, table);
    const QString when = m.captured(5).isEmpty() ? QStringLiteral("true") : m.captured(5);
    const QString back = event == QLatin1String("delete") ? QStringLiteral("OLD") : QStringLiteral("NEW");
    return QStringLiteral("CREATE OR REPLACE FUNCTION %1_fn() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN IF %2 THEN "
                          "RAISE EXCEPTION '%3'; END IF; RETURN %4; END $f$; "
                          "CREATE TRIGGER %1 BEFORE %5%6 ON %7 FOR EACH ROW EXECUTE FUNCTION %1_fn()")
        .arg(name, when, m.captured(6), back, event.toUpper(),
             m.captured(3).isEmpty() ? QString() : QStringLiteral(" OF ") + m.captured(3), table);
}
} // namespace

void TestDb::exec(const QString &sql) const
{
    m_dm->ADO_system->execute(onServer() ? serverTrigger(sql) : sql);
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
