#include "db/pgdialect.h"
#include <QStringList>
#include <algorithm>
#include <vector>

namespace db::pg {
namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() > 127;
}

// One lexical unit outside literals: a word, a literal, a quoted name, a
// parameter mark or a single other character.
struct Token {
    enum Kind { Word, Literal, Name, Mark, Other } kind;
    int begin, end;
    QString lower;   // words only
};

std::vector<Token> tokens(const QString &s)
{
    std::vector<Token> out;
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out.push_back({c == QLatin1Char('\'') ? Token::Literal : Token::Name, i, qMin(j + 1, n), {}});
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(s[j]))
                ++j;
            out.push_back({Token::Word, i, j, s.mid(i, j - i).toLower()});
            i = j;
            continue;
        }
        out.push_back({c == QLatin1Char('?') ? Token::Mark : Token::Other, i, i + 1, {}});
        ++i;
    }
    return out;
}

bool is(const Token &t, const char *word) { return t.kind == Token::Word && t.lower == QLatin1String(word); }
bool isChar(const Token &t, char c, const QString &s) { return t.kind == Token::Other && s[t.begin] == QLatin1Char(c); }

} // namespace

Translated translate(const QString &sql)
{
    const std::vector<Token> t = tokens(sql);
    // Insertions at positions of the original text, applied from the back.
    std::vector<std::pair<int, QString>> inserts;
    std::vector<std::pair<int, int>> marks;   // position of each ?, its number
    struct Replacement {
        int pos, length;
        QString text;
    };
    std::vector<Replacement> replaced;
    int parameters = 0, aliases = 0;
    const int n = int(t.size());
    // Brackets opened as a subquery in from or join: their closing bracket
    // needs a name after it on the server (PostgreSQL 15).
    std::vector<bool> subquery;
    static const QStringList followers = {
        QStringLiteral("where"), QStringLiteral("group"), QStringLiteral("order"), QStringLiteral("having"),
        QStringLiteral("limit"), QStringLiteral("offset"), QStringLiteral("union"), QStringLiteral("except"),
        QStringLiteral("intersect"), QStringLiteral("join"), QStringLiteral("left"), QStringLiteral("right"),
        QStringLiteral("inner"), QStringLiteral("outer"), QStringLiteral("cross"), QStringLiteral("natural"),
        QStringLiteral("on"), QStringLiteral("using"), QStringLiteral("window"), QStringLiteral("for")};
    for (int i = 0; i < n; ++i) {
        if (t[i].kind == Token::Mark) {
            marks.push_back({t[i].begin, ++parameters});
            continue;
        }
        if (isChar(t[i], '(', sql)) {
            subquery.push_back(i > 0 && (is(t[i - 1], "from") || is(t[i - 1], "join")) && i + 1 < n && is(t[i + 1], "select"));
            continue;
        }
        if (isChar(t[i], ')', sql)) {
            const bool wasSubquery = !subquery.empty() && subquery.back();
            if (!subquery.empty())
                subquery.pop_back();
            if (wasSubquery) {
                const bool named = i + 1 < n && (is(t[i + 1], "as") || t[i + 1].kind == Token::Name ||
                                                 (t[i + 1].kind == Token::Word && !followers.contains(t[i + 1].lower)));
                if (!named)
                    inserts.push_back({t[i].end, QStringLiteral(" AS __sub%1").arg(++aliases)});
            }
            continue;
        }
        // Hints to the file's planner mean nothing to the server's.
        if (is(t[i], "not") && i + 1 < n && is(t[i + 1], "indexed")) {
            replaced.push_back({t[i].begin, t[i + 1].end - t[i].begin, QString()});
            ++i;
            continue;
        }
        if (is(t[i], "indexed") && i + 2 < n && is(t[i + 1], "by")) {
            replaced.push_back({t[i].begin, t[i + 2].end - t[i].begin, QString()});
            i += 2;
            continue;
        }
        // A grouping by bytes (for speed on the file) groups in the column's
        // own order on the server: the select list's plain column must match it.
        if (is(t[i], "collate") && i + 1 < n && is(t[i + 1], "binary")) {
            replaced.push_back({t[i].begin, t[i + 1].end - t[i].begin, QString()});
            ++i;
            continue;
        }
        // The file's schema of temporary tables is the server's pg_temp, and
        // its REAL in a table's declaration is eight bytes (the server's
        // real is four).
        if (is(t[i], "temp") && i + 1 < n && isChar(t[i + 1], '.', sql)) {
            replaced.push_back({t[i].begin, t[i].end - t[i].begin, QStringLiteral("pg_temp")});
            continue;
        }
        if (is(t[i], "real") && is(t[0], "create")) {
            replaced.push_back({t[i].begin, t[i].end - t[i].begin, QStringLiteral("double precision")});
            continue;
        }
        // The file's ifnull is the server's coalesce.
        if (is(t[i], "ifnull") && i + 1 < n && isChar(t[i + 1], '(', sql)) {
            replaced.push_back({t[i].begin, t[i].end - t[i].begin, QStringLiteral("coalesce")});
            continue;
        }
        if (is(t[i], "like") && i + 1 < n && (t[i + 1].kind == Token::Literal || t[i + 1].kind == Token::Mark)) {
            if (!(i + 2 < n && is(t[i + 2], "escape")))
                inserts.push_back({t[i + 1].end, QStringLiteral(" escape ''")});
            continue;
        }
        if (is(t[i], "order") && i + 1 < n && is(t[i + 1], "by")) {
            // The terms run to the end of the statement, a closing bracket of
            // this level, or a clause that may follow an order by.
            int depth = 0;
            bool hasNulls = false, desc = false;
            int termEnd = -1;
            auto closeTerm = [&] {
                if (termEnd >= 0 && !hasNulls)
                    inserts.push_back({termEnd, desc ? QStringLiteral(" nulls last") : QStringLiteral(" nulls first")});
                hasNulls = desc = false;
                termEnd = -1;
            };
            int j = i + 2;
            for (; j < n; ++j) {
                const Token &k = t[j];
                if (isChar(k, '(', sql)) {
                    ++depth;
                } else if (isChar(k, ')', sql)) {
                    if (depth == 0)
                        break;
                    --depth;
                } else if (depth == 0 && (isChar(k, ';', sql) || is(k, "limit") || is(k, "offset") ||
                                          is(k, "union") || is(k, "for"))) {
                    break;
                } else if (depth == 0 && isChar(k, ',', sql)) {
                    closeTerm();
                    continue;
                }
                if (depth == 0 && is(k, "nulls"))
                    hasNulls = true;
                if (depth == 0 && is(k, "desc"))
                    desc = true;
                if (depth == 0 && is(k, "asc"))
                    desc = false;
                termEnd = k.end;
            }
            closeTerm();
            i = j - 1;
        }
    }
    // Edits at positions of the original text: (position, length replaced,
    // new text), applied from the back so earlier positions stay valid.
    struct Edit {
        int pos, length;
        QString text;
    };
    std::vector<Edit> edits;
    for (const auto &[pos, text] : inserts)
        edits.push_back({pos, 0, text});
    for (const auto &[pos, num] : marks)
        edits.push_back({pos, 1, QStringLiteral("$%1").arg(num)});
    for (const auto &r : replaced)
        edits.push_back({r.pos, r.length, r.text});
    std::stable_sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.pos > b.pos; });
    QString out = sql;
    for (const Edit &e : edits)
        out.replace(e.pos, e.length, e.text);
    return {out, parameters};
}

QString firstWord(const QString &sql)
{
    const std::vector<Token> t = tokens(sql);
    for (const Token &k : t)
        if (k.kind == Token::Word)
            return k.lower;
    return {};
}

} // namespace db::pg
