#pragma once
#include "db/driver.h"
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace db {

class Query;

// The one connection of the program (TDm1's ADO_system). The windows' SQL
// texts, the shared datasets and the transactions go through it; the engine
// itself is behind its driver (db/driver.h).
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    // File name relative to the working directory at the moment of open().
    void setDatabaseName(const QString &path) { m_path = path; }
    QString databaseName() const { return m_path; }

    // Opens the database and checks that it is a Velorin database. Throws
    // DbError with a clear text when it is missing, not a database or lacks
    // tables or columns.
    void open();
    void close();
    bool isOpen() const { return m_driver != nullptr; }
    // The engine of the open database; throws DbError when closed.
    Driver &driver() const;

    // Nothing can be written (the file or its folder is read-only): reading
    // works, every write would fail. Known from open().
    bool isReadOnly() const { return m_driver && m_driver->isReadOnly(); }
    QString filePath() const { return m_filePath; }
    // On a server shared by several workstations (not the embedded file).
    bool isServer() const { return m_driver && m_driver->engine() == Driver::Engine::Server; }
    // What a copy of the open database is made from: the file's absolute
    // path, or the server's URI.
    QString address() const { return isServer() ? m_path : m_filePath; }
    // What the engine's quick check finds wrong with the open database (at
    // most `limit` lines); empty when it is sound.
    QStringList quickCheck(int limit = 5);

    // Runs one command (update, delete, insert); returns the rows changed.
    int execute(const QString &sql);

    // Lists still being read (see Query::open). Every write first finishes
    // them: no write to a table while a statement over it is stepping, so
    // no row is read twice or missed.
    void finishReads();
    void readStarted(const Query *q);
    void readEnded(const Query *q);

signals:
    void aboutToClose();
    void opened();

private:
    QString m_path = QStringLiteral("data.mdb");
    QString m_filePath;
    std::unique_ptr<Driver> m_driver;
    QList<const Query *> m_reads;
};

// One user action that writes: commits on commit(), rolls back when destroyed
// uncommitted.
class Transaction {
public:
    explicit Transaction(Connection &c);
    ~Transaction();
    // Throws DbError; with Outcome::Unknown when the change may have landed.
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &m_conn;
    bool m_done = false;
};

} // namespace db
