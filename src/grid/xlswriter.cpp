#include "grid/xlswriter.h"
#include "grid/tablesource.h"
#include "grid/titlebands.h"
#include <QHash>
#include <QVector>
#include <unordered_map>
#include <QtEndian>
#include <cstring>

namespace grid {
namespace {

constexpr int MaxSheetRows = 65536;
constexpr int MaxColumns = 256;
constexpr int MaxRecordData = 8224;
constexpr int MaxStringChars = 32767;

// Cell formats (indices into the XF records written below).
constexpr quint16 XfGeneral = 15;
constexpr quint16 XfTitle = 16;
constexpr quint16 XfMoney = 17;

class Bytes {
public:
    QByteArray data;
    void u8(quint8 v) { data.append(char(v)); }
    void u16(quint16 v) { char b[2]; qToLittleEndian(v, b); data.append(b, 2); }
    void u32(quint32 v) { char b[4]; qToLittleEndian(v, b); data.append(b, 4); }
    void f64(double v) { quint64 u; std::memcpy(&u, &v, 8); char b[8]; qToLittleEndian(u, b); data.append(b, 8); }
    void utf16(const QString &s)
    {
        for (QChar c : s)
            u16(c.unicode());
    }
    int size() const { return int(data.size()); }
    void record(quint16 type, const QByteArray &payload)
    {
        u16(type);
        u16(quint16(payload.size()));
        data.append(payload);
    }
    // Starts a record whose length is patched by end().
    int begin(quint16 type)
    {
        u16(type);
        u16(0);
        return size();
    }
    void end(int start) { qToLittleEndian(quint16(size() - start), data.data() + start - 2); }
};

QByteArray shortUnicode(const QString &s)   // ShortXLUnicodeString, 16-bit characters
{
    Bytes b;
    const QString t = s.left(255);
    b.u8(quint8(t.size()));
    b.u8(1);
    b.utf16(t);
    return b.data;
}

bool isLatin1(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

// The shared string table: SST split into CONTINUE records at the record
// size limit, a string's characters carried over with a fresh option byte,
// and the EXTSST index of bucket positions that Excel reads.
class StringTable {
public:
    explicit StringTable(int expected) { m_index.reserve(size_t(expected)); }

    quint32 index(const QString &s)
    {
        ++m_total;
        const auto [it, added] = m_index.try_emplace(s, quint32(m_strings.size()));
        if (added)
            m_strings << s;
        return it->second;
    }

    // Appends SST and EXTSST to the stream; `out` is the stream so far, so
    // that the positions in EXTSST are absolute.
    void write(Bytes &out) const
    {
        const int bucket = qMax(8, int(m_strings.size() / 128 + 1));
        QVector<QPair<quint32, quint16>> buckets;

        int rec = out.begin(0x00FC);
        int recHeader = rec - 4;
        out.u32(m_total);
        out.u32(quint32(m_strings.size()));
        const auto room = [&] { return MaxRecordData - (out.size() - rec); };
        const auto next = [&] {
            out.end(rec);
            rec = out.begin(0x003C);
            recHeader = rec - 4;
        };
        for (int i = 0; i < m_strings.size(); ++i) {
            const QString &s = m_strings[i];
            const bool compressed = isLatin1(s);
            const int charBytes = compressed ? 1 : 2;
            if (room() < 3 + charBytes)   // the string header is never split
                next();
            if (i % bucket == 0)
                buckets.append({quint32(out.size()), quint16(out.size() - recHeader)});
            out.u16(quint16(s.size()));
            out.u8(compressed ? 0 : 1);
            int pos = 0;
            for (;;) {
                const int n = qMin(int(s.size()) - pos, room() / charBytes);
                for (int k = 0; k < n; ++k) {
                    const ushort c = s.at(pos + k).unicode();
                    if (compressed)
                        out.u8(quint8(c));
                    else
                        out.u16(c);
                }
                pos += n;
                if (pos >= s.size())
                    break;
                next();
                out.u8(compressed ? 0 : 1);
            }
        }
        out.end(rec);

        Bytes ext;
        ext.u16(quint16(bucket));
        for (const auto &b : buckets) {
            ext.u32(b.first);
            ext.u16(b.second);
            ext.u16(0);
        }
        out.record(0x00FF, ext.data);
    }

private:
    struct Hash {
        size_t operator()(const QString &s) const { return qHash(s); }
    };
    std::unordered_map<QString, quint32, Hash> m_index;
    QStringList m_strings;
    quint32 m_total = 0;
};

QByteArray bof(quint16 kind)
{
    Bytes b;
    b.u16(0x0600);   // BIFF8
    b.u16(kind);     // 0x0005 workbook globals, 0x0010 worksheet
    b.u16(0x0DBB);
    b.u16(0x07CC);
    b.u32(0);
    b.u32(0x00000006);
    return b.data;
}

QByteArray font(bool bold)
{
    Bytes b;
    b.u16(200);               // 10 pt
    b.u16(0);
    b.u16(0x7FFF);
    b.u16(bold ? 700 : 400);
    b.u16(0);
    b.u8(0);
    b.u8(0);
    b.u8(134);                // GB2312 character set
    b.u8(0);
    b.data.append(shortUnicode(QStringLiteral("宋体")));
    return b.data;
}

QByteArray xf(quint16 fontIndex, quint16 format, bool style, quint8 align)
{
    Bytes b;
    b.u16(fontIndex);
    b.u16(format);
    b.u16(style ? 0xFFF5 : 0x0001);
    b.u8(align);
    b.u8(0);
    b.u8(0);
    b.u8(style ? 0xF4 : 0xFC);
    b.u32(0);
    b.u32(0);
    b.u16(0x20C0);
    return b.data;
}

void writeGlobalsHead(Bytes &g)
{
    g.record(0x0809, bof(0x0005));
    g.record(0x0042, QByteArray("\xB0\x04", 2));   // code page 1200: UTF-16
    Bytes w;
    w.u16(0); w.u16(0); w.u16(0x3A98); w.u16(0x2328);
    w.u16(0x0038); w.u16(0); w.u16(0); w.u16(1); w.u16(0x0258);
    g.record(0x003D, w.data);
    // Font 4 does not exist in BIFF: five records give indices 0-3 and 5.
    g.record(0x0031, font(false));
    g.record(0x0031, font(true));
    g.record(0x0031, font(false));
    g.record(0x0031, font(false));
    g.record(0x0031, font(false));
    g.record(0x00E0, xf(0, 0, true, 0x20));
    for (int i = 1; i < 15; ++i)
        g.record(0x00E0, xf(0, 0, true, 0x20));
    g.record(0x00E0, xf(0, 0, false, 0x20));             // 15 general
    g.record(0x00E0, xf(1, 0, false, 0x2A));             // 16 title: bold, centred, wrapped
    g.record(0x00E0, xf(0, 2, false, 0x20));             // 17 money: "0.00"
    g.record(0x0293, QByteArray("\x00\x80\x00\xFF", 4)); // the Normal style
}

// Cell records are the bulk of a workbook: each goes in with one append.
void cellHead(char *p, quint16 type, quint16 length, int row, int col, quint16 xfIndex)
{
    qToLittleEndian(type, p);
    qToLittleEndian(length, p + 2);
    qToLittleEndian(quint16(row), p + 4);
    qToLittleEndian(quint16(col), p + 6);
    qToLittleEndian(xfIndex, p + 8);
}

void labelSst(Bytes &b, int row, int col, quint16 xfIndex, quint32 sst)
{
    char rec[14];
    cellHead(rec, 0x00FD, 10, row, col, xfIndex);
    qToLittleEndian(sst, rec + 10);
    b.data.append(rec, sizeof rec);
}

void number(Bytes &b, int row, int col, quint16 xfIndex, double v)
{
    char rec[18];
    cellHead(rec, 0x0203, 14, row, col, xfIndex);
    quint64 u;
    std::memcpy(&u, &v, 8);
    qToLittleEndian(u, rec + 10);
    b.data.append(rec, sizeof rec);
}

QString limited(const QString &s)
{
    return s.size() > MaxStringChars ? s.left(MaxStringChars) : s;
}

} // namespace

QByteArray xlsWorkbookStream(const TableSource &source)
{
    const int cols = qMin(source.columnCount(), MaxColumns);
    const int rows = source.rowCount();
    const TitleBands bands = titleBands(source);
    const int titleRows = bands.rows;
    const int perSheet = MaxSheetRows - titleRows;
    const int sheetCount = qMax(1, (rows + perSheet - 1) / perSheet);

    QVector<quint16> cellXf(cols);
    QVector<bool> numeric(cols);
    for (int c = 0; c < cols; ++c) {
        const db::Kind k = source.kind(c);
        cellXf[c] = k == db::Kind::Money ? XfMoney : XfGeneral;
        numeric[c] = k == db::Kind::Money || k == db::Kind::Integer || k == db::Kind::Float;
    }

    StringTable sst(rows);
    QVector<QByteArray> sheets;
    for (int s = 0; s < sheetCount; ++s) {
        const int first = s * perSheet;
        const int last = qMin(rows, first + perSheet);
        Bytes b;
        b.data.reserve(64 + (last - first) * cols * 16);
        b.record(0x0809, bof(0x0010));
        for (int c = 0; c < cols; ++c) {
            Bytes ci;
            ci.u16(quint16(c)); ci.u16(quint16(c));
            ci.u16(quint16(qBound(256, source.width(c) * 256 / 7, 255 * 256)));
            ci.u16(XfGeneral); ci.u16(0); ci.u16(0);
            b.record(0x007D, ci.data);
        }
        Bytes dim;
        dim.u32(0);
        dim.u32(quint32(titleRows + last - first));
        dim.u16(0);
        dim.u16(quint16(cols));
        dim.u16(0);
        b.record(0x0200, dim.data);

        QVector<TitleCell> merged;
        for (const TitleCell &t : bands.cells) {
            if (t.col >= cols)
                continue;
            labelSst(b, t.row, t.col, XfTitle, sst.index(limited(t.text)));
            if (t.rowSpan > 1 || t.colSpan > 1)
                merged << t;
        }
        for (int r = first; r < last; ++r) {
            const int row = titleRows + r - first;
            for (int c = 0; c < cols; ++c) {
                if (numeric[c]) {
                    const QVariant v = source.number(r, c);
                    if (v.isValid()) {
                        number(b, row, c, cellXf[c], v.toDouble());
                        continue;
                    }
                }
                const QString t = source.text(r, c);
                if (!t.isEmpty())
                    labelSst(b, row, c, XfGeneral, sst.index(limited(t)));
            }
        }
        Bytes w2;
        w2.u16(s == 0 ? 0x06B6 : 0x06B0);   // gridlines, headings, zeros; first sheet selected
        w2.u16(0); w2.u16(0); w2.u16(0x40); w2.u16(0); w2.u16(0); w2.u16(0); w2.u32(0);
        b.record(0x023E, w2.data);
        for (int i = 0; i < merged.size(); i += 1026) {
            Bytes m;
            const int n = qMin(1026, int(merged.size()) - i);
            m.u16(quint16(n));
            for (int k = i; k < i + n; ++k) {
                const TitleCell &t = merged[k];
                m.u16(quint16(t.row)); m.u16(quint16(t.row + t.rowSpan - 1));
                m.u16(quint16(t.col)); m.u16(quint16(qMin(cols, t.col + t.colSpan) - 1));
            }
            b.record(0x00E5, m.data);
        }
        b.record(0x000A, {});
        sheets << b.data;
    }

    Bytes g;
    writeGlobalsHead(g);
    QVector<int> sheetPos;
    for (int s = 0; s < sheetCount; ++s) {
        sheetPos << g.size() + 4;
        Bytes bs;
        bs.u32(0);   // patched below
        bs.u8(0);
        bs.u8(0);
        bs.data.append(shortUnicode(QStringLiteral("Sheet%1").arg(s + 1)));
        g.record(0x0085, bs.data);
    }
    sst.write(g);
    g.record(0x000A, {});

    qint64 offset = g.size();
    for (int s = 0; s < sheetCount; ++s) {
        qToLittleEndian(quint32(offset), g.data.data() + sheetPos[s]);
        offset += sheets[s].size();
    }
    QByteArray out;
    out.reserve(offset);
    out += g.data;
    for (QByteArray &s : sheets) {
        out += s;
        s.clear();
    }
    return out;
}

} // namespace grid
