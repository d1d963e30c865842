#pragma once
#include <QByteArray>
#include <QString>

class QIODevice;

namespace grid {

// Writes an OLE2 compound file (version 3, 512-byte sectors) holding one
// stream under the root storage, such as the "Workbook" of an Excel file.
// Streams under 4096 bytes go into the mini stream as readers expect; large
// ones get as many FAT sectors, and DIFAT sectors, as they need.
// False when the device refuses a write.
bool writeCompoundFile(QIODevice &out, const QString &streamName, const QByteArray &stream);

} // namespace grid
