#include "data/dailybackup.h"
#include "data/filewindow.h"
#include "data/safecopy.h"
#include "db/database.h"
#include "db/text.h"
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>

namespace data {

QStringList expiredCopies(const QStringList &names, const QDate &today, int keep)
{
    // Newest first, by the date in the name.
    QStringList copies = names;
    std::sort(copies.begin(), copies.end(), std::greater<>());
    QSet<QString> kept(copies.begin(), copies.begin() + qMin<qsizetype>(keep, copies.size()));
    // Damage that no check sees is copied like good data, day after day; the
    // first copy of each of the last twelve months keeps an older good one.
    const QDate oldestMonth = QDate(today.year(), today.month(), 1).addMonths(-(MonthlyBackupsKept - 1));
    QHash<QString, QString> firstOfMonth;   // yyyyMM -> name
    for (const QString &name : copies) {
        const QDate d = QDate::fromString(name.mid(5, 8), QStringLiteral("yyyyMMdd"));
        if (d.isValid() && d >= oldestMonth)
            firstOfMonth[name.mid(5, 6)] = name;   // older names come later, so the first of the month wins
    }
    for (const QString &name : std::as_const(firstOfMonth))
        kept.insert(name);
    QStringList out;
    for (const QString &name : copies)
        if (!kept.contains(name))
            out << name;
    return out;
}

QString dailyBackup(const QString &database, const QDate &today, int keep)
{
    // Beside the file, or for a server beside velorin.ini (the working folder).
    const QDir folder = db::isServerUrl(database) ? QDir::current() : QFileInfo(database).absoluteDir();
    const QString name = QStringLiteral("%1/data-%2.mdb").arg(QLatin1String(BackupFolder), today.toString(QStringLiteral("yyyyMMdd")));
    if (QFileInfo::exists(folder.filePath(name)))
        return S("今日已自动备份: ") + name;
    if (!folder.mkpath(QLatin1String(BackupFolder)) || !QFileInfo(folder.filePath(QLatin1String(BackupFolder))).isDir())
        return S("自动备份失败: 无法建立文件夹 ") + folder.filePath(QLatin1String(BackupFolder));
    try {
        WaitCursor wait;   // a large file takes seconds
        safecopy::copy(database, folder.filePath(name));
    } catch (const safecopy::Damaged &e) {
        // The copy is not kept, so a damaged day never pushes a good copy out.
        return S("数据库可能已损坏, 今日没有自动备份: ") + e.message();
    } catch (const db::DbError &e) {
        return S("自动备份失败: ") + e.message();
    }
    QDir backups(folder.filePath(QLatin1String(BackupFolder)));
    static const QRegularExpression daily(QStringLiteral("^data-\\d{8}\\.mdb$"));
    QStringList copies = backups.entryList({QStringLiteral("data-*.mdb")}, QDir::Files, QDir::Name | QDir::Reversed)
                             .filter(daily);
    for (const QString &old : expiredCopies(copies, today, keep))
        backups.remove(old);
    for (const QString &half : backups.entryList({QStringLiteral("data-*.mdb.part*")}, QDir::Files))
        backups.remove(half);   // left by a copy that was killed
    return S("已自动备份: ") + name;
}

} // namespace data
