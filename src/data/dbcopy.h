#pragma once
#include <QString>
#include <QStringList>

// Whole databases between the two engines: a file (path) and a server
// (postgresql:// URI), either way, for the velorin-db tool, backup and
// restore on a server, and moving an office onto one.
namespace dbcopy {

struct Result {
    int tables = 0;
    qint64 rows = 0;
};

// Copies every table of FROM into TO, from one snapshot of FROM, keeping
// every row's key (the server's identities continue after them). A file
// target is written beside and moved in place whole; a server target is
// loaded in one transaction, with the extension, collation, functions and
// tables made first. A target that holds data is refused unless force.
// All or nothing; the first value that cannot be converted (text in a
// money column, a date that is no date) is named. Throws db::DbError.
Result copy(const QString &from, const QString &to, bool force);

// A server database with the schema and the rows a fresh database holds
// (velorin-db create URL). Refuses one that holds data unless force.
void createServer(const QString &url, bool force);

// Empty when the server database is a Velorin database; otherwise what is
// wrong (it cannot be reached, lacks tables, is not UTF8).
QStringList checkServer(const QString &url);

// Rows of every table (the scratch table aside) in key order, one line
// each, values as the engine gives them: for comparing two databases.
QStringList dump(const QString &name);

// Runs one statement on a file or a server; rows as tab-separated lines,
// the column names first.
QStringList select(const QString &name, const QString &sql);

} // namespace dbcopy
