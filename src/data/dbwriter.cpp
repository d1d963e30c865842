#include "data/dbwriter.h"
#include "data/safecopy.h"
#include "db/schema.h"
#include "db/sqlitedriver.h"
#include "db/dates.h"
#include "db/dberror.h"
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace dbfile::detail {

NewFile::NewFile(const QString &path, bool force) : m_path(path), m_temp(path + QStringLiteral(".part"))
{
    const QFileInfo fi(path);
    if (fi.exists() || fi.isSymLink()) {
        if (!force)
            throw db::DbError(QStringLiteral("文件已存在: %1 (用 --force 覆盖)").arg(path));
        if (fi.isDir())
            throw db::DbError(QStringLiteral("%1 是一个文件夹, 不能覆盖").arg(path));
    }
    QFile::remove(m_temp);   // left over from an interrupted run
    QFile::remove(m_temp + QStringLiteral("-journal"));
    try {
        m_db = std::make_unique<db::SqliteDriver>(m_temp, db::SqliteDriver::Mode::Scratch);
    } catch (const db::DbError &e) {
        QFile::remove(m_temp);
        throw db::DbError(QStringLiteral("无法创建文件 %1: %2").arg(path, e.message()));
    }
}

NewFile::~NewFile()
{
    m_db.reset();
    if (!m_done)
        QFile::remove(m_temp);
}

void NewFile::exec(const char *sql)
{
    m_db->execute(QString::fromUtf8(sql));
}

void NewFile::commit()
{
    m_db->close();
    // Written without a journal: whole on the disk before it takes the name.
    data::safecopy::syncFile(m_temp);
    // rename() replaces an existing target in one step.
    if (std::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_path).constData()) != 0)
        throw db::DbError(QStringLiteral("无法写入 %1").arg(m_path));
    data::safecopy::syncFolder(m_path);
    m_done = true;
}

Insert::Insert(db::Driver &db, const char *table, std::initializer_list<const char *> columns) : m_db(db)
{
    QStringList names;
    for (const char *c : columns)
        names << QString::fromUtf8(c);
    prepare(table, names);
}

Insert::Insert(db::Driver &db, const char *table) : m_db(db)
{
    const db::TableDef *t = db::schema::table(QString::fromUtf8(table));
    if (!t)
        throw db::DbError(QStringLiteral("没有这个表: %1").arg(QString::fromUtf8(table)));
    QStringList names;
    for (const auto &c : t->columns)
        if (c.kind != db::Kind::AutoKey)
            names << c.name;
    prepare(table, names);
}

void Insert::prepare(const char *table, const QStringList &columns)
{
    std::string sql = "INSERT INTO ";
    sql += table;
    sql += " (";
    std::string marks;
    for (const QString &c : columns) {
        if (m_columns++) {
            sql += ", ";
            marks += ", ";
        }
        sql += c.toStdString();
        marks += '?';
    }
    sql += ") VALUES (" + marks + ")";
    m_text.resize(size_t(m_columns));
    m_st = m_db.prepare(QString::fromStdString(sql));
}

Insert::~Insert() = default;

int Insert::slot()
{
    if (m_next >= m_columns) {
        m_next = 0;
        m_st->reset(true);
        throw db::DbError(QStringLiteral("insert: more values than %1 columns").arg(m_columns));
    }
    return ++m_next;
}

Insert &Insert::null()
{
    m_st->bindNull(slot());
    return *this;
}

Insert &Insert::nulls(int n)
{
    while (n-- > 0)
        null();
    return *this;
}

Insert &Insert::add(std::string_view utf8)
{
    // Copied into the column's own buffer, which lives until the next row:
    // no allocation per value once the buffers have grown.
    const int i = slot();
    std::string &buf = m_text[size_t(i - 1)];
    buf.assign(utf8);
    m_st->bindText(i, buf.data(), int(buf.size()), true);
    return *this;
}

Insert &Insert::add(const QString &text)
{
    const QByteArray b = text.toUtf8();
    return add(std::string_view(b.constData(), size_t(b.size())));
}

Insert &Insert::add(qint64 v)
{
    m_st->bindInteger(slot(), v);
    return *this;
}

Insert &Insert::add(double v)
{
    m_st->bindReal(slot(), v);
    return *this;
}

Insert &Insert::add(const QDate &d)
{
    return d.isValid() ? add(db::storedDate(d)) : null();
}

Insert &Insert::add(const QDateTime &dt)
{
    return dt.isValid() ? add(db::storedDateTime(dt)) : null();
}

void Insert::row()
{
    const int bound = m_next;
    m_next = 0;
    if (bound != m_columns) {
        m_st->reset(true);
        throw db::DbError(QStringLiteral("insert: %1 values for %2 columns").arg(bound).arg(m_columns));
    }
    m_st->step();   // a refusal resets the statement and throws
    m_st->reset();
}

qint64 Insert::lastRowId() const { return m_st->insertedKey(); }

} // namespace dbfile::detail
