#pragma once
#include "db/driver.h"

struct sqlite3;

namespace db {

// The embedded engine: one SQLite file with the dialect the windows' SQL is
// written in (cdate, cvdate, ccur) and the pinyin text collation.
class SqliteDriver final : public Driver {
public:
    enum class Mode {
        ReadWrite,   // the program's connection: durable commits, a busy wait
        ReadOnly,    // a copy's source, a check, a look into a file
        Scratch,     // a new file made whole or thrown away: created, no journal, no sync
    };
    // Opens (for Scratch: creates) the file. Throws DbError with the reason.
    SqliteDriver(const QString &path, Mode mode);
    ~SqliteDriver() override;
    SqliteDriver(const SqliteDriver &) = delete;
    SqliteDriver &operator=(const SqliteDriver &) = delete;

    std::unique_ptr<Statement> prepare(const QString &sql) override;
    int execute(const QString &sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    QString keyColumn(const QString &) const override { return QStringLiteral("rowid"); }
    QStringList columnsOf(const QString &table) override;
    bool isReadOnly() const override { return m_readOnly; }
    QStringList quickCheck(int limit) override;
    QString location() const override { return m_path; }

    // The engine's full integrity check (every page, every index against its
    // table); empty when sound.
    QStringList integrityCheck(int limit);
    // Copies the whole database, committed rows only, into `target` (the
    // online backup; waits while another connection writes).
    void backupInto(SqliteDriver &target);
    // Closes the file now; throws DbError when the engine cannot.
    void close();

    // The engine's handle, for the engine's own tests and benchmarks.
    sqlite3 *handle() const { return m_db; }
    // The engine's last error: a Chinese sentence first, its own words after.
    QString lastError() const;
    static QString describeError(int extendedCode, const QString &engineText, int systemErrno = 0);
    // The dialect and the collation on a handle opened elsewhere (benchmarks).
    static void registerDialect(sqlite3 *db);

private:
    sqlite3 *m_db = nullptr;
    QString m_path;
    bool m_readOnly = false;
};

} // namespace db
