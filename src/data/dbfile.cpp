#include "data/dbfile.h"
#include "data/dbwriter.h"
#include "db/connection.h"
#include "db/dberror.h"
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
    try {
        return db::schema::missing(db);
    } catch (const db::DbError &e) {
        return {QStringLiteral("不是数据库文件: %1").arg(e.message())};
    }
}

} // namespace dbfile
