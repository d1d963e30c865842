#include "data/dailybackup.h"
#include "data/filewindow.h"
#include "data/safecopy.h"
#include "db/text.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace data {

QString dailyBackup(const QString &database, const QDate &today, int keep)
{
    const QDir folder = QFileInfo(database).absoluteDir();
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
    for (int i = keep; i < copies.size(); ++i)
        backups.remove(copies[i]);
    for (const QString &half : backups.entryList({QStringLiteral("data-*.mdb.part*")}, QDir::Files))
        backups.remove(half);   // left by a copy that was killed
    return S("已自动备份: ") + name;
}

} // namespace data
