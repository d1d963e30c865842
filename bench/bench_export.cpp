// Export speed on a large list: 100,000 rows of 16 columns (or ROWS), each
// format written to a temporary folder (or kept in DIR). Prints seconds,
// size and bytes per row per format.
//   bench_export [ROWS [DIR]]
#include "../tests/memorysource.h"
#include "db/dates.h"
#include "grid/export.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    // The rich-text export lays its columns out as the print does, with fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir tmp;
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path();
    QDir().mkpath(dir);

    MemorySource src;
    const db::Kind kinds[] = {db::Kind::Text, db::Kind::DateTime, db::Kind::Text, db::Kind::Text};
    for (int c = 0; c < 16; ++c)
        src.cols << MemorySource::Col{c < 4 ? QStringLiteral("单据|字段%1").arg(c) : QStringLiteral("金额%1").arg(c),
                                      c < 4 ? kinds[c] : (c % 3 ? db::Kind::Money : db::Kind::Integer), 80, {}};
    src.cols[0].footer = QStringLiteral("记录数:%1").arg(rows);
    src.cols[4].footer = QStringLiteral("123456789.25");
    src.footerRow = true;
    // Order numbers are unique; customers and places repeat, as in real
    // lists; dates as the grid shows them, half of them with a time.
    src.rows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        const QDateTime when(QDate(2024, r % 12 + 1, r % 28 + 1), r % 2 ? QTime(r % 24, r % 60, r % 59) : QTime(0, 0));
        QStringList row;
        row << QStringLiteral("YS%1").arg(r, 6, 10, QLatin1Char('0'))
            << (r % 2 ? db::shortDateTime(when) : db::shortDate(when.date()))
            << QStringLiteral("武汉长江物流%1").arg(r % 3000) << QStringLiteral("阳逻港区%1号堆场").arg(r % 40);
        for (int c = 4; c < 16; ++c)
            row << (c % 3 ? QString::number((r * 37 + c) % 100000 / 8.0, 'f', c % 2 ? 3 : 2) : QString::number(r % 1000 + c));
        src.rows << row;
    }

    std::printf("export of %d rows x %d columns\n", rows, src.columnCount());
    for (int f = 1; f <= 5; ++f) {
        const QString path = dir + QStringLiteral("/bench.") + grid::exportExtension(f);
        QElapsedTimer t;
        t.start();
        QString error;
        const bool ok = grid::writeExport(f, src, path, &error);
        const double secs = t.nsecsElapsed() / 1e9;
        const qint64 size = QFileInfo(path).size();
        std::printf("  %s  %6.3f s  %7.1f MB  %5lld bytes/row%s%s\n", qPrintable(grid::exportExtension(f)), secs,
                    size / 1048576.0, rows ? size / rows : 0LL, ok ? "" : "  FAILED: ", qPrintable(error));
    }
    return 0;
}
