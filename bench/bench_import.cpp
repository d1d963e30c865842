// Import speed on Northwind (tests/data/jet/nwind.mdb, Jet 3, 4,032 rows in
// nine tables): the orders through a map, every table of the file, reading
// alone, and the start-up's import that puts the new data.mdb in place.
// Each figure is the best of five runs.
#include "db/schema.h"
#include "import/importer.h"
#include "import/startupimport.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString Nwind = QStringLiteral(VELORIN_JET_DIR "/nwind.mdb");

double best(const std::function<void()> &run)
{
    double fastest = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        fastest = std::min(fastest, double(t.nsecsElapsed()) / 1e9);
    }
    return fastest;
}

// Every table of the old file into a table of ours, its columns into our
// text columns in order: all of Northwind's readable values come over.
QString everyTableMap(const jetimport::JetFile &jet)
{
    QString map;
    size_t target = 0;
    const auto &ours = db::schema::tables();
    for (const auto &t : jet.tables()) {
        const db::TableDef &def = ours[target++];
        map += QStringLiteral("[%1]\nfrom = %2\n").arg(def.name, t.name);
        size_t col = 0;
        for (const auto &c : def.columns) {
            while (col < t.columns.size() && !jetimport::isReadable(t.columns[col].type))
                ++col;
            if (col == t.columns.size())
                break;
            if (c.kind == db::Kind::Text || c.kind == db::Kind::Memo)
                map += QStringLiteral("%1 = %2\n").arg(c.name, t.columns[col++].name);
        }
    }
    return map;
}

void write(const QString &path, const QString &text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text.toUtf8());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const jetimport::JetFile jet(Nwind);
    qint64 rows = 0;
    for (const auto &t : jet.tables())
        rows += t.rows;
    const QString ordersMap = dir.filePath(QStringLiteral("orders.ini")), allMap = dir.filePath(QStringLiteral("all.ini"));
    write(ordersMap, QStringLiteral("[集装箱运输单]\nfrom = Orders\n运输单号 = OrderID\n上游客户 = CustomerID\n"
                                    "运输期限从 = OrderDate\n运输期限到 = RequiredDate\n应收运费 = Freight\n"
                                    "船名航班 = ShipName\n目的地 = ShipCity\n"));
    write(allMap, everyTableMap(jet));
    int n = 0;
    auto import = [&](const QString &map) {
        const QString target = dir.filePath(QStringLiteral("new%1.mdb").arg(n++));
        jetimport::importFile(Nwind, target, map);
        QFile::remove(target);
    };
    const double empty = best([&] { import(QString()); });
    const double orders = best([&] { import(ordersMap); });
    const double all = best([&] { import(allMap); });
    const double read = best([&] {
        for (const auto &t : jet.tables()) {
            std::vector<int> cols;
            for (size_t c = 0; c < t.columns.size(); ++c)
                if (jetimport::isReadable(t.columns[c].type))
                    cols.push_back(int(c));
            jet.read(t.name, cols, [](const std::vector<jetimport::JetValue> &) {});
        }
    });
    const double startup = best([&] {
        QTemporaryDir folder;
        const QString data = folder.filePath(QStringLiteral("data.mdb"));
        QFile::copy(Nwind, data);
        QFile::copy(allMap, jetimport::mapName(data));
        jetimport::replaceWithImport(data);
    });
    std::printf("Northwind (%lld rows in %zu tables, %.1f MB)\n", rows, jet.tables().size(), QFile(Nwind).size() / 1048576.0);
    std::printf("  new file with nothing to import (schema, indexes, check)  %6.3f s\n", empty);
    std::printf("  orders through a map: 830 rows                             %6.3f s  %8.0f rows/s (%.0f rows/s beyond the empty file)\n",
                orders, 830 / orders, 830 / (orders - empty));
    std::printf("  every table: %lld rows                                    %6.3f s  %8.0f rows/s (%.0f rows/s beyond the empty file)\n",
                rows, all, rows / all, rows / (all - empty));
    std::printf("  reading every table alone                                  %6.3f s  %8.0f rows/s\n", read, rows / read);
    std::printf("  start-up import of every table (kept, new file in place)  %6.3f s\n", startup);
    return 0;
}
