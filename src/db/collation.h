#pragma once
#include <QStringView>

struct sqlite3;

namespace db {

// The collation of every text column: Chinese by pinyin (the order of the
// Chinese (China) collator, frozen in pinyinorder.inc so that an index keeps
// its order on every machine), ASCII letters without regard to case. Two
// texts are equal exactly when NOCASE finds them equal, so key checks and
// searches behave as before; only the order differs.
inline constexpr const char *TextCollation = "PINYIN";

// Registers the collation on a handle. Without it a file whose columns
// declare it cannot compare or index text (the sqlite3 shell fails so).
void registerTextCollation(sqlite3 *db);

// The collation's comparison for texts outside SQL (negative, zero, positive).
int compareText(QStringView a, QStringView b);

} // namespace db
