// Backup, restore and data initialisation through the main window's menu, and
// the automatic copy of the day: the database file is never lost or half-made.
#include "app/enter.h"
#include "app/main.h"
#include "data/backup.h"
#include "data/dailybackup.h"
#include "data/dbfile.h"
#include "data/initialize.h"
#include "data/restore.h"
#include "data/safecopy.h"
#include "data/session.h"
#include "db/schema.h"
#include "dbctrls/filedialogs.h"
#include "formhelpers.h"
#include "spine_driver.h"
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
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

// Answers the file dialogs with a fixed path and remembers what was asked.
struct Chooser {
    QString answer;
    QList<filedlg::Request> asked;
    filedlg::Chooser previous = filedlg::setChooser([this](QWidget *, const filedlg::Request &r) {
        asked << r;
        return answer;
    });
    ~Chooser() { filedlg::setChooser(previous); }
};

// A small tmpfs, for a full disk and a read-only folder; root only.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallDisk(const char *size)
    {
        mounted = ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, size) == 0;
    }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
};

void login(TForm_main &w)
{
    velorin::operator_name = QStringLiteral("甲");
    velorin::startup_done = true;
    w.setStatusPanelText(0, QStringLiteral("操作员：甲"));
}

// The main window with an operator logged in, and scripted file dialogs and
// message boxes.
struct Desk {
    TForm_main w;
    Chooser chooser;
    MessageScript messages;
    explicit Desk(const QString &path = {})
    {
        login(w);
        chooser.answer = path;
    }
};

QString title(const QString &path)
{
    db::Connection c;
    c.setDatabaseName(path);
    c.open();
    db::Query q(&c, QStringLiteral("t"));
    q.reopenWith({QStringLiteral("select 系统标题 from 公司信息")});
    return q.fieldByIndex(0).asString();
}

} // namespace

class TstBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void windowsFromTheMenu_data();
    void windowsFromTheMenu();
    void backup_data();
    void backup();
    void backupHoldsCommittedRowsOnly();
    void backupOntoFullOrReadOnlyDisk_data();
    void backupOntoFullOrReadOnlyDisk();
    void restore_data();
    void restore();
    void unusableFileAfterRestoreEndsProgram();
    void initialize_data();
    void initialize();
    void dailyBackup();
    void dailyBackupAtStartup();
};

void TstBackup::init()
{
    velorin::operator_name.clear();
    velorin::startup_done = false;
}

void TstBackup::windowsFromTheMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("dialogTitle");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("connectedWhileShown");
    QTest::newRow("N16") << "N16" << "TForm_backup" << S("系统备份管理") << S("备份") << S("备份数据库文件") << true << "mdb" << true;
    QTest::newRow("N7") << "N7" << "TForm_restore" << S("系统恢复管理") << S("恢复") << S("恢复数据库文件") << false << "" << false;
    QTest::newRow("N44") << "N44" << "TForm_initialize" << S("数据初始化") << S("确定") << QString() << false << "" << true;
}

