#include "data/safecopy.h"
#include "data/dbfile.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/text.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace data::safecopy {
namespace {

using db::DbError;

QByteArray native(const QString &path) { return QFile::encodeName(path); }

QString systemReason(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR: return S("文件夹不存在");
    case EACCES:
    case EPERM: return S("没有写入权限");
    case EROFS: return S("文件夹是只读的");
    case ENOSPC:
    case EDQUOT: return S("磁盘空间不足");
    case EISDIR: return S("是一个文件夹");
    default: return QString::fromLocal8Bit(std::strerror(err));
    }
}

// The engine's failure in words a clerk understands, followed by its own text.
QString engineReason(sqlite3 *db, int rc)
{
    const QString text = db ? db::Connection::lastError(db) : QStringLiteral("out of memory");
    const auto with = [&](const QString &reason) { return QStringLiteral("%1 (%2)").arg(reason, text); };
    switch (rc & 0xff) {
    case SQLITE_FULL: return with(S("磁盘空间不足"));
    case SQLITE_READONLY: return with(S("文件夹是只读的"));
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return with(S("数据库正在被写入, 请稍后再试"));
    case SQLITE_NOTADB: return with(S("不是数据库文件"));
    case SQLITE_CORRUPT: return with(S("数据库文件已损坏"));
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        if (const int e = db ? sqlite3_system_errno(db) : 0)
            return with(systemReason(e));
        break;
    default: break;
    }
    return text;
}

struct Handle {
    sqlite3 *db = nullptr;
    ~Handle()
    {
        if (db)
            sqlite3_close_v2(db);
    }
};

void open(const QString &path, int flags, Handle &h)
{
    const int rc = sqlite3_open_v2(native(path).constData(), &h.db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(QStringLiteral("%1: %2").arg(path, engineReason(h.db, rc)));
    sqlite3_busy_timeout(h.db, 5000);
    // The checks compare text through the file's own collation.
    db::Connection::registerDialect(h.db);
}

void exec(sqlite3 *db, const char *sql)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(engineReason(db, rc));
}

// A temporary file that is removed again unless the copy was moved in place.
struct Temp {
    QString path;
    bool moved = false;
    explicit Temp(QString p) : path(std::move(p)) { removeFiles(); }
    ~Temp()
    {
        if (!moved)
            removeFiles();
    }
    void removeFiles() const
    {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
    }
};

