#include "db/sqlitedriver.h"
#include "db/collation.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/money.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace db {
namespace {

QString argText(sqlite3_value *v)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return t ? QString::fromUtf8(t) : QString();
}

// cdate/cvdate('Y-M-D[ H:M:S]') -> stored form; null stays null.
void fnDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto dt = parseDateTime(argText(argv[0]));
    if (!dt) {
        const QByteArray msg = QStringLiteral("日期格式不正确: %1").arg(argText(argv[0])).toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return;
    }
    const QByteArray s = storedDateTime(*dt).toUtf8();
    sqlite3_result_text(ctx, s.constData(), int(s.size()), SQLITE_TRANSIENT);
}

// ccur(x) -> money in ten-thousandths.
void fnCcur(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) * Money::Scale); return;
    case SQLITE_FLOAT: sqlite3_result_int64(ctx, Money::fromDouble(sqlite3_value_double(argv[0])).raw()); return;
    default: {
        const auto m = Money::parse(argText(argv[0]));
        if (!m) {
            sqlite3_result_error(ctx, "ccur: not a number", -1);
            return;
        }
        sqlite3_result_int64(ctx, m->raw());
    }
    }
}

// The system's reason behind a failed open or write, in a clerk's words.
QString systemReason(int err)
{
    switch (err) {
    case ENOENT: case ENOTDIR: return QStringLiteral("文件夹不存在");
    case EACCES: case EPERM: return QStringLiteral("没有写入权限");
    case EROFS: return QStringLiteral("文件夹是只读的");
    case ENOSPC: case EDQUOT: return QStringLiteral("磁盘已满");
    default: return QString::fromLocal8Bit(std::strerror(err));
    }
}

class SqliteStatement final : public Statement {
public:
    SqliteStatement(sqlite3 *db, sqlite3_stmt *st, const SqliteDriver &driver) : m_db(db), m_st(st), m_driver(driver) {}
    ~SqliteStatement() override { sqlite3_finalize(m_st); }

    void bindNull(int i) override { check(sqlite3_bind_null(m_st, i)); }
    void bindInteger(int i, qint64 v) override { check(sqlite3_bind_int64(m_st, i, v)); }
    void bindReal(int i, double v) override { check(sqlite3_bind_double(m_st, i, v)); }
    void bindText(int i, const char *utf8, int size, bool stable) override
    {
        check(sqlite3_bind_text(m_st, i, utf8, size, stable ? SQLITE_STATIC : SQLITE_TRANSIENT));
    }

    bool step() override
    {
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE) {
            m_changes = sqlite3_changes(m_db);
            m_inserted = sqlite3_last_insert_rowid(m_db);
            return false;
        }
        const QString why = m_driver.lastError();
        sqlite3_reset(m_st);
        throw DbError(why);
    }
    void reset(bool clear) override
    {
        sqlite3_reset(m_st);
        if (clear)
            sqlite3_clear_bindings(m_st);
    }

    int columnCount() const override { return sqlite3_column_count(m_st); }
    QString columnName(int i) const override { return QString::fromUtf8(sqlite3_column_name(m_st, i)); }
    Kind columnKind(int i) const override
    {
        const char *decl = sqlite3_column_decltype(m_st, i);
        return decl ? schema::kindFromDeclType(QString::fromUtf8(decl)) : Kind::Unknown;
    }
    Cell cell(int i) const override
    {
        Cell c;
        switch (sqlite3_column_type(m_st, i)) {
        case SQLITE_INTEGER:
            c.type = Cell::Integer;
            c.integer = sqlite3_column_int64(m_st, i);
            break;
        case SQLITE_FLOAT:
            c.type = Cell::Real;
            c.real = sqlite3_column_double(m_st, i);
            break;
        case SQLITE_NULL:
            break;
        default:
            c.type = Cell::Text;
            c.text = reinterpret_cast<const char *>(sqlite3_column_text(m_st, i));
            c.size = sqlite3_column_bytes(m_st, i);
            break;
        }
        return c;
    }

    int rowsChanged() const override { return m_changes; }
    qint64 insertedKey() const override { return m_inserted; }

