#pragma once
#include "db/money.h"
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/sqlitedriver.h"

// Writing new database files in bulk (the velorin-db tool and tests).
namespace dbfile::detail {

// A database file being made. It is written under a temporary name beside
// the target and moved over it by commit(), so that a failure never leaves a
// half-made file behind and a forced overwrite never destroys the old file
// before the new one is complete.
class NewFile {
public:
    // Throws DbError when the path exists and force is false, or when the
    // temporary file cannot be created.
    NewFile(const QString &path, bool force);
    ~NewFile();
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    db::SqliteDriver &db() const { return *m_db; }
    void exec(const char *sql);
    void begin() { exec("BEGIN"); }
    void commitTransaction() { exec("COMMIT"); }
    // Closes the file and moves it to the target path. Throws DbError.
    void commit();

private:
    QString m_path, m_temp;
    std::unique_ptr<db::SqliteDriver> m_db;
    bool m_done = false;
};

// One prepared INSERT of a table's named columns. Values are bound in the
// order of the columns with add(); row() writes them and starts a new row.
class Insert {
public:
    Insert(db::Driver &db, const char *table, std::initializer_list<const char *> columns);
    // Every column of the table in its declared order (the automatic key left
    // to the database).
    Insert(db::Driver &db, const char *table);
    ~Insert();
    Insert(const Insert &) = delete;
    Insert &operator=(const Insert &) = delete;

    Insert &null();
    Insert &nulls(int n);                 // n columns left empty
    Insert &add(std::nullptr_t) { return null(); }
    Insert &add(const char *utf8) { return utf8 ? add(std::string_view(utf8)) : null(); }
    Insert &add(std::string_view utf8);
    Insert &add(const QString &text);
    Insert &add(int v) { return add(qint64(v)); }
    Insert &add(qint64 v);
    Insert &add(double v);
    Insert &add(bool yes) { return add(qint64(yes ? 1 : 0)); }
    Insert &add(db::Money m) { return add(qint64(m.raw())); }
    Insert &add(std::optional<db::Money> m) { return m ? add(*m) : null(); }
    Insert &add(const QDate &d);          // null when invalid
    Insert &add(const QDateTime &dt);     // null when invalid
    // Writes the row; throws DbError when a column was left unbound or the
    // engine refuses the row.
    void row();
    qint64 lastRowId() const;

private:
    void prepare(const char *table, const QStringList &columns);
    int slot();   // next parameter number; throws when the row is full

    db::Driver &m_db;
    std::unique_ptr<db::Statement> m_st;
    int m_columns = 0;
    int m_next = 0;
    std::vector<std::string> m_text;
};

} // namespace dbfile::detail
