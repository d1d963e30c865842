// Backup, restore and data initialisation through the main window's menu, and
// the automatic copy of the day: the database file is never lost or half-made.
#include "app/enter.h"
#include "app/main.h"
#include "data/backup.h"
#include "data/dailybackup.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "data/initialize.h"
#include "data/session.h"
#include "db/schema.h"
#include "masterdata/guestinfo.h"
#include "dbctrls/filedialogs.h"
#include "formhelpers.h"
#include "spine_driver.h"
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <optional>
#include <sys/mount.h>

namespace {

// Rows per table of a database file, read through its own connection.
QMap<QString, qint64> rowCounts(const QString &path)
{
    db::Connection c;
    c.setDatabaseName(path);
    c.open();
    db::Query q(&c, QStringLiteral("count"));
    QMap<QString, qint64> out;
    for (const auto &t : db::schema::tables()) {
        q.reopenWith({QStringLiteral("select count(*) from ") + t.name});
        out[t.name] = q.fieldByIndex(0).asInteger();
    }
    return out;
}

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &b)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

// A small tmpfs for a full disk and a read-only folder (needs root).
struct SmallDisk {
    QTemporaryDir dir;
    QByteArray path = QFile::encodeName(dir.path());
    bool mounted = ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=256k") == 0;
    bool makeReadOnly() { return ::mount("tmpfs", path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0; }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
    }
};

// The main window with an operator logged in; file dialogs answered with
// `answer` (and remembered), message boxes by script.
struct Desk {
    TForm_main w;
    MessageScript messages;
    QString answer;
    QList<filedlg::Request> asked;
    filedlg::Chooser previous = filedlg::setChooser([this](QWidget *, const filedlg::Request &r) {
        asked << r;
        return answer;
    });
    explicit Desk(const QString &path = {}) : answer(path)
    {
        velorin::operator_name = QStringLiteral("甲");
        velorin::startup_done = true;
        w.setStatusPanelText(0, QStringLiteral("操作员：甲"));
    }
    ~Desk() { filedlg::setChooser(previous); }
};

QStringList textsOf(QWidget *w)
{
    QStringList l;
    for (auto *b : w->findChildren<QAbstractButton *>())
        l << b->objectName() + QLatin1Char('=') + b->text();
    for (auto *b : w->findChildren<QLabel *>())
        l << b->text();
    return l;
}

} // namespace

class TstBackup : public QObject {
    Q_OBJECT
private slots:
    void windowsFromTheMenu_data();
    void windowsFromTheMenu();
    void backup_data();
    void backup();
    void backupHoldsCommittedRowsOnly();
    void restore_data();
    void restore();
    void unusableFileAfterRestoreEndsProgram();
    void initialize_data();
    void initialize();
    void dailyBackup();
    void dailyBackupAtStartup();
    void aReportedSaveSurvivesAPowerCut();
};

void TstBackup::windowsFromTheMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("texts");   // buttons as name=caption, then labels
    QTest::addColumn<QString>("dialog");      // title|default suffix|save
    QTest::addColumn<bool>("connectedWhileShown");
    const QStringList fileWindow = {S("SpeedButton3=..."), S("SpeedButton2=返回"), S("目的数据库名：")};
    QTest::newRow("N16") << "N16" << S("系统备份管理") << (QStringList(fileWindow) << S("SpeedButton1=备份"))
                         << S("备份数据库文件|mdb|1") << true;
    QTest::newRow("N7") << "N7" << S("系统恢复管理") << (QStringList(fileWindow) << S("SpeedButton1=恢复"))
                        << S("恢复数据库文件||0") << false;
    QStringList init;
    const char *boxes[] = {"上游客户资料", "收货单位资料", "集装箱运输单", "运输货物资料", "下游承运商",
                           "下游承运车辆", "现金日记帐", "普通货物运输单", "普通货物调度单", "车辆换油明细表",
                           "车辆维修明细表", "车辆事故明细表", "公路里程", "普通货物运输明细"};
    for (int i = 0; i < 14; ++i)
        init << QStringLiteral("CheckBox%1=").arg(i + 1) + S(boxes[i]);
    init << S("Button_all=全选") << S("Button_none=不选") << S("BitBtn1=确定") << S("BitBtn2=取消")
         << S("提示：数据初始化就是清空选中项目数据库中的数据。")
         << S("  如果用户第一次使用本系统时或者需要清空数据库时，请使用本功能，清除原来的数据，便于录入新的数据。");
    QTest::newRow("N44") << "N44" << S("数据初始化") << init << QString() << true;
}

