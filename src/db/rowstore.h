#pragma once
#include <QVariant>
#include <cstdint>
#include <memory>
#include <vector>

namespace db {

class Statement;

// Rows of a static cursor packed into large chunks: per cell one tag byte and
// a varint, 8-byte real or length-prefixed UTF-8 text. Reading a cell walks
// the row's cells, which is cheap for the few rows a grid paints.
class RowStore {
public:
    explicit RowStore(int columns) : m_cols(columns) {}

    int size() const { return int(m_rows.size()); }
    int columns() const { return m_cols; }

    void appendFromStatement(const Statement &st);
    void append(const std::vector<QVariant> &values);
    void replace(int row, const std::vector<QVariant> &values);
    void replaceFromStatement(int row, const Statement &st);
    void remove(int row);

    // Stored value: null QVariant, qint64, double or QString.
    QVariant value(int row, int col) const;
    bool isNull(int row, int col) const;
    // Numeric value of a cell without building a QVariant (text -> 0).
    bool number(int row, int col, qint64 *i, double *d, bool *isReal) const;
    qint64 integer(int row, int col) const;

    size_t bytesUsed() const { return m_bytes; }
    // Memory held: the chunks and the row index.
    size_t memoryUsed() const { return m_allocated + m_rows.capacity() * sizeof(const char *); }

private:
    const char *cell(int row, int col) const;
    // A record is written straight into the current chunk: room() makes space
    // for n more bytes (moving the record begun so far to a new chunk when it
    // does not fit), advance() moves past what was written.
    char *room(size_t n)
    {
        if (m_chunkUsed + n <= m_chunkSize) [[likely]]
            return m_chunks.back().get() + m_chunkUsed;
        return grow(n);
    }
    char *grow(size_t n);
    void advance(const char *end) { m_chunkUsed = size_t(end - m_chunks.back().get()); }
    const char *finishRecord();
    const char *encodeStatement(const Statement &st);
    const char *encode(const std::vector<QVariant> &values);

    int m_cols;
    std::vector<const char *> m_rows;
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_chunkUsed = 0, m_chunkSize = 0;   // write position and size of the last chunk
    size_t m_recStart = 0;                     // start of the record being written
    size_t m_bytes = 0, m_allocated = 0;
};

} // namespace db
