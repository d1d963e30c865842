#pragma once
#include <QDate>
#include <QString>

namespace data {

// Where the automatic copies live, beside the database file.
inline constexpr const char *BackupFolder = "backup";
inline constexpr int BackupsKept = 14;

// The automatic copy of the day: at the first start of a day the database
// file is copied (the safe copy: consistent, checked, renamed in place) into
// backup/data-YYYYMMDD.mdb beside it and only the newest `keep` copies stay.
// Never throws and never asks: returns the line for the status bar, which
// also tells of a failure or of a damaged database.
QString dailyBackup(const QString &database, const QDate &today = QDate::currentDate(), int keep = BackupsKept);

} // namespace data
