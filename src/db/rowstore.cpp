#include "db/rowstore.h"
#include <cstring>
#include <sqlite3.h>

namespace db {
namespace {

enum Tag : unsigned char { TNull = 0, TInt = 1, TReal = 2, TText = 3 };
constexpr size_t ChunkSize = 1 << 20;

inline void putVarint(std::string &s, uint64_t v)
{
    while (v >= 0x80) {
        s.push_back(char((v & 0x7f) | 0x80));
        v >>= 7;
    }
    s.push_back(char(v));
}

inline uint64_t getVarint(const char *&p)
{
    uint64_t v = 0;
    int shift = 0;
    for (;;) {
        const auto b = static_cast<unsigned char>(*p++);
        v |= uint64_t(b & 0x7f) << shift;
        if (!(b & 0x80))
            return v;
        shift += 7;
    }
}

inline uint64_t zigzag(int64_t v) { return (uint64_t(v) << 1) ^ uint64_t(v >> 63); }
inline int64_t unzigzag(uint64_t v) { return int64_t(v >> 1) ^ -int64_t(v & 1); }

inline void putInt(std::string &s, int64_t v)
{
    s.push_back(char(TInt));
    putVarint(s, zigzag(v));
}

inline void putReal(std::string &s, double d)
{
    s.push_back(char(TReal));
    char b[8];
    std::memcpy(b, &d, 8);
    s.append(b, 8);
}

inline void putText(std::string &s, const char *t, size_t n)
{
    s.push_back(char(TText));
    putVarint(s, n);
    s.append(t, n);
}

inline void skip(const char *&p)
{
    switch (static_cast<unsigned char>(*p++)) {
    case TNull: break;
    case TInt: getVarint(p); break;
    case TReal: p += 8; break;
    default: {
        const uint64_t n = getVarint(p);
        p += n;
    }
    }
}

} // namespace

const char *RowStore::store(const std::string &rec)
{
    if (m_chunks.empty() || m_chunkUsed + rec.size() > m_chunkSize) {
        // A new chunk; the unused tail of the previous one is the only waste.
        m_chunkSize = std::max(ChunkSize, rec.size());
        m_chunks.emplace_back(new char[m_chunkSize]);
        m_chunkUsed = 0;
    }
    char *dst = m_chunks.back().get() + m_chunkUsed;
    std::memcpy(dst, rec.data(), rec.size());
    m_chunkUsed += rec.size();
    m_bytes += rec.size();
    return dst;
}

void RowStore::encodeStatement(sqlite3_stmt *st)
{
    m_scratch.clear();
    for (int c = 0; c < m_cols; ++c) {
        switch (sqlite3_column_type(st, c)) {
        case SQLITE_NULL: m_scratch.push_back(char(TNull)); break;
        case SQLITE_INTEGER: putInt(m_scratch, sqlite3_column_int64(st, c)); break;
        case SQLITE_FLOAT: putReal(m_scratch, sqlite3_column_double(st, c)); break;
        default: {
            const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            putText(m_scratch, t ? t : "", size_t(sqlite3_column_bytes(st, c)));
        }
        }
    }
}

void RowStore::encode(const std::vector<QVariant> &values)
{
    m_scratch.clear();
    for (int c = 0; c < m_cols; ++c) {
        const QVariant &v = c < int(values.size()) ? values[size_t(c)] : QVariant();
        if (v.isNull() || !v.isValid()) {
            m_scratch.push_back(char(TNull));
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::LongLong: case QMetaType::Int: case QMetaType::ULongLong: case QMetaType::UInt:
        case QMetaType::Bool:
            putInt(m_scratch, v.toLongLong());
            break;
        case QMetaType::Double: case QMetaType::Float:
            putReal(m_scratch, v.toDouble());
            break;
        default: {
            const QByteArray b = v.toString().toUtf8();
            putText(m_scratch, b.constData(), size_t(b.size()));
        }
        }
    }
}

void RowStore::appendFromStatement(sqlite3_stmt *st)
{
    encodeStatement(st);
    m_rows.push_back(store(m_scratch));
}

void RowStore::append(const std::vector<QVariant> &values)
{
    encode(values);
    m_rows.push_back(store(m_scratch));
}

void RowStore::replace(int row, const std::vector<QVariant> &values)
{
    encode(values);
    m_rows[size_t(row)] = store(m_scratch);
}

void RowStore::replaceFromStatement(int row, sqlite3_stmt *st)
{
    encodeStatement(st);
    m_rows[size_t(row)] = store(m_scratch);
}

void RowStore::remove(int row)
{
    m_rows.erase(m_rows.begin() + row);
}

const char *RowStore::cell(int row, int col) const
{
    const char *p = m_rows[size_t(row)];
    for (int c = 0; c < col; ++c)
        skip(p);
    return p;
}

QVariant RowStore::value(int row, int col) const
{
    const char *p = cell(row, col);
    switch (static_cast<unsigned char>(*p++)) {
    case TNull: return {};
    case TInt: return QVariant(qint64(unzigzag(getVarint(p))));
    case TReal: {
        double d;
        std::memcpy(&d, p, 8);
        return QVariant(d);
    }
    default: {
        const uint64_t n = getVarint(p);
        return QVariant(QString::fromUtf8(p, qsizetype(n)));
    }
    }
}

bool RowStore::isNull(int row, int col) const
{
    return static_cast<unsigned char>(*cell(row, col)) == TNull;
}

bool RowStore::number(int row, int col, qint64 *i, double *d, bool *isReal) const
{
    const char *p = cell(row, col);
    switch (static_cast<unsigned char>(*p++)) {
    case TInt: *i = unzigzag(getVarint(p)); *isReal = false; return true;
    case TReal: std::memcpy(d, p, 8); *isReal = true; return true;
    default: return false;
    }
}

qint64 RowStore::integer(int row, int col) const
{
    const char *p = cell(row, col);
    if (static_cast<unsigned char>(*p++) != TInt)
        return 0;
    return unzigzag(getVarint(p));
}

} // namespace db