private:
    void check(int rc) const
    {
        if (rc != SQLITE_OK)
            throw DbError(m_driver.lastError());
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_st;
    const SqliteDriver &m_driver;
    int m_changes = 0;
    qint64 m_inserted = 0;
};

QStringList checkLines(SqliteDriver &d, const QString &pragma, int limit)
{
    QStringList problems;
    try {
        auto st = d.prepare(QStringLiteral("PRAGMA %1(%2)").arg(pragma).arg(qMax(1, limit)));
        while (st->step()) {
            const QString line = st->value(0).toString();
            if (line != QLatin1String("ok"))
                problems << line;
        }
    } catch (const DbError &e) {
        // Damage bad enough to stop the check itself is damage too.
        problems << e.message();
    }
    return problems.mid(0, qMax(1, limit));
}

} // namespace

SqliteDriver::SqliteDriver(const QString &path, Mode mode)
{
    const QFileInfo fi(path);
    m_path = fi.absoluteFilePath();
    if (mode != Mode::Scratch && !fi.exists())
        throw DbError(QStringLiteral("数据库文件不存在: %1").arg(m_path));
    // Only one thread uses a connection, so SQLite's per-call locking is pure
    // cost (a quarter of reading a large list).
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
    case Mode::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
    case Mode::Scratch: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
    }
    const int rc = sqlite3_open_v2(QFile::encodeName(m_path).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = m_db ? lastError() : QStringLiteral("内存不足");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("无法打开 %1: %2").arg(m_path, why));
    }
    registerDialect(m_db);
    try {
        switch (mode) {
        case Mode::ReadWrite: {
            sqlite3_busy_timeout(m_db, 2000);
            // A save that said it was done must survive a power cut: in the
            // rollback journal a commit is the journal's deletion, and only
            // EXTRA syncs the folder after it. Without that the journal can
            // come back and undo it.
            // (On a file that is no database even this fails; the first
            // statement that reads it then says what is wrong.)
            sqlite3_exec(m_db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr);
            // SQLite opens a file it cannot write read-only without a word, and
            // a folder it cannot write only shows when the first change needs
            // its journal: both are known here, before anybody types an order.
            const QFileInfo folder(fi.absolutePath());
            m_readOnly = sqlite3_db_readonly(m_db, "main") == 1 || !fi.isWritable() || !folder.isWritable();
            break;
        }
        case Mode::ReadOnly:
            sqlite3_busy_timeout(m_db, 5000);
            m_readOnly = true;
            break;
        case Mode::Scratch:
            // Thrown away on any failure, so it needs no journal; synced once,
            // whole, by whoever puts it in place. A large cache keeps a freshly
            // filled table in memory while it is indexed.
            execute(QStringLiteral("PRAGMA journal_mode=OFF"));
            execute(QStringLiteral("PRAGMA synchronous=OFF"));
            execute(QStringLiteral("PRAGMA cache_size=-1048576"));
            break;
        }
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

SqliteDriver::~SqliteDriver()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

void SqliteDriver::close()
{
    if (!m_db)
        return;
    if (sqlite3_close(m_db) != SQLITE_OK)
        throw DbError(QStringLiteral("无法关闭文件 %1: %2").arg(m_path, lastError()));
    m_db = nullptr;
}

void SqliteDriver::registerDialect(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "cdate", 1, flags, nullptr, fnDate, nullptr, nullptr);
    sqlite3_create_function(db, "cvdate", 1, flags, nullptr, fnDate, nullptr, nullptr);
    sqlite3_create_function(db, "ccur", 1, flags, nullptr, fnCcur, nullptr, nullptr);
    registerTextCollation(db);
}

QString SqliteDriver::lastError() const
{
    if (!m_db)
        return QStringLiteral("数据库没有连接");
    return describeError(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_system_errno(m_db));
}

