#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace db {

// The system's short date format is "yyyy-M-d" (no leading zeros), the form
// the SQL texts put into cdate('...').
QString shortDate(const QDate &d);
QString shortDateTime(const QDateTime &dt);   // "yyyy-M-d h:mm:ss"

// Stored form of dates and date-times: "YYYY-MM-DD HH:MM:SS", so that text
// comparison and `between` order them correctly.
QString storedDateTime(const QDateTime &dt);
QString storedDate(const QDate &d);

// Reads "Y-M-D" or "Y/M/D", optionally followed by " H:M[:S]", leading zeros
// optional; also the stored form. Invalid text gives nullopt.
std::optional<QDateTime> parseDateTime(const QString &text);

bool isLeapYear(int year);
int lastDayOfMonth(int year, int month);

// "(col between cdate('Y-M-D 0:0:0') and cdate('Y-M-D 23:59:59'))" and its
// cvdate twin used by the search dialogs.
QString dayRangeCondition(const QString &column, const QDate &from, const QDate &to,
                          const QString &fn = QStringLiteral("cdate"));

} // namespace db
