#include "data/dbwriter.h"
#include "data/safecopy.h"
#include "db/schema.h"
#include "db/connection.h"
#include "db/dates.h"
#include "db/dberror.h"
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace dbfile::detail {

NewFile::NewFile(const QString &path, bool force) : m_path(path), m_temp(path + QStringLiteral(".part"))
{
    const QFileInfo fi(path);
    if (fi.exists() || fi.isSymLink()) {
        if (!force)
            throw db::DbError(QStringLiteral("文件已存在: %1 (用 --force 覆盖)").arg(path));
        if (fi.isDir())
            throw db::DbError(QStringLiteral("%1 是一个文件夹, 不能覆盖").arg(path));
    }
    QFile::remove(m_temp);   // left over from an interrupted run
    QFile::remove(m_temp + QStringLiteral("-journal"));
    if (sqlite3_open_v2(m_temp.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString msg = m_db ? db::Connection::lastError(m_db) : QStringLiteral("out of memory");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        QFile::remove(m_temp);
        throw db::DbError(QStringLiteral("无法创建文件 %1: %2").arg(path, msg));
    }
    db::Connection::registerDialect(m_db);
    try {
        // The file is thrown away on any failure, so it needs no journal; a
        // large cache keeps a freshly filled table in memory while it is indexed.
        exec("PRAGMA journal_mode=OFF");
        exec("PRAGMA synchronous=OFF");
        exec("PRAGMA cache_size=-1048576");
    } catch (...) {
        sqlite3_close_v2(m_db);
        QFile::remove(m_temp);
        throw;
    }
}

NewFile::~NewFile()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    if (!m_done)
        QFile::remove(m_temp);
}

void NewFile::exec(const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        throw db::DbError(msg);
    }
}

void NewFile::commit()
{
    if (sqlite3_close(m_db) != SQLITE_OK)
        throw db::DbError(QStringLiteral("无法关闭文件 %1: %2").arg(m_temp, db::Connection::lastError(m_db)));
    m_db = nullptr;
    // Written without a journal: whole on the disk before it takes the name.
    data::safecopy::syncFile(m_temp);
    // rename() replaces an existing target in one step.
    if (std::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_path).constData()) != 0)
        throw db::DbError(QStringLiteral("无法写入 %1").arg(m_path));
    data::safecopy::syncFolder(m_path);
    m_done = true;
}

Insert::Insert(sqlite3 *db, const char *table, std::initializer_list<const char *> columns) : m_db(db)
{
    QStringList names;
    for (const char *c : columns)
        names << QString::fromUtf8(c);
    prepare(table, names);
}

Insert::Insert(sqlite3 *db, const char *table) : m_db(db)
{
    const db::TableDef *t = db::schema::table(QString::fromUtf8(table));
    if (!t)
        throw db::DbError(QStringLiteral("没有这个表: %1").arg(QString::fromUtf8(table)));
    QStringList names;
    for (const auto &c : t->columns)
        if (c.kind != db::Kind::AutoKey)
            names << c.name;
    prepare(table, names);
}

void Insert::prepare(const char *table, const QStringList &columns)
{
    std::string sql = "INSERT INTO ";
    sql += table;
    sql += " (";
    std::string marks;
    for (const QString &c : columns) {
        if (m_columns++) {
            sql += ", ";
            marks += ", ";
        }
        sql += c.toStdString();
        marks += '?';
    }
    sql += ") VALUES (" + marks + ")";
    m_text.resize(size_t(m_columns));
    if (sqlite3_prepare_v2(m_db, sql.c_str(), int(sql.size()), &m_st, nullptr) != SQLITE_OK)
        throw db::DbError(db::Connection::lastError(m_db));
}

Insert::~Insert() { sqlite3_finalize(m_st); }

int Insert::slot()
{
    if (m_next >= m_columns) {
        m_next = 0;
        sqlite3_clear_bindings(m_st);
        throw db::DbError(QStringLiteral("insert: more values than %1 columns").arg(m_columns));
    }
    return ++m_next;
}

Insert &Insert::null()
{
    sqlite3_bind_null(m_st, slot());
    return *this;
}

Insert &Insert::nulls(int n)
{
    while (n-- > 0)
        null();
    return *this;
}

Insert &Insert::add(std::string_view utf8)
{
    // Copied into the column's own buffer, which lives until the next row:
    // no allocation per value once the buffers have grown.
    const int i = slot();
    std::string &buf = m_text[size_t(i - 1)];
    buf.assign(utf8);
    sqlite3_bind_text(m_st, i, buf.data(), int(buf.size()), SQLITE_STATIC);
    return *this;
}

Insert &Insert::add(const QString &text)
{
    const QByteArray b = text.toUtf8();
    return add(std::string_view(b.constData(), size_t(b.size())));
}

Insert &Insert::add(qint64 v)
{
    sqlite3_bind_int64(m_st, slot(), v);
    return *this;
}

Insert &Insert::add(double v)
{
    sqlite3_bind_double(m_st, slot(), v);
    return *this;
}

Insert &Insert::add(const QDate &d)
{
    return d.isValid() ? add(db::storedDate(d)) : null();
}

Insert &Insert::add(const QDateTime &dt)
{
    return dt.isValid() ? add(db::storedDateTime(dt)) : null();
}

void Insert::row()
{
    const int bound = m_next;
    m_next = 0;
    if (bound != m_columns) {
        sqlite3_clear_bindings(m_st);
        sqlite3_reset(m_st);
        throw db::DbError(QStringLiteral("insert: %1 values for %2 columns").arg(bound).arg(m_columns));
    }
    if (sqlite3_step(m_st) != SQLITE_DONE) {
        const QString msg = db::Connection::lastError(m_db);
        sqlite3_reset(m_st);
        throw db::DbError(msg);
    }
    sqlite3_reset(m_st);
}

qint64 Insert::lastRowId() const { return sqlite3_last_insert_rowid(m_db); }

} // namespace dbfile::detail