void TstBackup::windowsFromTheMenu()
{
    QFETCH(QString, item);
    QFETCH(QString, cls);
    QFETCH(QString, caption);
    QFETCH(QString, action);
    QFETCH(QString, dialogTitle);
    QFETCH(bool, save);
    QFETCH(QString, suffix);
    QFETCH(bool, connectedWhileShown);
    TestDb t;
    Desk desk(t.dir() + QStringLiteral("/copy.mdb"));
    Chooser &chooser = desk.chooser;
    bool connected = !connectedWhileShown;
    ModalDriver driver([&](QDialog *d) {
        connected = t.dm()->ADO_system->isOpen();
        QCOMPARE(d->windowTitle(), caption);
        QCOMPARE(d->findChild<QPushButton *>(cls == QLatin1String("TForm_initialize") ? S("BitBtn1") : S("SpeedButton1"))->text(), action);
        if (auto *init = qobject_cast<TForm_initialize *>(d)) {
            QStringList captions;
            for (int i = 1; i <= 14; ++i) {
                auto *c = d->findChild<QCheckBox *>(QStringLiteral("CheckBox%1").arg(i));
                QVERIFY(c && !c->isChecked());
                captions << c->text();
            }
            QCOMPARE(captions.join(QLatin1Char(',')),
                     S("上游客户资料,收货单位资料,集装箱运输单,运输货物资料,下游承运商,下游承运车辆,现金日记帐,"
                       "普通货物运输单,普通货物调度单,车辆换油明细表,车辆维修明细表,车辆事故明细表,公路里程,普通货物运输明细"));
            QVERIFY(init->BitBtn2->isDefault() && init->BitBtn2->text() == S("取消"));
            QCOMPARE(init->Button_all->text() + init->Button_none->text(), S("全选不选"));
            QStringList notes;
            for (auto *l : d->findChildren<QLabel *>())
                notes << l->text();
            QVERIFY(notes.contains(S("提示：数据初始化就是清空选中项目数据库中的数据。")));
            QVERIFY(notes.contains(S("  如果用户第一次使用本系统时或者需要清空数据库时，请使用本功能，清除原来的数据，便于录入新的数据。")));
            init->BitBtn2->click();
            return;
        }
        auto *edit = d->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        QVERIFY(edit && edit->isReadOnly());
        QVERIFY(d->findChild<QLabel *>(QStringLiteral("Label1"))->text() == S("目的数据库名："));
        d->findChild<QToolButton *>(QStringLiteral("SpeedButton3"))->click();
        QCOMPARE(edit->text(), chooser.answer);
        chooser.answer.clear();   // cancelled: the path stays
        d->findChild<QToolButton *>(QStringLiteral("SpeedButton3"))->click();
        QCOMPARE(edit->text(), t.dir() + QStringLiteral("/copy.mdb"));
        QCOMPARE(d->findChild<QPushButton *>(QStringLiteral("SpeedButton2"))->text(), S("返回"));
        click(d, "SpeedButton2");
    });
    desk.w.menuAction(item)->trigger();
    QCOMPARE(driver.shown, QStringList{cls});
    QCOMPARE(connected, connectedWhileShown);
    QVERIFY(t.dm()->ADO_system->isOpen());
    QVERIFY(desk.messages.seen().isEmpty());
    QVERIFY(!QFile::exists(t.dir() + QStringLiteral("/copy.mdb")));
    if (!dialogTitle.isEmpty()) {
        QCOMPARE(chooser.asked.size(), 2);
        QCOMPARE(chooser.asked[0].title, dialogTitle);
        QCOMPARE(chooser.asked[0].save, save);
        QCOMPARE(chooser.asked[0].defaultSuffix, suffix);
    }
}

void TstBackup::backup_data()
{
    QTest::addColumn<QString>("target");     // relative to the test folder
    QTest::addColumn<QByteArray>("old");     // content of an existing target
    QTest::addColumn<QString>("message");    // start of the message shown
    QTest::newRow("new file") << "copy.mdb" << QByteArray() << S("备份完毕！");
    QTest::newRow("existing target is replaced") << "copy.mdb" << QByteArray("an older copy") << S("备份完毕！");
    QTest::newRow("no target chosen") << "" << QByteArray() << S("请先选择备份的目的文件！");
    QTest::newRow("folder missing") << "no/such/copy.mdb" << QByteArray() << S("备份失败: ");
    QTest::newRow("target is a folder") << "jpg" << QByteArray() << S("备份失败: ");
    QTest::newRow("target is the database") << "data.mdb" << QByteArray() << S("备份失败: 目的文件就是数据库文件本身");
}

