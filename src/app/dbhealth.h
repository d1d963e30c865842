#pragma once
#include <QString>
#include <QtGlobal>

class QWidget;
namespace db { class Connection; }

namespace app {

// Files up to this size are checked at every start-up: SQLite's quick_check
// reads the whole file at about 1 GB/s from the page cache here, so the check
// stays well under half a second. Larger files are checked by the daily backup.
constexpr qint64 QuickCheckMaxBytes = qint64(256) << 20;

// The start-up look at the open database: damage (quick_check, for files up
// to QuickCheckMaxBytes) and a file or folder that cannot be written are told
// to the user in one message each. The program goes on in both cases, so that
// the restore window can be reached and the data can still be read.
void reportDatabaseHealth(QWidget *parent, db::Connection &connection);

// The message of a database that is damaged, naming the file and the way out.
QString damageMessage(const QString &path, const QStringList &problems);

} // namespace app