QString SqliteDriver::describeError(int code, const QString &engineText, int systemErrno)
{
    // The clerk reads the first sentence; the engine's own words follow for
    // whoever is asked to help.
    QString what;
    switch (code & 0xff) {
    case SQLITE_FULL: what = QStringLiteral("磁盘已满"); break;
    case SQLITE_READONLY: what = QStringLiteral("文件只读，不能写入"); break;
    case SQLITE_CANTOPEN: what = QStringLiteral("无法打开文件（文件夹只读、不存在或没有权限）"); break;
    case SQLITE_IOERR: what = QStringLiteral("磁盘读写错误"); break;
    case SQLITE_CORRUPT: what = QStringLiteral("数据库文件已损坏"); break;
    case SQLITE_NOTADB: what = QStringLiteral("不是数据库文件"); break;
    case SQLITE_BUSY: case SQLITE_LOCKED: what = QStringLiteral("数据库正被其他程序占用"); break;
    case SQLITE_PERM: case SQLITE_AUTH: what = QStringLiteral("没有权限"); break;
    case SQLITE_NOMEM: what = QStringLiteral("内存不足"); break;
    case SQLITE_CONSTRAINT:
        if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
            what = QStringLiteral("记录重复");
        else if (code == SQLITE_CONSTRAINT_NOTNULL)
            what = QStringLiteral("缺少必须填写的值");
        break;   // a trigger's refusal is already the writer's own sentence
    default: break;
    }
    if (!what.isEmpty() && systemErrno && ((code & 0xff) == SQLITE_IOERR || (code & 0xff) == SQLITE_CANTOPEN))
        what = QStringLiteral("%1：%2").arg(what, systemReason(systemErrno));
    return what.isEmpty() ? engineText : what + QStringLiteral("。") + engineText;
}

std::unique_ptr<Statement> SqliteDriver::prepare(const QString &sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("数据库没有连接"));
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        throw DbError(lastError());
    if (!st)   // nothing but blanks or a comment
        throw DbError(QStringLiteral("没有可执行的语句"));
    return std::make_unique<SqliteStatement>(m_db, st, *this);
}

int SqliteDriver::execute(const QString &sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("数据库没有连接"));
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = describeError(sqlite3_extended_errcode(m_db), QString::fromUtf8(err ? err : sqlite3_errmsg(m_db)),
                                          sqlite3_system_errno(m_db));
        sqlite3_free(err);
        throw DbError(msg);
    }
    return sqlite3_changes(m_db);
}

void SqliteDriver::begin()
{
    execute(QStringLiteral("BEGIN"));
}

void SqliteDriver::commit()
{
    try {
        execute(QStringLiteral("COMMIT"));
    } catch (const DbError &e) {
        // A disk error while committing may come after the change reached
        // the file: nobody may then be told that nothing was changed.
        const int code = sqlite3_extended_errcode(m_db) & 0xff;
        if (code == SQLITE_IOERR || code == SQLITE_CANTOPEN)
            throw DbError(e.message(), DbError::Outcome::Unknown);
        throw;
    }
}

void SqliteDriver::rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqliteDriver::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

QStringList SqliteDriver::columnsOf(const QString &table)
{
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    auto st = prepare(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted));
    QStringList names;
    while (st->step())
        names << st->value(1).toString();
    return names;
}

QStringList SqliteDriver::quickCheck(int limit)
{
    return checkLines(*this, QStringLiteral("quick_check"), limit);
}

QStringList SqliteDriver::integrityCheck(int limit)
{
    return checkLines(*this, QStringLiteral("integrity_check"), limit);
}

void SqliteDriver::backupInto(SqliteDriver &target)
{
    sqlite3_backup *b = sqlite3_backup_init(target.m_db, "main", m_db, "main");
    if (!b)
        throw DbError(target.lastError());
    int rc;
    while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED)
        sqlite3_sleep(50);
    const int finish = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE || finish != SQLITE_OK)
        throw DbError(target.lastError());
}

} // namespace db