void TstBackup::windowsFromTheMenu()
{
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    QFETCH(QString, dialog);
    QFETCH(bool, connectedWhileShown);
    TestDb t;
    Desk desk(t.dir() + QStringLiteral("/copy.mdb"));
    bool connected = !connectedWhileShown;
    ModalDriver driver([&](QDialog *d) {
        connected = t.dm()->ADO_system->isOpen();
        QCOMPARE(d->windowTitle(), caption);
        const QStringList shown = textsOf(d);
        for (const QString &text : texts)
            QVERIFY2(shown.contains(text), qPrintable(text));
        if (auto *init = qobject_cast<TForm_initialize *>(d)) {
            QVERIFY(init->BitBtn2->isDefault());
            for (auto *c : init->CheckBoxes)
                QVERIFY(!c->isChecked());
            return init->BitBtn2->click();
        }
        auto *edit = d->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        QVERIFY(edit->isReadOnly());
        click(d, "SpeedButton3");
        QCOMPARE(edit->text(), desk.answer);
        desk.answer.clear();   // cancelled: the path stays
        click(d, "SpeedButton3");
        QCOMPARE(edit->text(), t.dir() + QStringLiteral("/copy.mdb"));
        click(d, "SpeedButton2");
    });
    desk.w.menuAction(item)->trigger();
    QCOMPARE(driver.shown.size(), 1);
    QCOMPARE(connected, connectedWhileShown);
    QVERIFY(t.dm()->ADO_system->isOpen());
    QVERIFY(desk.messages.seen().isEmpty());
    QVERIFY(!QFile::exists(t.dir() + QStringLiteral("/copy.mdb")));
    if (!dialog.isEmpty()) {
        QCOMPARE(desk.asked.size(), 2);
        const filedlg::Request &r = desk.asked[0];
        QCOMPARE(QStringList({r.title, r.defaultSuffix, QString::number(r.save)}).join(QLatin1Char('|')), dialog);
    }
}

void TstBackup::backup_data()
{
    QTest::addColumn<QString>("target");     // relative to the test folder, or on a small disk
    QTest::addColumn<QString>("disk");       // "", "full" or "read-only"
    QTest::addColumn<QString>("message");    // start of the message shown
    QTest::newRow("new file") << "copy.mdb" << "" << S("备份完毕！");
    QTest::newRow("existing target is replaced") << "old.mdb" << "" << S("备份完毕！");
    QTest::newRow("no target chosen") << "" << "" << S("请先选择备份的目的文件！");
    QTest::newRow("folder missing") << "no/such/copy.mdb" << "" << S("备份失败: ") + QStringLiteral("%1/no/such: ") + S("文件夹不存在");
    QTest::newRow("target is a folder") << "jpg" << "" << S("备份失败: %1/jpg 是一个文件夹");
    QTest::newRow("target is the database") << "data.mdb" << "" << S("备份失败: 目的文件就是数据库文件本身");
    QTest::newRow("full disk") << "old.mdb" << "full" << S("备份失败: 磁盘已满");
    QTest::newRow("read-only folder") << "old.mdb" << "read-only" << S("备份失败: %1: 文件夹是只读的");
}

