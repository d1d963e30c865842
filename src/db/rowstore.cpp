#include "db/rowstore.h"
#include <algorithm>
#include <cstring>
#include "db/driver.h"

namespace db {
namespace {

enum Tag : unsigned char { TNull = 0, TInt = 1, TReal = 2, TText = 3 };
constexpr size_t ChunkSize = 1 << 20;

constexpr size_t MaxVarint = 10;

inline char *putVarint(char *p, uint64_t v)
{
    while (v >= 0x80) {
        *p++ = char((v & 0x7f) | 0x80);
        v >>= 7;
    }
    *p++ = char(v);
    return p;
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

inline char *putInt(char *p, int64_t v)
{
    *p++ = char(TInt);
    return putVarint(p, zigzag(v));
}

inline char *putReal(char *p, double d)
{
    *p++ = char(TReal);
    std::memcpy(p, &d, 8);
    return p + 8;
}

inline char *putText(char *p, const char *t, size_t n)
{
    *p++ = char(TText);
    p = putVarint(p, n);
    if (n)
        std::memcpy(p, t, n);
    return p + n;
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

char *RowStore::grow(size_t n)
{
    // A new chunk; the unused tail of the previous one is the only waste.
    const size_t partial = m_chunkUsed - m_recStart;
    const size_t size = std::max(ChunkSize, 2 * (partial + n));
    std::unique_ptr<char[]> chunk(new char[size]);
    if (partial)
        std::memcpy(chunk.get(), m_chunks.back().get() + m_recStart, partial);
    m_chunks.push_back(std::move(chunk));
    m_chunkSize = size;
    m_allocated += size;
    m_recStart = 0;
    m_chunkUsed = partial;
    return m_chunks.back().get() + m_chunkUsed;
}

const char *RowStore::finishRecord()
{
    if (m_chunks.empty())   // a row of no columns before any other
        grow(0);
    const char *rec = m_chunks.back().get() + m_recStart;
    m_bytes += m_chunkUsed - m_recStart;
    m_recStart = m_chunkUsed;
    return rec;
}

const char *RowStore::encodeStatement(const Statement &st)
{
    // The write position lives in locals for the whole row: this loop runs
    // for every cell of every row a list opens.
    if (m_chunks.empty())
        grow(0);
    char *base = m_chunks.back().get();
    char *p = base + m_chunkUsed;
    char *end = base + m_chunkSize;
    const auto ensure = [&](size_t n) {
        if (size_t(end - p) < n) [[unlikely]] {
            m_chunkUsed = size_t(p - base);
            p = grow(n);
            base = m_chunks.back().get();
            end = base + m_chunkSize;
        }
    };
    for (int c = 0; c < m_cols; ++c) {
        const Cell cell = st.cell(c);
        switch (cell.type) {
        case Cell::Null:
            ensure(1);
            *p++ = char(TNull);
            break;
        case Cell::Integer:
            ensure(1 + MaxVarint);
            p = putInt(p, cell.integer);
            break;
        case Cell::Real:
            ensure(9);
            p = putReal(p, cell.real);
            break;
        case Cell::Text: {
            const auto n = size_t(cell.size);
            ensure(1 + MaxVarint + n);
            p = putText(p, cell.text ? cell.text : "", n);
        }
        }
    }
    m_chunkUsed = size_t(p - base);
    return finishRecord();
}

const char *RowStore::encode(const std::vector<QVariant> &values)
{
    for (int c = 0; c < m_cols; ++c) {
        const QVariant &v = c < int(values.size()) ? values[size_t(c)] : QVariant();
        if (v.isNull() || !v.isValid()) {
            char *p = room(1);
            *p = char(TNull);
            advance(p + 1);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::LongLong: case QMetaType::Int: case QMetaType::ULongLong: case QMetaType::UInt:
        case QMetaType::Bool:
            advance(putInt(room(1 + MaxVarint), v.toLongLong()));
            break;
        case QMetaType::Double: case QMetaType::Float:
            advance(putReal(room(9), v.toDouble()));
            break;
        default: {
            const QByteArray b = v.toString().toUtf8();
            advance(putText(room(1 + MaxVarint + size_t(b.size())), b.constData(), size_t(b.size())));
        }
        }
    }
    return finishRecord();
}

void RowStore::appendFromStatement(const Statement &st)
{
    m_rows.push_back(encodeStatement(st));
}

void RowStore::append(const std::vector<QVariant> &values)
{
    m_rows.push_back(encode(values));
}

void RowStore::replace(int row, const std::vector<QVariant> &values)
{
    m_rows[size_t(row)] = encode(values);
}

void RowStore::replaceFromStatement(int row, const Statement &st)
{
    m_rows[size_t(row)] = encodeStatement(st);
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
