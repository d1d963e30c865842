#pragma once
#include <QString>
#include <QStringList>

// Making and checking database files (used by the velorin-db tool and tests).
namespace dbfile {

// Creates FILE with the schema and the rows a fresh file must hold. Refuses an
// existing file unless force. Throws db::DbError.
void create(const QString &path, bool force);
// create() plus a realistic demo business.
void createDemo(const QString &path, bool force);
// create() plus large synthetic volumes for benchmarks.
void createGenerated(const QString &path, int orders, bool force);
// Empty when FILE is a Velorin database; otherwise what is wrong.
QStringList check(const QString &path);

} // namespace dbfile