void TstBackup::backup()
{
    QFETCH(QString, target);
    QFETCH(QString, disk);
    QFETCH(QString, message);
    TestDb t(true);   // about 450 kB: more than the small disk holds
    QDir(t.dir()).mkdir(QStringLiteral("jpg"));
    std::optional<SmallDisk> small;
    if (!disk.isEmpty() && !small.emplace().mounted)
        QSKIP("cannot mount a small tmpfs here (needs root and the right to mount): full disk and read-only folder not tested");
    const QString folder = small ? small->dir.path() : t.dir();
    const QString path = target.isEmpty() ? QString() : QDir(folder).filePath(target);
    const QByteArray old(64 * 1024, 'x');   // an older file of that name
    if (target == QLatin1String("old.mdb"))
        writeBytes(path, old);
    if (disk == QLatin1String("read-only") && !small->makeReadOnly())
        QSKIP("cannot remount the tmpfs read-only here");
    const QMap<QString, qint64> before = rowCounts(t.file());
    const QByteArray database = bytes(t.file());
    Desk desk(path);
    bool accepted = false;
    ModalDriver driver([&](QDialog *d) {
        click(d, "SpeedButton3");
        click(d, "SpeedButton1");
        accepted = d->result() == QDialog::Accepted;   // a failure leaves the window open
    });
    desk.w.menuAction(QStringLiteral("N16"))->trigger();
    QCOMPARE(desk.messages.seen().size(), 1);
    if (message.contains(QLatin1String("%1")))
        message = message.arg(folder);
    QVERIFY2(desk.messages.last().startsWith(message), qPrintable(desk.messages.last()));
    QCOMPARE(desk.messages.seen()[0].caption, S("提示"));
    QCOMPARE(accepted, message == S("备份完毕！"));
    if (accepted)
        QCOMPARE(rowCounts(path), before);
    else if (target == QLatin1String("old.mdb"))
        QCOMPARE(bytes(path), old);
    QCOMPARE(bytes(t.file()), database);
    QVERIFY(t.dm()->ADO_system->isOpen());
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.part*")}), QStringList());   // no half file left
}

void TstBackup::backupHoldsCommittedRowsOnly()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('已存盘')"));
    db::Transaction writing(*t.dm()->ADO_system);
    t.exec(S("insert into 上游客户 (客户名称) values ('正在写入')"));
    TForm_backup w(t.dm()->ADO_system);
    w.Edit1->setText(t.dir() + QStringLiteral("/copy.mdb"));
    MessageScript messages;
    w.SpeedButton1->click();
    QCOMPARE(messages.texts(), QStringList{S("备份完毕！")});
    QCOMPARE(rowCounts(t.dir() + QStringLiteral("/copy.mdb"))[S("上游客户")], 1);
    writing.commit();   // the writer goes on undisturbed
    QCOMPARE(t.scalar(S("select count(*) from 上游客户")), QStringLiteral("2"));
}

void TstBackup::restore_data()
{
    QTest::addColumn<QString>("source");    // what the chosen file is
    QTest::addColumn<bool>("yes");          // the answer to the question
    QTest::addColumn<QString>("outcome");   // start of the last message
    const QString refused = S("恢复失败: ");
    QTest::newRow("good copy") << "good" << true << S("恢复完毕！");
    QTest::newRow("No at the question") << "good" << false << S("确实要恢复数据库吗? ");
    QTest::newRow("no file chosen") << "" << true << S("请先选择要恢复的数据库文件！");
    QTest::newRow("text file") << "text" << true << refused + S("所选文件不是本系统的数据库: 不是数据库文件");
    QTest::newRow("truncated copy") << "truncated" << true << refused + S("所选文件不是本系统的数据库");
    QTest::newRow("a table missing") << "table missing" << true << refused + S("所选文件不是本系统的数据库: 表 事故登记表");
    QTest::newRow("missing file") << "missing" << true << refused + S("文件不存在");
    QTest::newRow("the database itself") << "itself" << true << refused + S("所选文件就是当前的数据库文件");
}

