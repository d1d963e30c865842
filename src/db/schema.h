#pragma once
#include <QString>
#include <QStringList>
#include <vector>


namespace db {

class Driver;
class SqliteDriver;

enum class Kind { Text, Memo, Integer, Float, Money, Date, DateTime, YesNo, AutoKey, Unknown };

struct ColumnDef {
    QString name;
    Kind kind;
    QString defaultValue;   // SQL literal, empty for none
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
    const ColumnDef *column(const QString &name) const;
};

namespace schema {

const std::vector<TableDef> &tables();
const TableDef *table(const QString &name);

// Declared type written into CREATE TABLE; chosen so that SQLite's type
// affinity matches the stored form and the kind can be read back.
QString declType(Kind k);
Kind kindFromDeclType(const QString &decl);
// Kind of a column name across all tables (names mean the same everywhere);
// Unknown when the name is not a column.
Kind kindOfColumnName(const QString &name);

// Creates every table and index in one transaction. Throws DbError.
void create(Driver &db);
// The two halves of create(), run in the caller's transaction: a bulk load
// indexes after inserting, which is several times faster.
void createTables(Driver &db);
void createIndexes(Driver &db, const QString &table = {});   // one table's, or all
// The CREATE INDEX statements createIndexes runs, one table's or all.
QStringList indexStatements(const QString &table = {});
// Adds the rows a fresh file must hold (company record, one operator, the
// five reminder definitions). Throws DbError.
void seed(Driver &db);
// Empty when the file holds every table and column; otherwise what is missing.
QStringList missing(Driver &db);

// The collation the file's text columns are declared with: TextCollation
// (db/collation.h), or NOCASE in files made before text sorted by pinyin
// (they open and work, sorting Chinese by character code).
QString textCollation(SqliteDriver &db);
// Declares the text columns of such a file with TextCollation and rebuilds
// its indexes, in one transaction; a file already in it is left alone.
// The handle needs the collation registered. Throws DbError.
void upgradeCollation(SqliteDriver &db);

} // namespace schema
} // namespace db