void TstBackup::backup()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, old);
    QFETCH(QString, message);
    TestDb t(true);
    QDir(t.dir()).mkdir(QStringLiteral("jpg"));
    const QString path = target.isEmpty() ? QString() : QDir(t.dir()).filePath(target);
    if (!old.isEmpty())
        writeBytes(path, old);
    const QMap<QString, qint64> before = rowCounts(t.file());
    const QByteArray database = bytes(t.file());
    Desk desk(path);
    const MessageScript &messages = desk.messages;
    int result = -1;
    ModalDriver driver([&](QDialog *d) {
        click(d, "SpeedButton3");
        click(d, "SpeedButton1");
        result = d->result();
    });
    desk.w.menuAction(QStringLiteral("N16"))->trigger();
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY2(messages.last().startsWith(message), qPrintable(messages.last()));
    QCOMPARE(messages.seen()[0].caption, S("提示"));
    const bool done = message == S("备份完毕！");
    QCOMPARE(result, done ? int(QDialog::Accepted) : 0);   // a failure leaves the window open
    if (done)
        QCOMPARE(rowCounts(path), before);
    else if (!old.isEmpty())
        QCOMPARE(bytes(path), old);
    QCOMPARE(bytes(t.file()), database);
    QVERIFY(t.dm()->ADO_system->isOpen());
    QCOMPARE(QDir(t.dir()).entryList({QStringLiteral("*.part*")}), QStringList());
    if (!path.isEmpty())
        QVERIFY(!QFile::exists(data::safecopy::tempName(path)));
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
    db::Connection c;
    c.setDatabaseName(t.dir() + QStringLiteral("/copy.mdb"));
    c.open();
    db::Query q(&c, QStringLiteral("q"));
    q.reopenWith({S("select * from 上游客户")});
    QCOMPARE(columnOf(&q, "客户名称"), S("已存盘"));
    writing.commit();   // the writer goes on undisturbed
    QCOMPARE(t.scalar(S("select count(*) from 上游客户")), QStringLiteral("2"));
}

void TstBackup::backupOntoFullOrReadOnlyDisk_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk") << false << S("磁盘空间不足");
    QTest::newRow("read-only folder") << true << S("文件夹是只读的");
}

void TstBackup::backupOntoFullOrReadOnlyDisk()
{
    QFETCH(bool, readOnly);
    QFETCH(QString, reason);
    TestDb t(true);   // about 450 kB: more than the small disk holds
    SmallDisk disk("size=256k");
    if (!disk.mounted)
        QSKIP("cannot mount a small tmpfs here (needs root and mount rights); full-disk and read-only cases not run");
    const QString target = disk.dir.filePath(QStringLiteral("copy.mdb"));
    const QByteArray old(64 * 1024, 'x');
    writeBytes(target, old);
    if (readOnly && !disk.makeReadOnly())
        QSKIP("cannot remount the tmpfs read-only here");
    TForm_backup w(t.dm()->ADO_system);
    w.Edit1->setText(target);
    MessageScript messages;
    w.SpeedButton1->click();
    QCOMPARE(messages.seen().size(), 1);
    QVERIFY2(messages.last().startsWith(S("备份失败: ")) && messages.last().contains(reason), qPrintable(messages.last()));
    QCOMPARE(bytes(target), old);
    QCOMPARE(QDir(disk.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("copy.mdb")});
}

void TstBackup::restore_data()
{
    QTest::addColumn<QString>("source");    // what the chosen file is
    QTest::addColumn<bool>("yes");          // the answer to the question
    QTest::addColumn<QStringList>("messages");
    const QString refused = S("恢复失败: ");
    QTest::newRow("good copy") << "good" << true << QStringList{S("确实要恢复数据库吗? "), S("恢复完毕！")};
    QTest::newRow("No at the question") << "good" << false << QStringList{S("确实要恢复数据库吗? ")};
    QTest::newRow("no file chosen") << "" << true << QStringList{S("请先选择要恢复的数据库文件！")};
    QTest::newRow("text file") << "text" << true << QStringList{S("确实要恢复数据库吗? "), refused};
    QTest::newRow("truncated copy") << "truncated" << true << QStringList{S("确实要恢复数据库吗? "), refused};
    QTest::newRow("a table missing") << "table missing" << true << QStringList{S("确实要恢复数据库吗? "), refused};
    QTest::newRow("missing file") << "missing" << true << QStringList{S("确实要恢复数据库吗? "), refused};
    QTest::newRow("the database itself") << "itself" << true << QStringList{S("确实要恢复数据库吗? "), refused};
}

