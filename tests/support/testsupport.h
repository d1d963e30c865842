#pragma once
#include "data/dm1.h"
#include "dbctrls/messages.h"
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <memory>

// The server the tests run against: VELORIN_TEST_SERVER, a URI of the
// throw-away cluster's maintenance database; empty when the tests run on
// the file alone.
QString testServer();
// A fresh, empty database of that server named `name` (dropped first if
// it is there); its URI.
QString freshServerDatabase(const QString &name);

// A fresh database in a temporary folder that is the working directory for
// the test's lifetime, plus an opened data module over it. With a test
// server the database is this test program's database on the server (made
// afresh for each TestDb), and file() is not the open database.
class TestDb {
public:
    explicit TestDb(bool demo = false);
    ~TestDb();
    QString dir() const { return m_dir.path(); }
    QString file() const { return m_dir.filePath(QStringLiteral("data.mdb")); }
    // What the data module opened: file() or the server database's URI.
    QString database() const { return m_database; }
    bool onServer() const { return !testServer().isEmpty(); }
    TDm1 *dm() const { return m_dm.get(); }
    // Runs a command on the connection.
    void exec(const QString &sql) const;
    // First column of the first row of a select, as text.
    QString scalar(const QString &sql) const;

private:
    QTemporaryDir m_dir;
    QString m_oldCwd, m_database;
    std::unique_ptr<TDm1> m_dm;
};

// Scripted answers to message boxes: every box shown is recorded; answers are
// taken in order (Ok/Yes when the script runs dry, unless a default is set).
class MessageScript {
public:
    MessageScript();
    ~MessageScript();
    void answer(QMessageBox::StandardButton b) { m_answers << b; }
    QStringList texts() const;
    QString last() const { return m_seen.isEmpty() ? QString() : m_seen.last().text; }
    const QVector<msg::Request> &seen() const { return m_seen; }
    void clear() { m_seen.clear(); }
    // Calls fn when the next box is shown (for acting on modal windows).
    std::function<void(const msg::Request &)> onShow;

private:
    QVector<msg::Request> m_seen;
    QVector<QMessageBox::StandardButton> m_answers;
    msg::Responder m_previous;
};

class QWidget;
// Types text into a widget key by key; Chinese characters go in as text
// events (QTest::keyClicks only knows Latin keys).
void typeText(QWidget *w, const QString &text);

// A small tmpfs of its own for the full-disk and read-only cases. Mounting
// needs root (or a mount namespace); where it is impossible ok() is false and
// why() says so, for QSKIP.
class ScratchMount {
public:
    explicit ScratchMount(int kilobytes = 256);
    ~ScratchMount();
    bool ok() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Fills the free space with a file, so that the next write fails.
    void fill();
    // Remounts read-only (true) or writable again.
    bool setReadOnly(bool on);

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// An ext4 file system on a loop device that can lose power: cut() shuts it
// down without flushing its log, so whatever was not made durable (synced
// data, a synced folder) is gone after remount(), as after a power cut.
// Needs root and loop devices; where impossible ok() is false and why() says so.
class PowerCutDisk {
public:
    PowerCutDisk();
    ~PowerCutDisk();
    bool ok() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path() const { return m_dir.filePath(QStringLiteral("mnt")); }
    QString filePath(const QString &name) const { return path() + QLatin1Char('/') + name; }
    bool cut();
    bool remount();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
