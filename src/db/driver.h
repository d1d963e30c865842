#pragma once
#include "db/schema.h"
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace db {

// One cell of the row a statement stands on, as the engine gives it. Text is
// UTF-8 owned by the statement, valid until the next step or reset.
struct Cell {
    enum Type : unsigned char { Null, Integer, Real, Text };
    Type type = Null;
    qint64 integer = 0;
    double real = 0;
    const char *text = nullptr;
    int size = 0;
};

// A prepared statement of one engine. It steps one row at a time, so a
// caller may use the first rows before the last are read. Every failure
// throws DbError with the engine's reason in the clerk's words first.
class Statement {
public:
    virtual ~Statement() = default;

    // Parameters are numbered from 1, in the order of the ? marks.
    virtual void bindNull(int index) = 0;
    virtual void bindInteger(int index, qint64 value) = 0;
    virtual void bindReal(int index, double value) = 0;
    // UTF-8; with `stable` the caller keeps the bytes alive until the statement
    // has stepped (no copy), otherwise the statement takes a copy.
    virtual void bindText(int index, const char *utf8, int size, bool stable = false) = 0;
    void bind(int index, const QVariant &value);   // null, whole number, real or text

    // True while a row is there, false once there are no more.
    virtual bool step() = 0;
    // Ready to run again; with clear, the parameters are unbound too.
    virtual void reset(bool clear = false) = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int i) const = 0;
    // The declared kind of a column read straight from a table; Unknown for
    // an expression.
    virtual Kind columnKind(int i) const = 0;
    virtual Cell cell(int i) const = 0;
    QVariant value(int i) const;   // null, qint64, double or QString

    // After a command: the rows it changed, and the key of a row it inserted.
    virtual int rowsChanged() const = 0;
    virtual qint64 insertedKey() const = 0;
};

// One open database of one engine. db::Connection is the front the windows
// and the data module hold; everything that knows the engine is behind here.
class Driver {
public:
    enum class Engine { File, Server };
    virtual ~Driver() = default;
    virtual Engine engine() const { return Engine::File; }

    virtual std::unique_ptr<Statement> prepare(const QString &sql) = 0;
    // Runs one or more commands; the rows changed by the last.
    virtual int execute(const QString &sql) = 0;

    // A transaction on the connection. begin() inside one is refused.
    // commit() throws DbError with Outcome::Unknown when a disk error may
    // have come after the change reached the database.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    // The hidden key every table has, by which a listed row is found again.
    virtual QString keyColumn(const QString &table) const = 0;
    // What a listed table's rows are read with: the key first as __key, then
    // what else the engine needs to find the row again, then the columns.
    virtual QString keyedSelectList(const QString &table) const { return keyColumn(table) + QStringLiteral(" AS __key, *"); }
    // How many of those come before the columns (the key, and a version).
    virtual int hiddenColumns() const { return 1; }
    // The where-condition that finds a listed row for a write: "key=?", and
    // where several workstations share the data "and version=?" too, so a
    // row another changed since it was read is not written over.
    virtual QString rowCondition(const QString &table) const { return keyColumn(table) + QStringLiteral("=?"); }
    // What the clerk is told when that row is no longer found.
    virtual QString conflictMessage() const { return QStringLiteral("无法为更新定位行，该记录已被删除。"); }
    // Tables were made or changed (schema::create): the session's own
    // set-up that needs them runs.
    virtual void afterSchemaChange() {}
    // The columns of a table as the database has them (empty: no such table).
    virtual QStringList columnsOf(const QString &table) = 0;
    // Nothing can be written: the file or its folder is read-only.
    virtual bool isReadOnly() const = 0;
    // What the engine's quick health check finds wrong (at most `limit`
    // lines); empty when sound.
    virtual QStringList quickCheck(int limit) = 0;
    // Where the database is: a file's absolute path.
    virtual QString location() const = 0;
};

} // namespace db
