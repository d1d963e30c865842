#pragma once
#include "db/driver.h"
#include <QHash>
#include <QSet>
#include <deque>

struct pg_conn;
struct pg_result;

namespace db {

class PgStatement;

// The server engine: one session on a PostgreSQL database made by
// schema::create, through libpq. The windows' SQL texts are adjusted by
// pg::translate; rows come one at a time (single-row mode), so a long list
// shows its first screen before the server has sent the last row.
class PgDriver final : public Driver {
public:
    // Connects to the libpq URI. Throws DbError with the reason (never the
    // password): the server cannot be reached, refuses, or the database is
    // not UTF8.
    explicit PgDriver(const QString &url);
    ~PgDriver() override;
    PgDriver(const PgDriver &) = delete;
    PgDriver &operator=(const PgDriver &) = delete;

    std::unique_ptr<Statement> prepare(const QString &sql) override;
    int execute(const QString &sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    QString keyColumn(const QString &table) const override;
    QString keyedSelectList(const QString &table) const override;
    int hiddenColumns() const override { return 2; }
    QString rowCondition(const QString &table) const override;
    QString conflictMessage() const override;
    QStringList columnsOf(const QString &table) override;
    bool isReadOnly() const override { return m_readOnly; }
    QStringList quickCheck(int limit) override;
    QString location() const override { return m_location; }
    Engine engine() const override { return Engine::Server; }
    void afterSchemaChange() override { sessionSetup(); }

    // "host/dbname" (or "socket folder/dbname"): what the status bar shows.
    static QString displayName(const QString &url);
    // The URI without its password, for messages.
    static QString withoutPassword(const QString &url);

    // Runs the session's set-up again: after schema::create made the tables
    // (the scratch table and the column kinds need them).
    void sessionSetup();

    // Loading a table in bulk (COPY ... FROM STDIN, the server's text form:
    // tab between values, \\N for null, backslash escapes). Inside the
    // caller's transaction; throws DbError with the server's reason.
    void copyBegin(const QString &table, const QStringList &columns);
    void copyData(const QByteArray &lines);
    void copyEnd();
    // A value in that text form.
    static void appendCopyValue(QByteArray &out, const char *utf8, int size);

    // For PgStatement.
    pg_conn *handle() const { return m_conn; }
    void claim(PgStatement *st);        // st is about to send; any other running one is read to its end
    void released(PgStatement *st);
    void failed();                      // an error inside a transaction: it is rolled back
    Kind kindOf(unsigned tableOid, int column) const;
    // A write outside the caller's transaction runs in one of its own.
    void beginOwn();
    void commitOwn();
    void rollbackOwn();
    QString describe(const pg_result *res) const;
    void ensureConnected();

private:
    QString runScalar(const QString &sql);
    void noteOwnTransaction();
    void checkNotAborted() const;

    pg_conn *m_conn = nullptr;
    QString m_url, m_location;
    bool m_readOnly = false;
    bool m_schemaReady = false;
    bool m_userTransaction = false;   // begin() was called
    bool m_aborted = false;           // an error ended it; refused until rollback()
    PgStatement *m_running = nullptr;
    mutable QHash<quint64, Kind> m_kinds;         // (table oid << 16 | column number) -> kind
    mutable QSet<unsigned> m_kindsLooked;         // tables made since, looked up once
    std::deque<qint64> m_ownXids;                 // the last transactions of this session that wrote
    QSet<qint64> m_ownXidSet;
};

} // namespace db