void TstBackup::restore()
{
    QFETCH(QString, source);
    QFETCH(bool, yes);
    QFETCH(QString, outcome);
    TestDb t;
    t.exec(S("update 公司信息 set 系统标题='现在的数据'"));
    QTemporaryDir elsewhere;
    const QString good = elsewhere.filePath(QStringLiteral("good.mdb"));
    dbfile::createDemo(good, false);
    const QMap<QString, qint64> goodRows = rowCounts(good);
    const QMap<QString, QString> paths = {{QStringLiteral("good"), good}, {QStringLiteral("itself"), t.file()}};
    const QString path = source.isEmpty() ? QString() : paths.value(source, elsewhere.filePath(source + QStringLiteral(".mdb")));
    if (source == QLatin1String("text"))
        writeBytes(path, QByteArray("客户名单\n张三 李四\n").repeated(200));
    if (source == QLatin1String("truncated"))
        writeBytes(path, bytes(good).left(bytes(good).size() / 2));
    if (source == QLatin1String("table missing")) {
        QFile::copy(good, path);
        db::Connection c;
        c.setDatabaseName(path);
        c.open();
        c.execute(S("drop table 事故登记表"));
    }
    const QByteArray current = bytes(t.file());
    Desk desk(path);
    if (!yes)
        desk.messages.answer(QMessageBox::No);
    ModalDriver driver([&](QDialog *d) {
        click(d, "SpeedButton3");
        QDir::setCurrent(elsewhere.path());   // as a file dialog may leave it
        click(d, "SpeedButton1");
        if (d->result() != QDialog::Accepted)
            click(d, "SpeedButton2");
    });
    desk.w.menuAction(QStringLiteral("N7"))->trigger();
    const QVector<msg::Request> &seen = desk.messages.seen();
    QVERIFY2(seen.last().text.startsWith(outcome), qPrintable(seen.last().text));
    QCOMPARE(seen.size(), source.isEmpty() ? 1 : yes ? 2 : 1);
    if (!source.isEmpty()) {   // asked first, No the default
        QCOMPARE(seen[0].text + seen[0].caption, S("确实要恢复数据库吗? 请选择"));
        QCOMPARE(seen[0].defaultButton, QMessageBox::No);
    }
    const bool restored = outcome == S("恢复完毕！");
    QCOMPARE(QDir::current().canonicalPath(), QDir(t.dir()).canonicalPath());
    QVERIFY(!desk.w.isEnded() && t.dm()->ADO_system->isOpen());
    QCOMPARE(t.scalar(S("select 系统标题 from 公司信息")) == S("现在的数据"), !restored);
    QCOMPARE(bytes(t.file() + QStringLiteral(".bak")), restored ? current : QByteArray());
    if (restored) {
        QCOMPARE(rowCounts(t.file()), goodRows);
        // The operator goes on: a window opens on the restored data.
        ModalDriver next([&](QDialog *d) { click(d, "SpeedButton2"); });
        desk.w.menuAction(QStringLiteral("N16"))->trigger();
        QCOMPARE(next.shown, QStringList{QStringLiteral("TForm_backup")});
    } else {
        QCOMPARE(bytes(t.file()), current);
    }
    QCOMPARE(QDir(t.dir()).entryList({QStringLiteral("*.part*")}), QStringList());
}

void TstBackup::unusableFileAfterRestoreEndsProgram()
{
    TestDb t;
    Desk desk;
    ScopedWindow fake(QStringLiteral("TForm_restore"), [&](QWidget *o) { return new QDialog(o); });
    ModalDriver driver([&](QDialog *) { writeBytes(t.file(), "not a database"); });
    desk.w.menuAction(QStringLiteral("N7"))->trigger();
    QCOMPARE(desk.messages.texts().size(), 1);
    QVERIFY(desk.messages.last().startsWith(S("系统数据库没有连接，请与软件公司联系！\n\ndata.mdb 不是有效的数据库")));
    QVERIFY(desk.w.isEnded());
    QCOMPARE(desk.w.exitCode(), 1);
}

void TstBackup::initialize_data()
{
    QTest::addColumn<QList<int>>("boxes");   // 1-based; -1 全选, -2 不选
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("failing");       // emptying 货物信息 fails
    QTest::newRow("nothing checked") << QList<int>{} << true << false;
    QTest::newRow("three boxes") << QList<int>{1, 3, 14} << true << false;
    QTest::newRow("all") << QList<int>{-1} << true << false;
    QTest::newRow("all, then none, then two") << QList<int>{-1, -2, 6, 13} << true << false;
    QTest::newRow("No at the question") << QList<int>{-1} << false << false;
    QTest::newRow("failure in the middle") << QList<int>{-1} << true << true;
}

