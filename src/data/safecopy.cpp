#include "data/safecopy.h"
#include "data/dbcopy.h"
#include "db/database.h"
#include <QDateTime>
#include <QDir>
#include "data/dbfile.h"
#include "db/sqlitedriver.h"
#include "db/dberror.h"
#include "db/text.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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
    case EDQUOT: return S("磁盘已满");
    case EISDIR: return S("是一个文件夹");
    default: return QString::fromLocal8Bit(std::strerror(err));
    }
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
    if (db::isServerUrl(source)) {
        // The server's rows from one snapshot, in the file format.
        dbcopy::copy(source, temp.path, true);
    } else {
        db::SqliteDriver src(source, db::SqliteDriver::Mode::ReadOnly);
        // Thrown away on any failure, so it needs no journal; synced once,
        // whole, before it is moved in place.
        db::SqliteDriver dst(temp.path, db::SqliteDriver::Mode::Scratch);
        src.backupInto(dst);
        dst.close();
    }
    syncFile(temp.path);
    const QStringList wrong = problems(temp.path);
    if (!wrong.isEmpty())
        throw Damaged(S("复制出的文件没有通过检查: ") + wrong.mid(0, 5).join(QStringLiteral("; ")));
}

void checkSource(const QString &source)
{
    if (db::isServerUrl(source))
        return;
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
        db::SqliteDriver h(database, db::SqliteDriver::Mode::ReadWrite);
        h.execute(QStringLiteral("select count(*) from sqlite_master"));
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


namespace {

void replaceOnServer(const QString &source, const QString &url)
{
    checkSource(source);
    if (db::isServerUrl(source))
        throw DbError(S("只能从备份文件恢复"));
    const QStringList wrong = problems(source);
    if (!wrong.isEmpty())
        throw DbError(S("所选文件不是本系统的数据库或已损坏: ") + wrong.mid(0, 5).join(QStringLiteral("; ")));
    // What the server held is kept as a file first, as the file's .bak is.
    const QDir folder = QDir::current();
    folder.mkpath(QStringLiteral("backup"));
    copy(url, folder.filePath(QStringLiteral("backup/before-restore-%1.mdb")
                                  .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")))));
    // One transaction on the server: the old data or the restored, never a mix.
    dbcopy::copy(source, url, true);
}

} // namespace

QString tempName(const QString &target)
{
    return target + QStringLiteral(".part");
}

QStringList problems(const QString &path)
{
    QStringList out = dbfile::check(path);
    if (!out.isEmpty())
        return out;
    try {
        db::SqliteDriver h(path, db::SqliteDriver::Mode::ReadOnly);
        out << h.integrityCheck(10);
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
    if (!db::isServerUrl(source) && sameFile(source, target))
        throw DbError(S("目的文件就是数据库文件本身"));
    Temp temp(tempName(target));
    writeChecked(source, temp);
    moveOver(temp.path, target);
    temp.moved = true;
    syncFolder(target);
}

void replace(const QString &source, const QString &database)
{
    if (db::isServerUrl(database)) {
        replaceOnServer(source, database);
        return;
    }
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
