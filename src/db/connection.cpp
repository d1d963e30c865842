#include "db/connection.h"
#include "db/collation.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/money.h"
#include "db/schema.h"
#include <QFileInfo>
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
        sqlite3_result_error(ctx, msg.constData(), msg.size());
        return;
    }
    const QByteArray s = storedDateTime(*dt).toUtf8();
    sqlite3_result_text(ctx, s.constData(), s.size(), SQLITE_TRANSIENT);
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

} // namespace

Connection::Connection(QObject *parent) : QObject(parent) {}

Connection::~Connection()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Connection::lastError(sqlite3 *db)
{
    return describeError(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

QString Connection::describeError(int code, const QString &engineText)
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
    return what.isEmpty() ? engineText : what + QStringLiteral("。") + engineText;
}

void Connection::registerDialect(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "cdate", 1, flags, nullptr, fnDate, nullptr, nullptr);
    sqlite3_create_function(db, "cvdate", 1, flags, nullptr, fnDate, nullptr, nullptr);
    sqlite3_create_function(db, "ccur", 1, flags, nullptr, fnCcur, nullptr, nullptr);
    registerTextCollation(db);
}

void Connection::open()
{
    if (m_db)
        return;
    const QFileInfo fi(m_path);
    if (!fi.exists())
        throw DbError(QStringLiteral("数据库文件不存在: %1").arg(fi.absoluteFilePath()));
    sqlite3 *db = nullptr;
    // Only the user-interface thread uses the connection, so SQLite's
    // per-call locking is pure cost (a quarter of reading a large list).
    const int rc = sqlite3_open_v2(fi.absoluteFilePath().toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? lastError(db) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        throw DbError(QStringLiteral("无法打开数据库 %1: %2").arg(fi.absoluteFilePath(), msg));
    }
    registerDialect(db);
    try {
        const QStringList miss = schema::missing(db);   // fails on a file that is not SQLite
        if (!miss.isEmpty())
            throw DbError(QStringLiteral("数据库结构不完整, 缺少: %1").arg(miss.mid(0, 10).join(QStringLiteral(", "))));
    } catch (const DbError &e) {
        sqlite3_close_v2(db);
        throw DbError(QStringLiteral("%1 不是有效的数据库: %2").arg(fi.fileName(), e.message()));
    }
    sqlite3_busy_timeout(db, 2000);
    // A save that said it was done must survive a power cut: in the rollback
    // journal a commit is the journal's deletion, and only EXTRA syncs the
    // folder after it. Without that the journal can come back and undo it.
    sqlite3_exec(db, "PRAGMA synchronous=EXTRA", nullptr, nullptr, nullptr);
    // SQLite opens a file it cannot write read-only without a word, and a
    // folder it cannot write only shows when the first change needs its
    // journal: both are found here, before anybody types a whole order.
    const QFileInfo folder(fi.absolutePath());
    m_readOnly = sqlite3_db_readonly(db, "main") == 1 || !fi.isWritable() || !folder.isWritable();
    m_filePath = fi.absoluteFilePath();
    m_db = db;
    emit opened();
}

void Connection::close()
{
    if (!m_db)
        return;
    emit aboutToClose();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

QStringList Connection::quickCheck(int limit)
{
    if (!m_db)
        throw DbError(QStringLiteral("数据库没有连接"));
    QStringList problems;
    sqlite3_stmt *st = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA quick_check(%1)").arg(qMax(1, limit)).toUtf8();
    int rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const QString line = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
            if (line != QLatin1String("ok"))
                problems << line;
        }
    }
    // Damage bad enough to stop the check itself is damage too.
    if (rc != SQLITE_DONE)
        problems << lastError(m_db);
    sqlite3_finalize(st);
    return problems.mid(0, qMax(1, limit));
}

int Connection::execute(const QString &sql)
{
    if (!m_db)
        throw DbError(QStringLiteral("数据库没有连接"));
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = describeError(sqlite3_extended_errcode(m_db), QString::fromUtf8(err ? err : sqlite3_errmsg(m_db)));
        sqlite3_free(err);
        throw DbError(msg);
    }
    return sqlite3_changes(m_db);
}

Transaction::Transaction(Connection &c) : m_conn(c)
{
    m_conn.execute(QStringLiteral("BEGIN"));
}

Transaction::~Transaction()
{
    if (!m_done && m_conn.isOpen())
        sqlite3_exec(m_conn.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    try {
        m_conn.execute(QStringLiteral("COMMIT"));
    } catch (const DbError &e) {
        // A disk error while committing may come after the change reached
        // the file: nobody may then be told that nothing was changed.
        const int code = m_conn.isOpen() ? sqlite3_extended_errcode(m_conn.handle()) & 0xff : 0;
        if (code == SQLITE_IOERR || code == SQLITE_CANTOPEN)
            throw DbError(e.message(), DbError::Outcome::Unknown);
        throw;
    }
    m_done = true;
}

} // namespace db