void TstBackup::initialize()
{
    QFETCH(QList<int>, boxes);
    QFETCH(bool, yes);
    QFETCH(bool, failing);
    TestDb t(true);   // rows in every table
    if (failing)
        t.exec(S("create trigger keep_goods before delete on 货物信息 begin select raise(abort, '货物信息不能删除'); end"));
    const QMap<QString, qint64> before = rowCounts(t.file());
    Desk desk;
    if (!yes)
        desk.messages.answer(QMessageBox::No);
    QSet<QString> emptied;
    bool accepted = false, open = false;
    ModalDriver driver([&](QDialog *d) {
        auto *init = static_cast<TForm_initialize *>(d);
        for (int b : boxes)
            (b == -1 ? init->Button_all : b == -2 ? init->Button_none : static_cast<QAbstractButton *>(init->CheckBoxes[b - 1]))->click();
        for (int i = 0; i < 14; ++i)
            if (init->CheckBoxes[i]->isChecked() && yes && !failing)
                emptied << TForm_initialize::items()[i].table;
        init->BitBtn1->click();
        accepted = d->result() == QDialog::Accepted;
        open = d->isVisible();
    });
    desk.w.menuAction(QStringLiteral("N44"))->trigger();
    const MessageScript &m = desk.messages;
    QCOMPARE(m.seen()[0].text + m.seen()[0].caption, S("要初始化选中的数据库吗? 请选择"));
    QCOMPARE(m.seen()[0].defaultButton, QMessageBox::No);
    QCOMPARE(m.seen().size(), yes ? 2 : 1);
    if (failing)
        QVERIFY(m.last().contains(S("delete from 货物信息")) && m.last().contains(S("货物信息不能删除")));
    else if (yes)
        QCOMPARE(m.last(), S("初始化完毕！"));
    QCOMPARE(accepted, yes && !failing);
    QCOMPARE(open, failing);   // a failure leaves the window open to choose again
    const QMap<QString, qint64> after = rowCounts(t.file());
    for (auto it = before.begin(); it != before.end(); ++it)
        QCOMPARE(after[it.key()], emptied.contains(it.key()) ? 0 : it.value());
    QVERIFY(!t.dm()->q_search->isActive());
    QCOMPARE(desk.w.statusPanelText(0), S("操作员：甲"));
}

void TstBackup::dailyBackup()
{
    TestDb t(true);
    const QDate first(2024, 2, 20);
    QStringList expected;
    for (int day = 0; day < 20; ++day) {
        const QString name = first.addDays(day).toString(QStringLiteral("'data-'yyyyMMdd'.mdb'"));
        QCOMPARE(data::dailyBackup(t.file(), first.addDays(day)), S("已自动备份: backup/") + name);
        QCOMPARE(data::dailyBackup(t.file(), first.addDays(day)), S("今日已自动备份: backup/") + name);   // once a day
        expected.prepend(name);
        if (day == 0) {
            QFile::copy(t.file(), t.dir() + QStringLiteral("/backup/mine.mdb"));   // not a daily copy: left alone
            writeBytes(t.dir() + QStringLiteral("/backup/data-20240101.mdb.part"), "a killed copy");
        }
    }
    const QDir folder(t.dir() + QStringLiteral("/backup"));
    // The newest 14, and the first copy of February, the oldest month.
    QCOMPARE(folder.entryList({QStringLiteral("data-*")}, QDir::Files, QDir::Name | QDir::Reversed),
             expected.mid(0, 14) << S("data-20240220.mdb"));
    QCOMPARE(rowCounts(folder.filePath(expected[0])), rowCounts(t.file()));
    QVERIFY(folder.exists(QStringLiteral("mine.mdb")) && !folder.exists(QStringLiteral("data-20240101.mdb.part")));

    // A damaged table: the database still opens, its copy fails the check,
    // is reported and not kept.
    const qint64 page = t.scalar(S("select rootpage from sqlite_master where name='集装箱运输单'")).toLongLong();
    t.dm()->ADO_system->close();
    QFile f(t.file());
    QVERIFY(f.open(QIODevice::ReadWrite) && f.seek((page - 1) * 4096) && f.write(QByteArray(4096, 'Z')) == 4096);
    f.close();
    const QString line = data::dailyBackup(t.file(), first.addDays(30));
    QVERIFY2(line.startsWith(S("数据库可能已损坏, 今日没有自动备份: ")), qPrintable(line));
    QCOMPARE(folder.entryList({QStringLiteral("data-*")}, QDir::Files).size(), 15);

    // A year and a half of daily copies with gaps (no start on Sundays): what
    // stays is the newest 14 and each month's first for the last 12 months,
    // so damage copied for weeks never pushes out every good copy.
    QStringList names, all;
    const QDate start(2023, 1, 1), today(2024, 6, 30);
    for (QDate d = start; d <= today; d = d.addDays(1)) {
        if (d.dayOfWeek() == 7)
            continue;
        all << d.toString(QStringLiteral("'data-'yyyyMMdd'.mdb'"));
        names << all.last();
        for (const QString &gone : data::expiredCopies(names, d))
            names.removeAll(gone);
    }
    QStringList expect = all.mid(all.size() - 14);
    for (QDate m(2023, 7, 1); m <= today; m = m.addMonths(1)) {
        QDate d = m.dayOfWeek() == 7 ? m.addDays(1) : m;
        const QString first = d.toString(QStringLiteral("'data-'yyyyMMdd'.mdb'"));
        if (!expect.contains(first))
            expect << first;
    }
    std::sort(names.begin(), names.end());
    std::sort(expect.begin(), expect.end());
    QCOMPARE(names, expect);
    QCOMPARE(names.size(), 14 + 12);
}

