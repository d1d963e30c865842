// velorin-db: make and check Velorin database files.
#include "data/dbcopy.h"
#include "data/dbfile.h"
#include "db/database.h"
#include <QTemporaryDir>
#include <QElapsedTimer>
#include "generators/generators.h"
#include "db/collation.h"
#include "db/dberror.h"
#include "import/importer.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <functional>
#include <memory>
#include <QTextStream>
#include <cstdio>

static int usage()
{
    std::fprintf(stderr,
                 "usage: velorin-db create DB [--force]\n"
                 "       velorin-db demo DB [--force]\n"
                 "       velorin-db generate DB --orders N [--force]\n"
                 "       velorin-db check DB\n"
                 "       velorin-db upgrade FILE\n"
                 "       velorin-db query DB SQL\n"
                 "       velorin-db copy FROM TO [--force]\n"
                 "       velorin-db import OLD NEW [--map FILE]\n"
                 "DB, FROM and TO are a file or a server: postgresql://user@host:port/dbname\n");
    return 2;
}

// The Access file of the old program into a new database: the table of what
// came over on stdout, then the check's verdict; 1 and nothing written on
// any failure.
static int importCommand(QStringList args, bool wrongOptions)
{
    QString map;
    const int mi = args.indexOf(QStringLiteral("--map"));
    if (mi >= 0) {
        if (mi + 1 >= args.size())
            return usage();
        map = args[mi + 1];
        args.remove(mi, 2);
    }
    if (args.size() != 2 || wrongOptions)
        return usage();
    try {
        const jetimport::Report r = jetimport::importFile(args[0], args[1], map);
        QTextStream(stdout) << r.text();
        return 0;
    } catch (const db::DbError &e) {
        QTextStream(stderr) << "velorin-db: " << e.message() << "\n";
        return 1;
    }
}

// The demo and the generated volumes on a server are made as a file first
// and copied over whole.
static void makeDatabase(const QString &name, bool force, const std::function<void(const QString &, bool)> &makeFile)
{
    if (!db::isServerUrl(name)) {
        makeFile(name, force);
        return;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.mdb"));
    makeFile(file, false);
    dbcopy::copy(file, name, force);
}

int main(int argc, char **argv)
{
    // The demo draws its vehicle pictures, which takes fonts: a GUI
    // application, on no screen.
    const bool demo = argc > 1 && qstrcmp(argv[1], "demo") == 0;
    if (demo && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> owner(demo ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication &app = *owner;
    QStringList args = app.arguments().mid(1);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    int orders = -1;
    const int oi = args.indexOf(QStringLiteral("--orders"));
    if (oi >= 0) {
        bool ok = false;
        orders = oi + 1 < args.size() ? args[oi + 1].toInt(&ok) : 0;
        if (!ok || orders < 0)
            return usage();
        args.remove(oi, 2);
    }
    if (!args.isEmpty() && args[0] == QLatin1String("import"))
        return importCommand(args.mid(1), force || orders >= 0);
    if (args.size() == 3 && args[0] == QLatin1String("copy") && orders < 0) {
        try {
            QElapsedTimer clock;
            clock.start();
            const dbcopy::Result r = dbcopy::copy(args[1], args[2], force);
            const double s = clock.elapsed() / 1000.0;
            QTextStream(stdout) << QStringLiteral("copied %1 tables, %2 rows in %3 s (%4 rows/s) to %5\n")
                                       .arg(r.tables).arg(r.rows).arg(s, 0, 'f', 1).arg(qint64(r.rows / qMax(s, 0.001)))
                                       .arg(db::displayName(args[2]));
            return 0;
        } catch (const db::DbError &e) {
            QTextStream(stderr) << "velorin-db: " << e.message() << "\n";
            return 1;
        }
    }
    if (args.size() == 3 && args[0] == QLatin1String("query") && orders < 0 && !force) {
        // The sqlite3 shell cannot compare text in the program's collation.
        try {
            QTextStream out(stdout);
            for (const QString &line : dbcopy::select(args[1], args[2]))
                out << line << "\n";
            return 0;
        } catch (const db::DbError &e) {
            QTextStream(stderr) << "velorin-db: " << e.message() << "\n";
            return 1;
        }
    }
    if (args.size() != 2)
        return usage();
    const QString cmd = args[0], file = args[1];
    const bool server = db::isServerUrl(file);
    const QString shown = server ? db::displayName(file) : file;
    QTextStream out(stdout);
    try {
        if (cmd == QLatin1String("create") && orders < 0) {
            if (server)
                dbcopy::createServer(file, force);
            else
                dbfile::create(file, force);
        } else if (cmd == QLatin1String("demo") && orders < 0) {
            makeDatabase(file, force, dbfile::createDemo);
        } else if (cmd == QLatin1String("generate") && orders >= 0) {
            makeDatabase(file, force, [orders](const QString &f, bool fc) { dbfile::createGenerated(f, orders, fc); });
        } else if (cmd == QLatin1String("check") && orders < 0 && !force) {
            const QStringList problems = server ? dbcopy::checkServer(file) : dbfile::check(file);
            if (!problems.isEmpty()) {
                QTextStream err(stderr);
                err << shown << ": not a Velorin database\n";
                for (const auto &p : problems)
                    err << "  " << p << "\n";
                return 1;
            }
            out << shown << ": Velorin database, all tables and columns present\n";
            // A server is made in pinyin order; a file may be older.
            if (server)
                return 0;
            if (dbfile::textCollation(file) == QLatin1String(db::TextCollation))
                out << "text sorted by pinyin (collation " << db::TextCollation << ")\n";
            else
                out << "text sorted by character code (an older file; velorin-db upgrade sorts it by pinyin)\n";
            return 0;
        } else if (cmd == QLatin1String("upgrade") && orders < 0 && !force && !server) {
            dbfile::upgrade(file);
            out << file << ": text sorted by pinyin\n";
            return 0;
        } else {
            return usage();
        }
    } catch (const db::DbError &e) {
        QTextStream(stderr) << "velorin-db: " << e.message() << "\n";
        return 1;
    }
    out << "wrote " << shown << "\n";
    return 0;
}
