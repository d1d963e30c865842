#include "data/dbfile.h"
#include "data/dbwriter.h"
#include "db/sqlitedriver.h"
#include "db/dberror.h"
#include "db/collation.h"
#include "db/schema.h"
#include <QFileInfo>
#include <memory>

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
    std::unique_ptr<db::SqliteDriver> file;
    try {
        file = std::make_unique<db::SqliteDriver>(path, db::SqliteDriver::Mode::ReadOnly);
    } catch (const db::DbError &e) {
        return {e.message()};
    }
    try {
        return db::schema::missing(*file);
    } catch (const db::DbError &e) {
        return {QStringLiteral("不是数据库文件: %1").arg(e.message())};
    }
}

namespace {

db::SqliteDriver openFile(const QString &path, bool write)
{
    if (!QFileInfo(path).isFile())
        throw db::DbError(QStringLiteral("文件不存在: %1").arg(path));
    return db::SqliteDriver(path, write ? db::SqliteDriver::Mode::ReadWrite : db::SqliteDriver::Mode::ReadOnly);
}

} // namespace

QString textCollation(const QString &path)
{
    db::SqliteDriver file = openFile(path, false);
    return db::schema::textCollation(file);
}

void upgrade(const QString &path)
{
    db::SqliteDriver file = openFile(path, true);
    if (!db::schema::missing(file).isEmpty())
        throw db::DbError(QStringLiteral("%1 不是 Velorin 数据库").arg(path));
    db::schema::upgradeCollation(file);
}

QStringList select(const QString &path, const QString &sql)
{
    db::SqliteDriver file = openFile(path, false);
    return selectLines(file, sql);
}

QStringList selectLines(db::Driver &d, const QString &sql)
{
    auto st = d.prepare(sql);
    QStringList lines, cells;
    const int n = st->columnCount();
    for (int c = 0; c < n; ++c)
        cells << st->columnName(c);
    lines << cells.join(QLatin1Char('\t'));
    while (st->step()) {
        cells.clear();
        for (int c = 0; c < n; ++c)
            cells << st->value(c).toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

} // namespace dbfile
