#pragma once
#include <QVariant>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace db {

// Rows of a static cursor packed into large chunks: per cell one tag byte and
// a varint, 8-byte real or length-prefixed UTF-8 text. Reading a cell walks
// the row's cells, which is cheap for the few rows a grid paints.
class RowStore {
public:
    explicit RowStore(int columns) : m_cols(columns) {}

    int size() const { return int(m_rows.size()); }
    int columns() const { return m_cols; }

    void appendFromStatement(sqlite3_stmt *st);
    void append(const std::vector<QVariant> &values);
    void replace(int row, const std::vector<QVariant> &values);
    void replaceFromStatement(int row, sqlite3_stmt *st);
    void remove(int row);

    // Stored value: null QVariant, qint64, double or QString.
    QVariant value(int row, int col) const;
    bool isNull(int row, int col) const;
    // Numeric value of a cell without building a QVariant (text -> 0).
    bool number(int row, int col, qint64 *i, double *d, bool *isReal) const;
    qint64 integer(int row, int col) const;

    size_t bytesUsed() const { return m_bytes; }

private:
    const char *store(const std::string &rec);
    const char *cell(int row, int col) const;
    void encodeStatement(sqlite3_stmt *st);
    void encode(const std::vector<QVariant> &values);

    int m_cols;
    std::vector<const char *> m_rows;
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_chunkUsed = 0, m_chunkSize = 0;
    size_t m_bytes = 0;
    std::string m_scratch;
};

} // namespace db
