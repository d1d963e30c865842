#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Reading the Microsoft Access (Jet 3 and Jet 4) file of the program firms
// used before, through libmdb. Only what an import needs: the tables with
// their columns, and every row of a table as typed values.
namespace jetimport {

// True when FILE's first page says "Standard Jet DB" or "Standard ACE DB".
bool isAccessFile(const QString &path);

// The column types of a Jet file, as the import treats them.
enum class JetType { YesNo, Byte, Integer, LongInteger, Currency, Single, Double, DateTime, Text, Memo, Decimal, Guid,
                     Binary, Ole, Other };
// Binary, OLE and unknown columns cannot be brought over.
bool isReadable(JetType t);
QString typeName(JetType t);

struct JetColumn {
    QString name;
    JetType type;
};

struct JetTable {
    QString name;
    std::vector<JetColumn> columns;
    qint64 rows = 0;   // as the table's definition counts them
    int column(const QString &name) const;   // by name, letters' case ignored; -1 when none
};

// One value as the old file holds it.
struct JetValue {
    enum class Kind { Null, Bool, Integer, Currency, Real, Date, Text } kind = Kind::Null;
    bool yes = false;
    qint64 integer = 0;     // Integer; Currency in ten-thousandths (the file's own form)
    double real = 0;        // Real; Date as days since 1899-12-30, the time as the fraction
    QString text;

    bool isNull() const { return kind == Kind::Null; }
    // The date and time of a Date value; nullopt when the number is no date
    // or its year is outside 1900 to 9999, which the import reports rather
    // than guesses.
    std::optional<QDateTime> dateTime() const;
    // The same without the limits on the year (for reports).
    std::optional<QDateTime> calendarDateTime() const;
    // As the old program would show it, for reports.
    QString display() const;
};

// An open Jet file, read-only. A database password does not encrypt the
// pages, so it is not needed. Throws db::DbError when the file is not an
// Access file, is cut short or cannot be read.
class JetFile {
public:
    explicit JetFile(const QString &path);
    ~JetFile();
    JetFile(const JetFile &) = delete;
    JetFile &operator=(const JetFile &) = delete;

    QString path() const { return m_path; }
    QString format() const;   // "Jet 3", "Jet 4", "ACE"
    const std::vector<JetTable> &tables() const { return m_tables; }
    const JetTable *table(const QString &name) const;   // letters' case ignored

    // Calls row(values) for every row of TABLE; values[i] is the column
    // columns[i] (indexes into JetTable::columns, readable types only).
    // Throws db::DbError when the file ends before the table's rows do.
    void read(const QString &table, const std::vector<int> &columns,
              const std::function<void(const std::vector<JetValue> &)> &row) const;

private:
    struct Handle;
    QString m_path;
    std::unique_ptr<Handle> m_h;
    std::vector<JetTable> m_tables;
};

} // namespace jetimport
