#pragma once
#include "db/dberror.h"
#include <QString>
#include <QStringList>

// Copies of the database file that never leave a half-written file where a
// good one stood: SQLite's online backup into a temporary file beside the
// target, the copy checked, then renamed over the target in one step.
namespace data::safecopy {

// What is wrong with a database file: the engine's integrity check and the
// tables and columns the program needs. Empty when the file is sound.
QStringList problems(const QString &path);

// The copy was made but failed its check: the source itself is damaged.
class Damaged : public db::DbError {
public:
    using db::DbError::DbError;
};

// Copies the database SOURCE (read through its own read-only connection, so
// it sees committed rows only and may be open elsewhere) to TARGET. An
// existing target is replaced only after the new copy is complete and sound.
// Throws db::DbError (Damaged when the copy fails its check) with the
// reason; the target is then as it was and no
// temporary file is left behind.
void copy(const QString &source, const QString &target);

// Puts a copy of SOURCE in place of the database file DATABASE (which must
// not be open): SOURCE is checked first, copied beside DATABASE, checked
// again, and renamed over it; the replaced file stays as DATABASE + ".bak".
// Throws db::DbError; DATABASE is then unchanged.
void replace(const QString &source, const QString &database);

// Makes a written file, and after a rename the folder's entry, reach the
// disk (fsync). syncFile throws db::DbError; a folder that cannot be synced
// (some network file systems) is no failure.
void syncFile(const QString &path);
void syncFolder(const QString &file);

// Name of the temporary file a copy to TARGET is written to.
QString tempName(const QString &target);

} // namespace data::safecopy
