#pragma once
#include "import/jetreader.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace db { struct TableDef; struct ColumnDef; }

// Bringing a firm's data over from the Access file of its old program into
// a new database of ours: every table of our schema from the old table of
// the same name, column by column by name, or as a map file says.
namespace jetimport {

// A map file: an ini file with one section per table of ours,
//   [集装箱运输单]
//   from = Orders
//   运输单号 = OrderID
// Tables and columns it does not name are matched by name.
struct ImportMap {
    struct Table {
        QString target;
        QString from;   // the old table; empty: the one of the target's name
        std::vector<std::pair<QString, QString>> columns;   // ours = old
        int line = 0;
    };
    std::vector<Table> tables;

    // Throws db::DbError naming the line of a syntax error or repeated name.
    static ImportMap read(const QString &path);
    static ImportMap parse(const QString &text);
    const Table *find(const QString &target) const;
};

// Values of one column that were refused (left empty) or taken although the
// old program would have refused them, with the first of them.
struct ValueIssue {
    QString column;
    QString reason;
    qint64 count = 0;
    qint64 firstRow = 0;   // row of the old table, from 1
    QString example;
};

struct TableReport {
    QString table;                 // ours
    QString source;                // the old table; empty when the old file has none
    qint64 rowsRead = 0;
    qint64 rowsWritten = 0;
    bool keptFreshRows = false;    // the old table had no rows: the new file's own rows stay
    QStringList emptyColumns;      // ours that the old table lacks: left empty (or their default)
    QStringList extraColumns;      // the old table's that we have not: not brought over
    QStringList unreadableColumns; // OLE and binary columns: skipped
    std::vector<ValueIssue> refused;
    std::vector<ValueIssue> takenAsTheyAre;
    qsizetype skippedColumns() const { return extraColumns.size() + unreadableColumns.size(); }
    qint64 refusedValues() const;
};

struct Report {
    QString source, target, format;
    std::vector<TableReport> tables;
    QStringList otherTables;       // tables of the old file nothing came from
    QStringList checkProblems;     // what the check of the new file found (empty: sound)
    double seconds = 0;

    qint64 rowsWritten() const;
    // The table of what came over and the details below it: plain text for
    // the terminal (columns aligned for Chinese), HTML for the window and print.
    QString text() const;
    QString html() const;
};

// Which column of the old table fills a column of ours (-1: none).
struct ColumnPlan {
    const db::ColumnDef *target;
    int source;
};
struct TablePlan {
    const db::TableDef *target;
    const JetTable *source;   // nullptr when the old file has no such table
    std::vector<ColumnPlan> columns;
    TableReport report;       // names filled in, counts still zero
};
// Matches our schema against the old file's tables. Throws db::DbError with
// every error of the map (unknown table or column on either side) at once.
std::vector<TablePlan> plan(const std::vector<JetTable> &old, const ImportMap *map, QStringList *otherTables = nullptr);

using Progress = std::function<void(qint64 done, qint64 total)>;

// Writes a complete new database at TEMP from the Access file OLD (a file at
// TEMP is replaced: it must be the caller's own scratch name), fills it, and
// checks it as `velorin-db check` does. On any failure TEMP does not exist
// afterwards and db::DbError says why.
Report build(const QString &old, const QString &temp, const ImportMap *map, const Progress &progress = {});

// `velorin-db import OLD NEW [--map FILE]`: refuses an existing NEW before
// anything is read, and NEW appears only complete and checked.
Report importFile(const QString &old, const QString &target, const QString &mapFile = {},
                  const Progress &progress = {});

// Puts the file TEMP at TARGET only if TARGET does not exist (one step: a
// file made at TARGET meanwhile is never overwritten). Throws db::DbError.
void placeNew(const QString &temp, const QString &target);

} // namespace jetimport