void TstBackup::restore()
{
    QFETCH(QString, source);
    QFETCH(bool, yes);
    QFETCH(QStringList, messages);
    TestDb t;
    t.exec(S("update 公司信息 set 系统标题='现在的数据'"));
    QTemporaryDir elsewhere;
    const QString good = elsewhere.filePath(QStringLiteral("good.mdb"));
    dbfile::createDemo(good, false);
    const QMap<QString, qint64> goodRows = rowCounts(good);
    QString path;
    if (source == QLatin1String("good")) {
        path = good;
    } else if (source == QLatin1String("text")) {
        path = elsewhere.filePath(QStringLiteral("notes.mdb"));
        writeBytes(path, QByteArray("客户名单\n张三 李四\n").repeated(200));
    } else if (source == QLatin1String("truncated")) {
        path = elsewhere.filePath(QStringLiteral("half.mdb"));
        writeBytes(path, bytes(good).left(bytes(good).size() / 2));
    } else if (source == QLatin1String("table missing")) {
        path = elsewhere.filePath(QStringLiteral("lacking.mdb"));
        QFile::copy(good, path);
        db::Connection c;
        c.setDatabaseName(path);
        c.open();
        c.execute(S("drop table 事故登记表"));
    } else if (source == QLatin1String("missing")) {
        path = elsewhere.filePath(QStringLiteral("gone.mdb"));
    } else if (source == QLatin1String("itself")) {
        path = t.file();
    }
    const QByteArray current = bytes(t.file());
    Desk desk(path);
    TForm_main &w = desk.w;
    MessageScript &script = desk.messages;
    if (!yes)
        script.answer(QMessageBox::No);
    ModalDriver driver([&](QDialog *d) {
        click(d, "SpeedButton3");
        QDir::setCurrent(elsewhere.path());   // as a file dialog may leave it
        click(d, "SpeedButton1");
        if (d->result() != QDialog::Accepted)
            click(d, "SpeedButton2");
    });
    w.menuAction(QStringLiteral("N7"))->trigger();
    QCOMPARE(script.texts().size(), messages.size());
    for (int i = 0; i < messages.size(); ++i) {
        QVERIFY2(script.texts()[i].startsWith(messages[i]), qPrintable(script.texts()[i]));
        const bool question = messages[i] == S("确实要恢复数据库吗? ");
        QCOMPARE(script.seen()[i].caption, question ? S("请选择") : S("提示"));
        QCOMPARE(script.seen()[i].defaultButton, question ? QMessageBox::No : QMessageBox::Ok);
    }
    const bool restored = messages.last() == S("恢复完毕！");
    QCOMPARE(QDir(QDir::currentPath()).canonicalPath(), QDir(t.dir()).canonicalPath());
    QVERIFY(!w.isEnded());
    QVERIFY(t.dm()->ADO_system->isOpen());
    QCOMPARE(t.scalar(S("select 系统标题 from 公司信息")), restored ? title(good) : S("现在的数据"));
    QCOMPARE(QFile::exists(t.file() + QStringLiteral(".bak")), restored);
    if (restored) {
        QCOMPARE(bytes(t.file() + QStringLiteral(".bak")), current);
        QCOMPARE(rowCounts(t.file()), goodRows);
        // The operator goes on: a window opens on the restored data.
        ModalDriver next([&](QDialog *d) { click(d, "SpeedButton2"); });
        w.menuAction(QStringLiteral("N16"))->trigger();
        QCOMPARE(next.shown, QStringList{QStringLiteral("TForm_backup")});
    } else {
        QCOMPARE(bytes(t.file()), current);
    }
    QCOMPARE(QDir(t.dir()).entryList({QStringLiteral("*.part*")}), QStringList());
}

