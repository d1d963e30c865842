#pragma once
#include <QString>
#include <QStringList>

// Making and checking database files (used by the velorin-db tool and tests).
namespace db { class Driver; }

namespace dbfile {

// Creates FILE with the schema and the rows a fresh file must hold. Refuses an
// existing file unless force. Throws db::DbError.
void create(const QString &path, bool force);
// Empty when FILE is a Velorin database; otherwise what is wrong.
QStringList check(const QString &path);
// The collation of FILE's text columns (db::schema::textCollation).
QString textCollation(const QString &path);
// Sorts the text of a file made before pinyin order by pinyin
// (db::schema::upgradeCollation). Throws db::DbError.
void upgrade(const QString &path);
// Runs one read-only statement on FILE with the program's SQL dialect and
// collation; rows as tab-separated lines, the column names first.
// Throws db::DbError.
QStringList select(const QString &path, const QString &sql);
// The same on an open database of either engine.
QStringList selectLines(db::Driver &d, const QString &sql);

} // namespace dbfile
