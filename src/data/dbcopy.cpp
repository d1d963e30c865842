#include "data/dbcopy.h"
#include "data/dbfile.h"
#include "data/dbwriter.h"
#include "db/database.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/pgdriver.h"
#include "db/schema.h"
#include "db/sqlitedriver.h"
#include <QFileInfo>
#include <cmath>
#include <memory>

namespace dbcopy {
namespace {

using db::Cell;
using db::DbError;
using db::Kind;

bool isScratch(const db::TableDef &t) { return t.name == QStringLiteral("通用"); }
bool hasOwnKey(const db::TableDef &t) { return t.column(QStringLiteral("编号")) != nullptr; }

std::unique_ptr<db::Driver> openSource(const QString &name)
{
    if (db::isServerUrl(name))
        return std::make_unique<db::PgDriver>(name);
    if (!QFileInfo(name).isFile())
        throw DbError(QStringLiteral("文件不存在: %1").arg(name));
    return std::make_unique<db::SqliteDriver>(name, db::SqliteDriver::Mode::ReadOnly);
}

// The columns read and written: the key first where it is hidden on the
// file, then every column in its declared order.
QStringList copiedColumns(const db::TableDef &t)
{
    QStringList cols;
    if (!hasOwnKey(t))
        cols << QStringLiteral("rowid");
    for (const auto &c : t.columns)
        cols << c.name;
    return cols;
}

// One value as the target takes it, in the stored text form; nullopt for
// null. A value the column cannot hold is refused with where it is.
struct Value {
    bool null = true;
    QByteArray text;
};

// A date already in the stored form "YYYY-MM-DD HH:MM:SS" that is a real
// date: the common case, checked without the general parser (a copy meets
// millions of them).
bool storedForm(const char *s, int n)
{
    if (n != 19 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
        return false;
    const auto num = [s](int at, int len) {
        int v = 0;
        for (int i = at; i < at + len; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    const int y = num(0, 4), m = num(5, 2), d = num(8, 2), h = num(11, 2), mi = num(14, 2), se = num(17, 2);
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= db::lastDayOfMonth(y, m) && h >= 0 && h <= 23 && mi >= 0 &&
           mi <= 59 && se >= 0 && se <= 59;
}

Value convert(const Cell &c, Kind k, const db::TableDef &t, const QString &column, qint64 key)
{
    Value v;
    if (c.type == Cell::Null)
        return v;
    v.null = false;
    const auto refuse = [&](const char *what) -> Value {
        const QString shown = c.type == Cell::Text ? QString::fromUtf8(c.text, c.size)
                              : c.type == Cell::Integer ? QString::number(c.integer) : QString::number(c.real);
        throw DbError(QStringLiteral("表 %1 键 %2 的 %3: '%4' %5").arg(t.name).arg(key).arg(column, shown, QString::fromUtf8(what)));
    };
    switch (k) {
    case Kind::Money: case Kind::Integer: case Kind::YesNo: case Kind::AutoKey:
        if (c.type == Cell::Integer) {
            v.text = QByteArray::number(c.integer);
        } else if (c.type == Cell::Real && std::floor(c.real) == c.real && std::fabs(c.real) < 9e18) {
            v.text = QByteArray::number(qint64(c.real));
        } else if (c.type == Cell::Text) {
            bool ok = false;
            const qint64 n = QByteArray(c.text, c.size).trimmed().toLongLong(&ok);
            if (!ok)
                return refuse(k == Kind::Money ? "不是金额" : "不是整数");
            v.text = QByteArray::number(n);
        } else {
            return refuse(k == Kind::Money ? "不是金额" : "不是整数");
        }
        return v;
    case Kind::Float:
        if (c.type == Cell::Integer) {
            v.text = QByteArray::number(c.integer);
        } else if (c.type == Cell::Real) {
            v.text = QByteArray::number(c.real, 'g', 17);
        } else {
            bool ok = false;
            const double d = QByteArray(c.text, c.size).trimmed().toDouble(&ok);
            if (!ok)
                return refuse("不是数值");
            v.text = QByteArray::number(d, 'g', 17);
        }
        return v;
    case Kind::Date: case Kind::DateTime: {
        if (c.type != Cell::Text)
            return refuse("不是日期");
        if (storedForm(c.text, c.size)) {
            v.text = QByteArray(c.text, c.size);
            return v;
        }
        const auto dt = db::parseDateTime(QString::fromUtf8(c.text, c.size));
        if (!dt)
            return refuse("不是日期");
        v.text = db::storedDateTime(*dt).toUtf8();
        return v;
    }
    default:
        if (c.type == Cell::Text)
            v.text = QByteArray(c.text, c.size);
        else if (c.type == Cell::Integer)
            v.text = QByteArray::number(c.integer);
        else
            v.text = QByteArray::number(c.real, 'g', 17);
        return v;
    }
}

// Whether a server database holds data: any row beyond what a fresh one
// holds (the company record, one operator, the reminder items).
bool holdsData(db::Driver &d)
{
    for (const auto &t : db::schema::tables()) {
        if (isScratch(t) || d.columnsOf(t.name).isEmpty())
            continue;
        const bool seeded = t.name == QStringLiteral("公司信息") || t.name == QStringLiteral("权限表") ||
                            t.name == QStringLiteral("提醒功能初始表");
        auto st = d.prepare(QStringLiteral("select count(*) from %1").arg(t.name));
        st->step();
        if (st->value(0).toLongLong() > (seeded ? 5 : 0))
            return true;
    }
    return false;
}

bool hasTables(db::Driver &d)
{
    for (const auto &t : db::schema::tables())
        if (!d.columnsOf(t.name).isEmpty())
            return true;
    return false;
}

// Clears a server database for a forced copy or create: the program's
// tables go, with whatever they held.
void dropTables(db::Driver &d)
{
    for (const auto &t : db::schema::tables())
        d.execute(QStringLiteral("DROP TABLE IF EXISTS public.%1 CASCADE").arg(t.name));
}

// In the target's transaction: the program's tables made afresh, refused
// where they hold data unless forced.
void emptyServerTables(db::Driver &dst, bool force)
{
    // Two copies at once onto one server would interleave their tables.
    dst.execute(QStringLiteral("SELECT pg_advisory_xact_lock(7007)"));
    if (hasTables(dst)) {
        if (!force && holdsData(dst))
            throw DbError(QStringLiteral("目标数据库 %1 中已有数据 (用 --force 覆盖)").arg(dst.location()));
        dropTables(dst);
    }
    db::schema::createTables(dst);
}

void readSnapshot(db::Driver &src)
{
    src.begin();
    // One moment of the server's data, however long the copy takes.
    if (src.engine() == db::Driver::Engine::Server)
        src.execute(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
}

// Reads every row of every table from src and hands it to `sink` converted.
template <typename Begin, typename Row, typename End>
Result copyRows(db::Driver &src, Begin &&beginTable, Row &&row, End &&endTable)
{
    Result r;
    for (const auto &t : db::schema::tables()) {
        if (isScratch(t))
            continue;
        const QStringList cols = copiedColumns(t);
        std::vector<Kind> kinds;
        if (!hasOwnKey(t))
            kinds.push_back(Kind::Integer);
        for (const auto &c : t.columns)
            kinds.push_back(c.kind);
        beginTable(t, cols);
        auto st = src.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(cols.join(QStringLiteral(", ")), t.name, cols.first()));
        std::vector<Value> values(size_t(cols.size()));
        while (st->step()) {
            const qint64 key = st->cell(0).integer;
            for (int i = 0; i < cols.size(); ++i)
                values[size_t(i)] = convert(st->cell(i), kinds[size_t(i)], t, cols[i], key);
            row(values);
            ++r.rows;
        }
        endTable(t);
        ++r.tables;
    }
    return r;
}

Result copyToServer(db::Driver &src, const QString &url, bool force)
{
    db::PgDriver dst(url);
    dst.begin();
    try {
        emptyServerTables(dst, force);
        QByteArray batch;
        const Result r = copyRows(
            src, [&](const db::TableDef &t, const QStringList &cols) { dst.copyBegin(t.name, cols); },
            [&](const std::vector<Value> &values) {
                for (size_t i = 0; i < values.size(); ++i) {
                    if (i)
                        batch += '\t';
                    if (values[i].null)
                        batch += "\\N";
                    else
                        db::PgDriver::appendCopyValue(batch, values[i].text.constData(), int(values[i].text.size()));
                }
                batch += '\n';
                if (batch.size() > (1 << 20)) {
                    dst.copyData(batch);
                    batch.clear();
                }
            },
            [&](const db::TableDef &t) {
                if (!batch.isEmpty())
                    dst.copyData(batch);
                batch.clear();
                dst.copyEnd();
                // New rows take keys after the copied ones.
                const QString key = dst.keyColumn(t.name);
                dst.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence('public.%1', '%2'), "
                                           "coalesce((SELECT max(%2) FROM %1), 0) + 1, false)").arg(t.name, key));
            });
        db::schema::createIndexes(dst);
        dst.commit();
        dst.afterSchemaChange();
        return r;
    } catch (...) {
        dst.rollback();
        throw;
    }
}

Result copyToFile(db::Driver &src, const QString &path, bool force)
{
    dbfile::detail::NewFile f(path, force);
    db::Driver &dst = f.db();
    dst.begin();
    db::schema::createTables(dst);
    std::unique_ptr<db::Statement> ins;
    const Result r = copyRows(
        src,
        [&](const db::TableDef &t, const QStringList &cols) {
            QStringList marks;
            for (int i = 0; i < cols.size(); ++i)
                marks << QStringLiteral("?");
            ins = dst.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(t.name, cols.join(QStringLiteral(", ")), marks.join(QLatin1Char(','))));
        },
        [&](const std::vector<Value> &values) {
            ins->reset();
            for (size_t i = 0; i < values.size(); ++i) {
                if (values[i].null)
                    ins->bindNull(int(i) + 1);
                else
                    ins->bindText(int(i) + 1, values[i].text.constData(), int(values[i].text.size()), true);
            }
            ins->step();
        },
        [&](const db::TableDef &) { ins.reset(); });
    db::schema::createIndexes(dst);
    dst.commit();
    f.commit();
    return r;
}

} // namespace

Result copy(const QString &from, const QString &to, bool force)
{
    if (from == to)
        throw DbError(QStringLiteral("源和目标是同一个数据库"));
    auto src = openSource(from);
    const QStringList miss = db::schema::missing(*src);
    if (!miss.isEmpty())
        throw DbError(QStringLiteral("%1 不是 Velorin 数据库, 缺少: %2").arg(db::displayName(from), miss.mid(0, 5).join(QStringLiteral(", "))));
    readSnapshot(*src);
    try {
        const Result r = db::isServerUrl(to) ? copyToServer(*src, to, force) : copyToFile(*src, to, force);
        src->rollback();
        return r;
    } catch (...) {
        src->rollback();
        throw;
    }
}

void createServer(const QString &url, bool force)
{
    db::PgDriver dst(url);
    dst.begin();
    try {
        emptyServerTables(dst, force);
        db::schema::createIndexes(dst);
        db::schema::seed(dst);
        dst.commit();
    } catch (...) {
        dst.rollback();
        throw;
    }
    dst.afterSchemaChange();
}

QStringList checkServer(const QString &url)
{
    try {
        db::PgDriver d(url);
        QStringList problems = db::schema::missing(d);
        problems += d.quickCheck(5);
        return problems;
    } catch (const DbError &e) {
        return {e.message()};
    }
}

QStringList dump(const QString &name)
{
    auto src = openSource(name);
    readSnapshot(*src);
    QStringList lines;
    QString line;
    copyRows(
        *src, [&](const db::TableDef &t, const QStringList &) { lines << QStringLiteral("# ") + t.name; },
        [&](const std::vector<Value> &values) {
            line.clear();
            for (const Value &v : values)
                line += (v.null ? QStringLiteral("<null>") : QString::fromUtf8(v.text)) + QLatin1Char('\t');
            lines << line;
        },
        [](const db::TableDef &) {});
    src->rollback();
    return lines;
}

QStringList select(const QString &name, const QString &sql)
{
    if (!db::isServerUrl(name))
        return dbfile::select(name, sql);
    db::PgDriver d(name);
    return dbfile::selectLines(d, sql);
}

} // namespace dbcopy
