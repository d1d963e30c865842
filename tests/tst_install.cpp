// `cmake --install` into a temporary prefix: exactly the programs, the
// launcher, a valid menu entry and the icons; and the installed launcher on a
// temporary data folder.
#include "data/dbfile.h"
#include "db/connection.h"
#include "db/query.h"
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int code;
    QString out, err;
};

Run run(const QString &program, const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {-1, {}, QStringLiteral("did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint64 count(const QString &file, const QString &table)
{
    db::Connection c;
    c.setDatabaseName(file);
    c.open();
    db::Query q(&c, QStringLiteral("q"));
    q.reopenWith({QStringLiteral("select count(*) from ") + table});
    return q.fieldByIndex(0).asInteger();
}

const QList<int> iconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

} // namespace

class TstInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void installsExactlyTheProgramEntryAndIcons();
    void launcher_data();
    void launcher();

private:
    QTemporaryDir m_prefix;
    QString bin(const char *name) const { return m_prefix.filePath(QStringLiteral("bin/") + QLatin1String(name)); }
};

void TstInstall::initTestCase()
{
    const Run r = run(QStringLiteral(VELORIN_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(VELORIN_BUILD_DIR), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
}

void TstInstall::installsExactlyTheProgramEntryAndIcons()
{
    QStringList expected = {QStringLiteral("bin/velorin"), QStringLiteral("bin/velorin-db"), QStringLiteral("bin/velorin-launcher"),
                            QStringLiteral("share/applications/velorin.desktop"),
                            QStringLiteral("share/icons/hicolor/scalable/apps/velorin.svg")};
    for (int s : iconSizes)
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/velorin.png").arg(s);
    QStringList installed;
    QDirIterator it(m_prefix.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        installed << QDir(m_prefix.path()).relativeFilePath(it.next());
    installed.sort();
    expected.sort();
    QCOMPARE(installed, expected);
    for (const char *b : {"velorin", "velorin-db", "velorin-launcher"})
        QVERIFY2(QFileInfo(bin(b)).isExecutable(), b);

    const QString desktop = m_prefix.filePath(QStringLiteral("share/applications/velorin.desktop"));
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    QVERIFY2(!validator.isEmpty(), "desktop-file-validate (Debian desktop-file-utils) is not installed: run make deps");
    const Run v = run(validator, {desktop});
    QVERIFY2(v.code == 0 && v.out.trimmed().isEmpty() && v.err.trimmed().isEmpty(), qPrintable(v.out + v.err));
    const QStringList lines = QString::fromUtf8(bytes(desktop)).split(QLatin1Char('\n'));
    for (const QString &line : {QStringLiteral("Name=Velorin 物流管理系统"), QStringLiteral("Exec=velorin-launcher"),
                                QStringLiteral("Icon=velorin"), QStringLiteral("Categories=Office;"), QStringLiteral("Type=Application")})
        QVERIFY2(lines.contains(line), qPrintable(line));

    for (int s : iconSizes) {
        const QImage icon(m_prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/velorin.png").arg(s)));
        QCOMPARE(icon.size(), QSize(s, s));
        QVERIFY(icon.hasAlphaChannel());
        QVERIFY(icon.pixelColor(s / 2, s / 2).alpha() == 255);   // drawn, not an empty square
    }
}

void TstInstall::launcher_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("first start makes the folder and a fresh database") << "first";
    QTest::newRow("second start reuses it") << "again";
    QTest::newRow("a foreign data.mdb is left untouched") << "foreign";
    QTest::newRow("--data DIR") << "option";
    QTest::newRow("no XDG_DATA_HOME: ~/.local/share") << "home";
}

void TstInstall::launcher()
{
    QFETCH(QString, how);
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("xdg")));
    // The program started is a stand-in that prints its working directory.
    env.insert(QStringLiteral("VELORIN_PROGRAM"), QStringLiteral("/bin/pwd"));
    QString folder = home.filePath(QStringLiteral("xdg/velorin"));
    QStringList args;
    if (how == QLatin1String("option"))
        args = {QStringLiteral("--data"), folder = home.filePath(QStringLiteral("office data"))};
    if (how == QLatin1String("home")) {
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        folder = home.filePath(QStringLiteral(".local/share/velorin"));
    }
    const QString file = folder + QStringLiteral("/data.mdb");
    QByteArray before;
    if (how == QLatin1String("again"))
        QVERIFY(run(bin("velorin-launcher"), args, env).code == 0);
    if (how == QLatin1String("foreign")) {
        QVERIFY(QDir().mkpath(folder));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("somebody else's file") > 0);
    }
    before = bytes(file);
    const QDateTime stamp(QDate(2020, 1, 1), QTime(8, 0));   // a rewrite would show in the time stamp
    if (!before.isEmpty()) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const Run r = run(bin("velorin-launcher"), args, env);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.trimmed(), QDir(folder).canonicalPath());   // the program runs in the data folder
    if (!before.isEmpty()) {
        QCOMPARE(bytes(file), before);
        QCOMPARE(QFileInfo(file).lastModified(), stamp);
    }
    if (how == QLatin1String("foreign")) {
        QVERIFY2(r.err.contains(QStringLiteral("not a Velorin database")), qPrintable(r.err));
        return;
    }
    QVERIFY(r.err.isEmpty());
    QCOMPARE(dbfile::check(file), QStringList());
    QCOMPARE(count(file, QStringLiteral("上游客户")) + count(file, QStringLiteral("集装箱运输单")), 0);   // no demo data
    QVERIFY(count(file, QStringLiteral("权限表")) >= 1);
    // The dry run stops before starting the program.
    const Run dry = run(bin("velorin-launcher"), QStringList(args) << QStringLiteral("--dry-run"), env);
    QCOMPARE(dry.out, QStringLiteral("data: %1\nwould run: /bin/pwd\n").arg(QDir(folder).canonicalPath()));
}

QTEST_MAIN(TstInstall)
#include "tst_install.moc"
