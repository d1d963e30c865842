#pragma once
#include <QString>

namespace db::pg {

// The windows' SQL texts are written for the file. On the server three
// things read differently, and the text is adjusted for them before it is
// sent, so the texts themselves stay as they are:
//  - parameters are $1, $2, ... instead of ?;
//  - a backslash escapes in a like pattern; the file has no escape
//    character, so every like gets "escape ''";
//  - nulls sort last; the file sorts them first, so every order by term
//    says where its nulls go;
//  - and smaller differences: unnamed subqueries, ifnull, planner hints,
//    the temp schema, REAL in a declaration.
struct Translated {
    QString text;
    int parameters = 0;
};
Translated translate(const QString &sql);

// The first word of a statement, lower case ("select", "insert", ...).
QString firstWord(const QString &sql);

} // namespace db::pg
