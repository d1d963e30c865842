#pragma once
#include <QDate>
#include <QString>

namespace data {

// Where the automatic copies live, beside the database file.
inline constexpr const char *BackupFolder = "backup";
inline constexpr int BackupsKept = 14;
inline constexpr int MonthlyBackupsKept = 12;

// Of the daily copies' names (data-YYYYMMDD.mdb), those to remove: all but
// the newest `keep` and the first copy of each of the last twelve months.
QStringList expiredCopies(const QStringList &names, const QDate &today, int keep = BackupsKept);

// The automatic copy of the day: at the first start of a day the database
// file is copied (the safe copy: consistent, checked, renamed in place) into
// backup/data-YYYYMMDD.mdb beside it; the newest `keep` copies stay, and
// the first copy of each of the last twelve months.
// Never throws and never asks: returns the line for the status bar, which
// also tells of a failure or of a damaged database.
QString dailyBackup(const QString &database, const QDate &today = QDate::currentDate(), int keep = BackupsKept);

} // namespace data
