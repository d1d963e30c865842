#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace db {

// The one connection to data.mdb (an SQLite file). Registers the SQL dialect
// the windows' texts are written in: cdate, cvdate, ccur.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    // File name relative to the working directory at the moment of open().
    void setDatabaseName(const QString &path) { m_path = path; }
    QString databaseName() const { return m_path; }

    // Opens the file and checks that it is a Velorin database. Throws DbError
    // with a clear text when the file is missing, not a database or lacks
    // tables or columns.
    void open();
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // The file (or its folder, where SQLite keeps its journal) cannot be
    // written: reading works, every write would fail. Known from open().
    bool isReadOnly() const { return m_readOnly; }
    QString filePath() const { return m_filePath; }
    // What SQLite's quick_check finds wrong with the open file (at most
    // `limit` lines); empty when the file is sound.
    QStringList quickCheck(int limit = 5);

    // Runs one command (update, delete, insert); returns the rows changed.
    int execute(const QString &sql);

    // Registers the dialect functions and the text collation (db/collation.h)
    // on any handle (the tools use it too).
    static void registerDialect(sqlite3 *db);
    // The engine's last error with a Chinese sentence first (磁盘已满, 文件只读…).
    static QString lastError(sqlite3 *db);
    static QString describeError(int extendedCode, const QString &engineText);

signals:
    void aboutToClose();
    void opened();

private:
    QString m_path = QStringLiteral("data.mdb");
    QString m_filePath;
    sqlite3 *m_db = nullptr;
    bool m_readOnly = false;
};

// Commits on commit(), rolls back when destroyed uncommitted.
class Transaction {
public:
    explicit Transaction(Connection &c);
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &m_conn;
    bool m_done = false;
};

} // namespace db
