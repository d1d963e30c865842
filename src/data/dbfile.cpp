#include "data/dbfile.h"
#include "data/dbwriter.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/collation.h"
#include "db/schema.h"
#include <QFileInfo>
#include <sqlite3.h>

namespace dbfile {

void create(const QString &path, bool force)
{
    detail::NewFile f(path, force);
    db::schema::create(f.db());
    db::schema::seed(f.db());
    f.commit();
}

QStringList check(const QString &path)
{
    const QFileInfo fi(path);
    if (!fi.exists())
        return {QStringLiteral("文件不存在: %1").arg(path)};
    if (fi.isDir())
        return {QStringLiteral("%1 是一个文件夹").arg(path)};
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    struct Closer { sqlite3 *db; ~Closer() { sqlite3_close_v2(db); } } closer{db};
    if (rc != SQLITE_OK)
        return {QStringLiteral("无法打开: %1").arg(db ? db::Connection::lastError(db) : QStringLiteral("out of memory"))};
    db::Connection::registerDialect(db);
    try {
        return db::schema::missing(db);
    } catch (const db::DbError &e) {
        return {QStringLiteral("不是数据库文件: %1").arg(e.message())};
    }
}

namespace {

// A handle on FILE with the dialect registered, closed on leaving scope.
struct Handle {
    sqlite3 *db = nullptr;
    Handle(const QString &path, bool write)
    {
        if (!QFileInfo(path).isFile())
            throw db::DbError(QStringLiteral("文件不存在: %1").arg(path));
        const int flags = write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
            const QString msg = db ? db::Connection::lastError(db) : QStringLiteral("out of memory");
            sqlite3_close_v2(db);
            throw db::DbError(QStringLiteral("无法打开 %1: %2").arg(path, msg));
        }
        db::Connection::registerDialect(db);
    }
    ~Handle() { sqlite3_close_v2(db); }
};

} // namespace

QString textCollation(const QString &path)
{
    return db::schema::textCollation(Handle(path, false).db);
}

void upgrade(const QString &path)
{
    const Handle h(path, true);
    if (!db::schema::missing(h.db).isEmpty())
        throw db::DbError(QStringLiteral("%1 不是 Velorin 数据库").arg(path));
    db::schema::upgradeCollation(h.db);
}

QStringList select(const QString &path, const QString &sql)
{
    const Handle h(path, false);
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(h.db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw db::DbError(db::Connection::lastError(h.db));
    struct Finalizer { sqlite3_stmt *st; ~Finalizer() { sqlite3_finalize(st); } } fin{st};
    QStringList lines, cells;
    const int n = sqlite3_column_count(st);
    for (int c = 0; c < n; ++c)
        cells << QString::fromUtf8(sqlite3_column_name(st, c));
    lines << cells.join(QLatin1Char('\t'));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        cells.clear();
        for (int c = 0; c < n; ++c)
            cells << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)));
        lines << cells.join(QLatin1Char('\t'));
    }
    if (rc != SQLITE_DONE)
        throw db::DbError(db::Connection::lastError(h.db));
    return lines;
}

} // namespace dbfile
