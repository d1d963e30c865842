#include "data/dbfile.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/schema.h"
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace dbfile {
namespace {

struct Handle {
    sqlite3 *db = nullptr;
    ~Handle() { if (db) sqlite3_close_v2(db); }
};

void openNew(const QString &path, bool force, Handle &h)
{
    if (QFileInfo::exists(path)) {
        if (!force)
            throw db::DbError(QStringLiteral("文件已存在: %1 (用 --force 覆盖)").arg(path));
        if (!QFile::remove(path))
            throw db::DbError(QStringLiteral("无法删除已有文件: %1").arg(path));
    }
    if (sqlite3_open_v2(path.toUtf8().constData(), &h.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        throw db::DbError(QStringLiteral("无法创建文件 %1: %2").arg(path, db::Connection::lastError(h.db)));
    db::Connection::registerDialect(h.db);
}

} // namespace

void create(const QString &path, bool force)
{
    Handle h;
    openNew(path, force, h);
    db::schema::create(h.db);
    db::schema::seed(h.db);
}

QStringList check(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {QStringLiteral("文件不存在: %1").arg(path)};
    Handle h;
    if (sqlite3_open_v2(path.toUtf8().constData(), &h.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return {QStringLiteral("无法打开: %1").arg(db::Connection::lastError(h.db))};
    try {
        return db::schema::missing(h.db);
    } catch (const db::DbError &e) {
        return {QStringLiteral("不是数据库文件: %1").arg(e.message())};
    }
}

} // namespace dbfile