void TstBackup::dailyBackupAtStartup()
{
    for (const bool blocked : {false, true}) {
        velorin::startup_done = false;
        TestDb t;
        if (blocked)
            writeBytes(t.dir() + QStringLiteral("/backup"), "a file where the folder belongs");
        TForm_main w;
        ModalDriver driver([&](QDialog *d) {
            auto *e = static_cast<TForm_Enter *>(d);
            e->DBLookupComboBox1->setCurrentIndex(0);
            e->bitbtn_ok->click();
        });
        MessageScript messages;
        w.FormActivate();
        QVERIFY(messages.seen().isEmpty());
        QVERIFY(velorin::startup_done && !w.isEnded());   // the start-up goes on
        const QString name = QDate::currentDate().toString(QStringLiteral("'backup/data-'yyyyMMdd'.mdb'"));
        QCOMPARE(w.statusPanelText(2), blocked ? S("自动备份失败: 无法建立文件夹 ") + t.dir() + QStringLiteral("/backup")
                                               : S("已自动备份: ") + name);
        QCOMPARE(QFile::exists(t.dir() + QLatin1Char('/') + name), !blocked);
    }
}

void TstBackup::aReportedSaveSurvivesAPowerCut()
{
    PowerCutDisk disk;
    if (!disk.ok())
        QSKIP(qPrintable(disk.why()));
    TestDb t;
    t.dm()->ADO_system->close();
    QVERIFY(QFile::copy(t.file(), disk.filePath(S("data.mdb"))));
    QVERIFY(disk.remount());   // the copy itself is on the disk before anything is cut
    t.dm()->ADO_system->setDatabaseName(disk.filePath(S("data.mdb")));
    t.dm()->ADO_system->open();
    t.dm()->q_guestinfo->reopenWith({S("select * from 上游客户"), S("order by 客户名称")});
    MessageScript ms;
    {
        TForm_guestinfo w(nullptr);
        w.show();
        click(&w, "bitbtn_add");
        typeText(w.findChild<QLineEdit *>(S("DBEdit2")), S("断电前客户"));
        click(&w, "bitbtn_save");
        QVERIFY(!w.editing());
    }
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    // The power goes right after the save, before the file system's own
    // periodic commit could have saved it by chance.
    QVERIFY(disk.cut());
    t.dm()->q_guestinfo->close();
    t.dm()->ADO_system->close();
    QVERIFY(disk.remount());
    t.dm()->ADO_system->open();
    QCOMPARE(t.scalar(S("select count(*) from 上游客户 where 客户名称='断电前客户'")), S("1"));
    t.dm()->ADO_system->close();
}

QTEST_MAIN(TstBackup)
#include "tst_backup.moc"
