#include "import/importer.h"
#include "data/dbfile.h"
#include "data/dbwriter.h"
#include "db/sqlitedriver.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/money.h"
#include "db/schema.h"
#include "db/text.h"
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace jetimport {
namespace {

using db::Kind;
using V = JetValue::Kind;

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

const db::ColumnDef *columnOf(const db::TableDef &t, const QString &name)
{
    for (const auto &c : t.columns)
        if (sameName(c.name, name))
            return &c;
    return nullptr;
}

// A 是/否 text column: the stage windows find their work by its "否".
bool isStatusColumn(const db::ColumnDef &c) { return c.defaultValue == QStringLiteral("'否'"); }

// One value as it goes into the new file, or why it does not.
struct Cell {
    enum class Type { Null, Integer, Real, Text } type = Type::Null;
    qint64 integer = 0;
    double real = 0;
    QString text = {};
    QString refused = {};    // left empty, with this reason
    QString doubtful = {};   // taken, though the old program would have refused it
};

Cell integerCell(qint64 v) { return {.type = Cell::Type::Integer, .integer = v}; }
Cell realCell(double v) { return {.type = Cell::Type::Real, .real = v}; }
Cell textCell(const QString &v) { return {.type = Cell::Type::Text, .text = v}; }
Cell refusedCell(const QString &why) { return {.refused = why}; }

QString dateText(const QDateTime &dt, Kind k)
{
    return k == Kind::Date && dt.time() == QTime(0, 0) ? db::storedDate(dt.date()) : db::storedDateTime(dt);
}

// A whole number that a double holds exactly enough (no fraction, in range).
std::optional<qint64> wholeNumber(double v)
{
    if (!std::isfinite(v) || v != std::trunc(v) || std::fabs(v) > 9.0e15)
        return std::nullopt;
    return qint64(v);
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(v))
        return v;
    return std::nullopt;
}

const QString NotWhole = S("不是整数"), NotNumber = S("不是数字"), NotMoney = S("不是金额"), NotDate = S("不是日期"),
              NotYesNo = S("不是“是”或“否”"), OutOfYears = S("年份不在 1900 至 9999 之间");

Cell toText(const JetValue &v, bool status)
{
    Cell c;
    switch (v.kind) {
    case V::Null: break;
    case V::Bool: c = textCell(v.yes ? S("是") : S("否")); break;
    case V::Integer: c = textCell(QString::number(v.integer)); break;
    case V::Currency: c = textCell(db::Money::fromRaw(v.integer).toPlainString()); break;
    case V::Real: c = textCell(QString::number(v.real, 'g', 15)); break;
    case V::Date: {
        const auto dt = v.calendarDateTime();
        c = dt ? textCell(dt->time() == QTime(0, 0) ? dt->date().toString(QStringLiteral("yyyy-MM-dd"))
                                                    : dt->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
               : refusedCell(NotDate);
        break;
    }
    case V::Text: c = textCell(v.text); break;
    }
    if (status && c.refused.isEmpty() && c.text != S("是") && c.text != S("否"))
        c.doubtful = NotYesNo;
    return c;
}

Cell toInteger(const JetValue &v)
{
    switch (v.kind) {
    case V::Null: return {};
    case V::Integer: return integerCell(v.integer);
    case V::Currency: return v.integer % db::Money::Scale == 0 ? integerCell(v.integer / db::Money::Scale) : refusedCell(NotWhole);
    case V::Real:
        if (const auto w = wholeNumber(v.real))
            return integerCell(*w);
        return refusedCell(NotWhole);
    case V::Text: {
        if (v.text.trimmed().isEmpty())
            return {};
        const auto d = number(v.text);
        const auto w = d ? wholeNumber(*d) : std::nullopt;
        return w ? integerCell(*w) : refusedCell(NotWhole);
    }
    case V::Bool:
    case V::Date: break;
    }
    return refusedCell(NotWhole);
}

Cell toReal(const JetValue &v)
{
    switch (v.kind) {
    case V::Null: return {};
    case V::Integer: return realCell(double(v.integer));
    case V::Currency: return realCell(db::Money::fromRaw(v.integer).toDouble());
    case V::Real: return std::isfinite(v.real) ? realCell(v.real) : refusedCell(NotNumber);
    case V::Text: {
        if (v.text.trimmed().isEmpty())
            return {};
        const auto d = number(v.text);
        return d ? realCell(*d) : refusedCell(NotNumber);
    }
    case V::Bool:
    case V::Date: break;
    }
    return refusedCell(NotNumber);
}

Cell toMoney(const JetValue &v)
{
    constexpr double Largest = 9.0e14;   // yuan that ten-thousandths in 64 bits hold
    switch (v.kind) {
    case V::Null: return {};
    case V::Currency: return integerCell(v.integer);   // the same exact form as ours
    case V::Integer:
        return std::llabs(v.integer) < qint64(Largest) ? integerCell(v.integer * db::Money::Scale) : refusedCell(NotMoney);
    case V::Real:
        return std::isfinite(v.real) && std::fabs(v.real) < Largest ? integerCell(db::Money::fromDouble(v.real).raw())
                                                                     : refusedCell(NotMoney);
    case V::Text: {
        if (v.text.trimmed().isEmpty())
            return {};
        const auto m = db::Money::parse(v.text.trimmed());
        return m ? integerCell(m->raw()) : refusedCell(NotMoney);
    }
    case V::Bool:
    case V::Date: break;
    }
    return refusedCell(NotMoney);
}

Cell toDate(const JetValue &v, Kind k)
{
    switch (v.kind) {
    case V::Null: return {};
    case V::Date:
        if (const auto dt = v.dateTime())
            return textCell(dateText(*dt, k));
        return refusedCell(v.calendarDateTime() ? OutOfYears : NotDate);
    case V::Text: {
        if (v.text.trimmed().isEmpty())
            return {};
        const auto dt = db::parseDateTime(v.text.trimmed());
        if (!dt || !dt->isValid())
            return refusedCell(NotDate);
        if (dt->date().year() < 1900 || dt->date().year() > 9999)
            return refusedCell(OutOfYears);
        return textCell(dateText(*dt, k));
    }
    default: break;
    }
    return refusedCell(NotDate);
}

Cell toYesNo(const JetValue &v)
{
    static const QStringList yes = {S("是"), QStringLiteral("true"), QStringLiteral("yes"), QStringLiteral("-1"), QStringLiteral("1")};
    static const QStringList no = {S("否"), QStringLiteral("false"), QStringLiteral("no"), QStringLiteral("0")};
    switch (v.kind) {
    case V::Null: return {};
    case V::Bool: return integerCell(v.yes ? 1 : 0);
    case V::Integer: return integerCell(v.integer != 0 ? 1 : 0);
    case V::Text: {
        const QString t = v.text.trimmed();
        if (t.isEmpty())
            return {};
        if (yes.contains(t, Qt::CaseInsensitive))
            return integerCell(1);
        if (no.contains(t, Qt::CaseInsensitive))
            return integerCell(0);
        break;
    }
    default: break;
    }
    return refusedCell(NotYesNo);
}

Cell convert(const db::ColumnDef &col, const JetValue &v)
{
    switch (col.kind) {
    case Kind::Text:
    case Kind::Memo: return toText(v, isStatusColumn(col));
    case Kind::Integer:
    case Kind::AutoKey: return toInteger(v);
    case Kind::Float: return toReal(v);
    case Kind::Money: return toMoney(v);
    case Kind::Date:
    case Kind::DateTime: return toDate(v, col.kind);
    case Kind::YesNo: return toYesNo(v);
    case Kind::Unknown: break;
    }
    return refusedCell(S("未知的列类型"));
}

void note(std::vector<ValueIssue> &issues, const QString &column, const QString &reason, qint64 row, const QString &example)
{
    for (auto &i : issues)
        if (i.column == column && i.reason == reason) {
            ++i.count;
            return;
        }
    issues.push_back({.column = column, .reason = reason, .count = 1, .firstRow = row, .example = example});
}

qint64 rowCount(db::Driver &db, const QString &table)
{
    auto st = db.prepare(QStringLiteral("SELECT count(*) FROM ") + table);
    return st->step() ? st->value(0).toLongLong() : 0;
}

void copyTable(const JetFile &jet, db::Driver &db, TablePlan &p, qint64 &done, qint64 total, const Progress &progress)
{
    TableReport &r = p.report;
    std::vector<const db::ColumnDef *> targets;
    std::vector<int> sources;
    QStringList names, marks;
    for (const auto &c : p.columns)
        if (c.source >= 0) {
            targets.push_back(c.target);
            sources.push_back(c.source);
            names << c.target->name;
            marks << QStringLiteral("?");
        }
    // The old file's own rows take the place of a fresh file's first rows
    // (company record, operator, reminder definitions).
    if (p.source->rows > 0)
        db.execute(QStringLiteral("DELETE FROM ") + p.target->name);
    const bool write = !targets.empty();
    std::unique_ptr<db::Statement> insert;
    if (write)
        insert = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(p.target->name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    QByteArray utf8;
    jet.read(p.source->name, sources, [&](const std::vector<JetValue> &values) {
        const qint64 row = ++r.rowsRead;
        if (progress && (++done % 256 == 0 || done == total))
            progress(done, total);
        if (!write)
            return;
        db::Statement &st = *insert;
        for (size_t i = 0; i < values.size(); ++i) {
            const Cell c = convert(*targets[i], values[i]);
            const int slot = int(i) + 1;
            if (!c.refused.isEmpty())
                note(r.refused, targets[i]->name, c.refused, row, values[i].display());
            else if (!c.doubtful.isEmpty())
                note(r.takenAsTheyAre, targets[i]->name, c.doubtful, row, values[i].display());
            switch (c.type) {
            case Cell::Type::Null: st.bindNull(slot); break;
            case Cell::Type::Integer: st.bindInteger(slot, c.integer); break;
            case Cell::Type::Real: st.bindReal(slot, c.real); break;
            case Cell::Type::Text:
                utf8 = c.text.toUtf8();
                st.bindText(slot, utf8.constData(), int(utf8.size()));
                break;
            }
        }
        try {
            st.step();
        } catch (const db::DbError &e) {
            throw db::DbError(S("表 %1 (旧表 %2) 第 %3 行写不进新文件: %4").arg(p.target->name, p.source->name).arg(row).arg(e.message()));
        }
        st.reset();
        ++r.rowsWritten;
    });
    if (progress)
        progress(done, total);
}

QByteArray native(const QString &path) { return QFile::encodeName(path); }

} // namespace

// ---- map file -------------------------------------------------------------

ImportMap ImportMap::parse(const QString &text)
{
    ImportMap m;
    QStringList errors;
    int lineNo = 0;
    int current = -1;
    for (QString line : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        if (lineNo == 1 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        const QString at = S("第 %1 行: ").arg(lineNo);
        if (t.startsWith(QLatin1Char('['))) {
            const QString name = t.endsWith(QLatin1Char(']')) ? t.mid(1, t.size() - 2).trimmed() : QString();
            if (name.isEmpty()) {
                errors << at + S("表名应写作 [表名]");
                continue;
            }
            if (m.find(name))
                errors << at + S("表 %1 已经写过一次").arg(name);
            m.tables.push_back({.target = name, .from = {}, .columns = {}, .line = lineNo});
            current = int(m.tables.size()) - 1;
            continue;
        }
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        const QString key = t.left(eq).trimmed(), value = t.mid(eq + 1).trimmed();
        if (eq < 0 || key.isEmpty() || value.isEmpty()) {
            errors << at + S("应写作 新列 = 旧列, 或 from = 旧表");
            continue;
        }
        if (current < 0) {
            errors << at + S("在第一个 [表名] 之前");
            continue;
        }
        Table &tab = m.tables[size_t(current)];
        if (sameName(key, QStringLiteral("from"))) {
            if (!tab.from.isEmpty())
                errors << at + S("表 %1 的 from 已经写过一次").arg(tab.target);
            tab.from = value;
            continue;
        }
        for (const auto &[ours, old] : tab.columns)
            if (sameName(ours, key))
                errors << at + S("列 %1 已经写过一次").arg(key);
        tab.columns.emplace_back(key, value);
    }
    if (!errors.isEmpty())
        throw db::DbError(S("映射文件有错:\n") + errors.join(QLatin1Char('\n')));
    return m;
}

ImportMap ImportMap::read(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw db::DbError(S("无法读取映射文件 %1: %2").arg(path, f.errorString()));
    try {
        return parse(QString::fromUtf8(f.readAll()));
    } catch (const db::DbError &e) {
        throw db::DbError(path + QStringLiteral(": ") + e.message());
    }
}

const ImportMap::Table *ImportMap::find(const QString &target) const
{
    for (const auto &t : tables)
        if (sameName(t.target, target))
            return &t;
    return nullptr;
}

// ---- plan -------------------------------------------------------------------

std::vector<TablePlan> plan(const std::vector<JetTable> &old, const ImportMap *map, QStringList *otherTables)
{
    QStringList errors;
    auto oldTable = [&](const QString &name) -> const JetTable * {
        for (const auto &t : old)
            if (sameName(t.name, name))
                return &t;
        return nullptr;
    };
    if (map)
        for (const auto &mt : map->tables)
            if (!db::schema::table(mt.target))
                errors << S("映射文件第 %1 行: 新数据库没有表 %2").arg(mt.line).arg(mt.target);

    std::vector<TablePlan> plans;
    QSet<const JetTable *> used;
    for (const auto &t : db::schema::tables()) {
        const ImportMap::Table *mt = map ? map->find(t.name) : nullptr;
        const QString from = mt && !mt->from.isEmpty() ? mt->from : t.name;
        TablePlan p{.target = &t, .source = oldTable(from), .columns = {}, .report = {}};
        p.report.table = t.name;
        if (mt)
            for (const auto &[ours, theirs] : mt->columns)
                if (!columnOf(t, ours))
                    errors << S("映射文件 [%1]: 表 %1 没有列 %2").arg(t.name, ours);
        if (!p.source) {
            if (mt)
                errors << S("映射文件第 %1 行: 旧文件中没有表 %2").arg(mt->line).arg(from);
            plans.push_back(std::move(p));
            continue;
        }
        used.insert(p.source);
        p.report.source = p.source->name;
        QSet<int> usedColumns;
        for (const auto &c : t.columns) {
            QString name = c.name;
            bool named = false;
            if (mt)
                for (const auto &[ours, theirs] : mt->columns)
                    if (sameName(ours, c.name)) {
                        name = theirs;
                        named = true;
                    }
            int source = p.source->column(name);
            if (named && source < 0)
                errors << S("映射文件 [%1]: 旧表 %2 没有列 %3").arg(t.name, p.source->name, name);
            if (source >= 0 && !isReadable(p.source->columns[size_t(source)].type)) {
                if (named)
                    errors << S("映射文件 [%1]: 旧表 %2 的列 %3 是%4, 不能导入")
                                  .arg(t.name, p.source->name, name, typeName(p.source->columns[size_t(source)].type));
                source = -1;
            }
            if (source < 0)
                p.report.emptyColumns << c.name;
            else
                usedColumns.insert(source);
            p.columns.push_back({.target = &c, .source = source});
        }
        for (int i = 0; i < int(p.source->columns.size()); ++i) {
            const JetColumn &oc = p.source->columns[size_t(i)];
            if (usedColumns.contains(i))
                continue;
            (isReadable(oc.type) ? p.report.extraColumns : p.report.unreadableColumns) << oc.name;
        }
        plans.push_back(std::move(p));
    }
    if (!errors.isEmpty())
        throw db::DbError(errors.join(QLatin1Char('\n')));
    if (otherTables)
        for (const auto &t : old)
            if (!used.contains(&t))
                *otherTables << t.name;
    return plans;
}

// ---- import -----------------------------------------------------------------

Report build(const QString &old, const QString &temp, const ImportMap *map, const Progress &progress)
{
    QElapsedTimer clock;
    clock.start();
    Report report;
    report.source = old;
    const JetFile jet(old);
    report.format = jet.format();
    std::vector<TablePlan> plans = plan(jet.tables(), map, &report.otherTables);
    try {
        dbfile::detail::NewFile f(temp, true);
        f.begin();
        db::schema::createTables(f.db());
        db::schema::seed(f.db());
        qint64 total = 0, done = 0;
        for (const auto &p : plans)
            if (p.source)
                total += p.source->rows;
        for (auto &p : plans) {
            if (!p.source || p.source->rows == 0)
                p.report.keptFreshRows = rowCount(f.db(), p.target->name) > 0;
            if (p.source)
                copyTable(jet, f.db(), p, done, total, progress);
        }
        db::schema::createIndexes(f.db());
        f.commitTransaction();
        f.commit();
        report.checkProblems = dbfile::check(temp);
        if (!report.checkProblems.isEmpty())
            throw db::DbError(S("新文件没有通过检查: ") + report.checkProblems.join(QStringLiteral("; ")));
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    for (auto &p : plans)
        report.tables.push_back(std::move(p.report));
    report.seconds = double(clock.nsecsElapsed()) / 1e9;
    return report;
}

void placeNew(const QString &temp, const QString &target)
{
    // link() fails when the target exists, where rename() would replace it.
    if (::link(native(temp).constData(), native(target).constData()) != 0) {
        const int err = errno;
        if (err == EEXIST)
            throw db::DbError(S("文件已存在: %1 (导入从不覆盖已有的文件)").arg(target));
        throw db::DbError(S("无法写入 %1: %2").arg(target, QString::fromLocal8Bit(std::strerror(err))));
    }
    QFile::remove(temp);
}

Report importFile(const QString &old, const QString &target, const QString &mapFile, const Progress &progress)
{
    const QFileInfo fi(target);
    if (fi.exists() || fi.isSymLink())
        throw db::DbError(S("文件已存在: %1 (导入从不覆盖已有的文件)").arg(target));
    if (QFileInfo(old).canonicalFilePath() == fi.absoluteFilePath())
        throw db::DbError(S("旧文件和新文件是同一个文件"));
    std::optional<ImportMap> map;
    if (!mapFile.isEmpty())
        map = ImportMap::read(mapFile);
    const QString temp = target + QStringLiteral(".import");
    Report r = build(old, temp, map ? &*map : nullptr, progress);
    try {
        placeNew(temp, target);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    r.target = target;
    return r;
}

} // namespace jetimport