void TstBackup::unusableFileAfterRestoreEndsProgram()
{
    TestDb t;
    TForm_main w;
    login(w);
    ScopedWindow fake(QStringLiteral("TForm_restore"), [&](QWidget *o) { return new QDialog(o); });
    MessageScript messages;
    ModalDriver driver([&](QDialog *) { writeBytes(t.file(), "not a database"); });
    w.menuAction(QStringLiteral("N7"))->trigger();
    QCOMPARE(messages.texts(), QStringList{S("系统数据库没有连接，请与软件公司联系！")});
    QVERIFY(w.isEnded());
    QCOMPARE(w.exitCode(), 1);
    QVERIFY(!t.dm()->ADO_system->isOpen());
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
    TestDb t(true);
    if (failing)
        t.exec(S("create trigger keep_goods before delete on 货物信息 begin select raise(abort, '货物信息不能删除'); end"));
    const QMap<QString, qint64> before = rowCounts(t.file());
    Desk desk;
    MessageScript &messages = desk.messages;
    if (!yes)
        messages.answer(QMessageBox::No);
    QSet<int> checked;
    bool accepted = false, open = false;
    ModalDriver driver([&](QDialog *d) {
        auto *init = static_cast<TForm_initialize *>(d);
        for (int b : boxes) {
            if (b < 0) {
                (b == -1 ? init->Button_all : init->Button_none)->click();
                checked = b == -1 ? QSet<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14} : QSet<int>{};
            } else {
                init->CheckBoxes[b - 1]->click();
                checked << b;
            }
        }
        init->BitBtn1->click();
        accepted = d->result() == QDialog::Accepted;
        open = d->isVisible();
    });
    desk.w.menuAction(QStringLiteral("N44"))->trigger();
    QCOMPARE(messages.seen()[0].text, S("要初始化选中的数据库吗? "));
    QCOMPARE(messages.seen()[0].defaultButton, QMessageBox::No);
    QSet<QString> emptied;
    if (yes && !failing) {
        QCOMPARE(messages.texts().mid(1), QStringList{S("初始化完毕！")});
        for (int b : checked)
            emptied << TForm_initialize::items()[b - 1].table;
    } else if (failing) {
        QCOMPARE(messages.seen().size(), 2);
        QVERIFY(messages.last().contains(S("delete from 货物信息")) && messages.last().contains(S("货物信息不能删除")));
    }
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
        const QDate d = first.addDays(day);
        const QString name = QStringLiteral("data-%1.mdb").arg(d.toString(QStringLiteral("yyyyMMdd")));
        QCOMPARE(data::dailyBackup(t.file(), d), S("已自动备份: backup/") + name);
        QCOMPARE(data::dailyBackup(t.file(), d), S("今日已自动备份: backup/") + name);   // once a day
        expected.prepend(name);
    }
    const QString folder = t.dir() + QStringLiteral("/backup");
    QFile::copy(t.file(), folder + QStringLiteral("/mine.mdb"));   // not a daily copy: left alone
    QCOMPARE(QDir(folder).entryList({QStringLiteral("data-*")}, QDir::Files, QDir::Name | QDir::Reversed), expected.mid(0, 14));
    QCOMPARE(rowCounts(folder + QLatin1Char('/') + expected[0]), rowCounts(t.file()));
    QVERIFY(QFile::exists(folder + QStringLiteral("/mine.mdb")));

    // A damaged database is reported and its copy not kept.
    t.dm()->ADO_system->close();
    QFile f(t.file());
    QVERIFY(f.open(QIODevice::ReadWrite));
    db::Connection probe;
    probe.setDatabaseName(t.file());
    probe.open();
    db::Query root(&probe, QStringLiteral("root"));
    root.reopenWith({S("select rootpage from sqlite_master where name='集装箱运输单'")});
    const qint64 page = root.fieldByIndex(0).asInteger();
    root.close();
    probe.close();
    f.seek((page - 1) * 4096);
    f.write(QByteArray(4096, '\x5a'));
    f.close();
    const QString line = data::dailyBackup(t.file(), first.addDays(30));
    QVERIFY2(line.startsWith(S("数据库可能已损坏, 今日没有自动备份: ")), qPrintable(line));
    QCOMPARE(QDir(folder).entryList({QStringLiteral("data-*")}, QDir::Files).size(), 14);
}

void TstBackup::dailyBackupAtStartup()
{
    for (const bool blocked : {false, true}) {
        TestDb t;
        if (blocked)
            writeBytes(t.dir() + QStringLiteral("/backup"), "a file where the folder belongs");
        t.exec(S("insert into 权限表 (姓名, 操作口令) values ('张三', '')"));
        TForm_main w;
        ModalDriver driver([&](QDialog *d) {
            auto *e = static_cast<TForm_Enter *>(d);
            e->DBLookupComboBox1->setCurrentText(S("张三"));
            e->bitbtn_ok->click();
        });
        MessageScript messages;
        w.FormActivate();
        QVERIFY(messages.seen().isEmpty());
        QCOMPARE(velorin::operator_name, S("张三"));   // the start-up goes on
        const QString name = QStringLiteral("backup/data-%1.mdb").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
        QCOMPARE(w.statusPanelText(2), blocked ? S("自动备份失败: 无法建立文件夹 ") + t.dir() + QStringLiteral("/backup")
                                               : S("已自动备份: ") + name);
        QCOMPARE(QFile::exists(t.dir() + QLatin1Char('/') + name), !blocked);
    }
}

QTEST_MAIN(TstBackup)
#include "tst_backup.moc"
