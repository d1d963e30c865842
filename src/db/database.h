#pragma once
#include "db/driver.h"
#include <QString>
#include <memory>

namespace db {

// A database is named by a file path (the embedded engine) or by a libpq
// URI, postgresql://user@host:port/dbname (a server several workstations
// share).
bool isServerUrl(const QString &name);

// The database this workstation works on: the environment's
// VELORIN_DATABASE, else `database/url` in velorin.ini of the working
// directory, else data.mdb there.
QString configuredDatabase();

// What a clerk is shown of a database: host and name of a server (never
// the password), the file's path otherwise.
QString displayName(const QString &name);

// The engine for a name. A file must exist unless `create`; a server
// database must exist. Throws DbError with the reason.
std::unique_ptr<Driver> openDatabase(const QString &name, bool create = false);

} // namespace db
