// Export speed on a large list: 100,000 rows of 16 columns, each format
// written to a temporary folder. Prints seconds per format.
#include "../tests/memorysource.h"
#include "grid/export.h"
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main()
{
    constexpr int Rows = 100000;
    MemorySource src;
    const db::Kind kinds[] = {db::Kind::Text, db::Kind::DateTime, db::Kind::Text, db::Kind::Text};
    for (int c = 0; c < 16; ++c)
        src.cols << MemorySource::Col{c < 4 ? QStringLiteral("单据|字段%1").arg(c) : QStringLiteral("金额%1").arg(c),
                                      c < 4 ? kinds[c] : (c % 3 ? db::Kind::Money : db::Kind::Integer), 80, {}};
    // Order numbers are unique; customers and places repeat, as in real lists.
    src.rows.reserve(Rows);
    for (int r = 0; r < Rows; ++r) {
        QStringList row;
        row << QStringLiteral("YS%1").arg(r, 6, 10, QLatin1Char('0'))
            << QStringLiteral("2024-%1-%2").arg(r % 12 + 1).arg(r % 28 + 1)
            << QStringLiteral("武汉长江物流%1").arg(r % 3000) << QStringLiteral("阳逻港区%1号堆场").arg(r % 40);
        for (int c = 4; c < 16; ++c)
            row << (c % 3 ? QString::number((r * 37 + c) % 100000 / 4.0, 'f', 2) : QString::number(r % 1000 + c));
        src.rows << row;
    }

    QTemporaryDir dir;
    std::printf("export of %d rows x %d columns\n", Rows, src.columnCount());
    for (int f = 1; f <= 5; ++f) {
        const QString path = dir.filePath(QStringLiteral("bench.") + grid::exportExtension(f));
        QElapsedTimer t;
        t.start();
        QString error;
        const bool ok = grid::writeExport(f, src, path, &error);
        const double secs = t.nsecsElapsed() / 1e9;
        std::printf("  %s  %6.3f s  %7.1f MB%s%s\n", qPrintable(grid::exportExtension(f)), secs,
                    QFileInfo(path).size() / 1048576.0, ok ? "" : "  FAILED: ", qPrintable(error));
    }
    return 0;
}