void moveOver(const QString &from, const QString &to)
{
    if (std::rename(native(from).constData(), native(to).constData()) != 0)
        throw DbError(QStringLiteral("%1: %2").arg(to, systemReason(errno)));
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(native(a).constData(), &sa) == 0 && ::stat(native(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Writes a complete copy of SOURCE into TEMP and checks it.
void writeChecked(const QString &source, const Temp &temp)
{
    // Created by hand first: the system's reason (read-only, no folder, no
    // space) is clearer than the engine's "unable to open database file".
    const int fd = ::open(native(temp.path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw DbError(QStringLiteral("%1: %2").arg(QFileInfo(temp.path).absolutePath(), systemReason(errno)));
    ::close(fd);

    // Its own read-only connection: the program's connection refuses a backup
    // while it holds a write transaction, and a reader sees committed rows only.
    Handle src, dst;
    open(source, SQLITE_OPEN_READONLY, src);
    open(temp.path, SQLITE_OPEN_READWRITE, dst);
    // The file is thrown away on any failure, so it needs no journal; it is
    // synced once, whole, before it is moved in place.
    exec(dst.db, "PRAGMA journal_mode=OFF");
    exec(dst.db, "PRAGMA synchronous=OFF");
    sqlite3_backup *b = sqlite3_backup_init(dst.db, "main", src.db, "main");
    if (!b)
        throw DbError(engineReason(dst.db, sqlite3_errcode(dst.db)));
    int rc;
    while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED)
        sqlite3_sleep(50);
    const int finish = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE || finish != SQLITE_OK)
        throw DbError(engineReason(dst.db, rc != SQLITE_DONE ? rc : finish));
    const int closed = sqlite3_close(dst.db);
    if (closed != SQLITE_OK)
        throw DbError(engineReason(dst.db, closed));
    dst.db = nullptr;
    syncFile(temp.path);
    const QStringList wrong = problems(temp.path);
    if (!wrong.isEmpty())
        throw Damaged(S("复制出的文件没有通过检查: ") + wrong.mid(0, 5).join(QStringLiteral("; ")));
}

void checkSource(const QString &source)
{
    if (source.isEmpty())
        throw DbError(S("没有选择文件"));
    if (!QFileInfo::exists(source))
        throw DbError(S("文件不存在: ") + source);
}

// A hot journal beside the database would be played back into the file put
// in its place: let the engine finish it on the old file first.
void settleJournal(const QString &database)
{
    const QString journal = database + QStringLiteral("-journal");
    if (!QFileInfo::exists(journal) || !QFileInfo::exists(database))
        return;
    {
        Handle h;
        open(database, SQLITE_OPEN_READWRITE, h);
        exec(h.db, "select count(*) from sqlite_master");
    }
    if (QFileInfo::exists(journal))
        throw DbError(S("数据库文件有未完成的日志: ") + journal);
}

} // namespace

void syncFile(const QString &path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    const int rc = fd < 0 ? -1 : ::fsync(fd);
    const int err = errno;
    if (fd >= 0)
        ::close(fd);
    if (rc != 0)
        throw DbError(S("写入失败: ") + systemReason(err));
}

// After a rename the directory entry itself must reach the disk too; a
// directory that cannot be synced (some network file systems) is no failure.
void syncFolder(const QString &file)
{
    const int fd = ::open(native(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}


QString tempName(const QString &target)
{
    return target + QStringLiteral(".part");
}

QStringList problems(const QString &path)
{
    QStringList out = dbfile::check(path);
    if (!out.isEmpty())
        return out;
    Handle h;
    try {
        open(path, SQLITE_OPEN_READONLY, h);
        sqlite3_stmt *st = nullptr;
        int rc = sqlite3_prepare_v2(h.db, "PRAGMA integrity_check(10)", -1, &st, nullptr);
        while (st && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            const QString line = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
            if (line != QLatin1String("ok"))
                out << line;
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            out << engineReason(h.db, rc);
    } catch (const DbError &e) {
        out << e.message();
    }
    return out;
}

void copy(const QString &source, const QString &target)
{
    checkSource(source);
    if (target.isEmpty())
        throw DbError(S("没有选择目的文件"));
    if (QFileInfo(target).isDir())
        throw DbError(S("%1 是一个文件夹").arg(target));
    if (sameFile(source, target))
        throw DbError(S("目的文件就是数据库文件本身"));
    Temp temp(tempName(target));
    writeChecked(source, temp);
    moveOver(temp.path, target);
    temp.moved = true;
    syncFolder(target);
}

void replace(const QString &source, const QString &database)
{
    checkSource(source);
    if (sameFile(source, database))
        throw DbError(S("所选文件就是当前的数据库文件"));
    const QStringList wrong = dbfile::check(source);
    if (!wrong.isEmpty())
        throw DbError(S("所选文件不是本系统的数据库: ") + wrong.mid(0, 5).join(QStringLiteral("; ")));
    settleJournal(database);
    Temp temp(tempName(database));
    writeChecked(source, temp);
    const bool hadDatabase = QFileInfo::exists(database);
    if (hadDatabase) {
        QFile::setPermissions(temp.path, QFile::permissions(database));
        // The replaced file stays as .bak, made before the database is
        // touched. A hard link costs nothing and leaves data.mdb in place; a
        // file system without links gets a copy.
        const QString bak = database + QStringLiteral(".bak");
        const QString bakPart = tempName(bak);
        QFile::remove(bakPart);
        if (::link(native(database).constData(), native(bakPart).constData()) != 0 && !QFile::copy(database, bakPart)) {
            QFile::remove(bakPart);
            throw DbError(S("无法保留原来的数据库 %1").arg(bak));
        }
        moveOver(bakPart, bak);
    }
    // One rename: data.mdb is at every moment either the old or the new file.
    moveOver(temp.path, database);
    temp.moved = true;
    syncFolder(database);
}

} // namespace data::safecopy
