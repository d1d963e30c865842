#include "grid/xlswriter.h"
#include "db/dates.h"
#include "grid/tablesource.h"
#include "grid/titlebands.h"
#include <QHash>
#include <QVector>
#include <unordered_map>
#include <QtEndian>
#include <cstdio>
#include <cstring>
#include <optional>

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
constexpr quint16 XfDate = 18;
constexpr quint16 XfDateTime = 19;
constexpr quint16 XfFooter = 20;
constexpr quint16 XfFooterMoney = 21;

// Number formats of our own (164 is the first index a workbook may define),
// each showing what the grid shows: money with two decimals and the third
// and fourth only where they are set, dates without leading zeros, and the
// time only where the value has one.
constexpr quint16 FmtMoney = 164;
constexpr quint16 FmtDate = 165;
constexpr quint16 FmtDateTime = 166;

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

struct XfSpec {
    quint16 font = 0;
    quint16 format = 0;
    bool style = false;
    quint8 align = 0x20;       // bottom, general
    bool topLine = false;      // a thin black line above the cell
};

QByteArray xf(const XfSpec &x)
{
    Bytes b;
    b.u16(x.font);
    b.u16(x.format);
    b.u16(x.style ? 0xFFF5 : 0x0001);
    b.u8(x.align);
    b.u8(0);
    b.u8(0);
    b.u8(x.style ? 0xF4 : 0xFC);
    b.u32(x.topLine ? 0x0100 : 0);   // top line style: thin
    b.u32(x.topLine ? 8 : 0);        // top line colour: black
    b.u16(0x20C0);
    return b.data;
}

QByteArray numberFormat(quint16 index, const char *code)
{
    Bytes b;
    b.u16(index);
    b.u16(quint16(std::strlen(code)));
    b.u8(0);
    b.data.append(code);
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
    g.record(0x041E, numberFormat(FmtMoney, "0.00##"));
    g.record(0x041E, numberFormat(FmtDate, "yyyy-m-d"));
    g.record(0x041E, numberFormat(FmtDateTime, "yyyy-m-d h:mm:ss"));
    for (int i = 0; i < 15; ++i)
        g.record(0x00E0, xf({.style = true}));
    // In the order of the Xf constants.
    g.record(0x00E0, xf({}));
    g.record(0x00E0, xf({.font = 1, .align = 0x2A}));   // bold, centred, wrapped
    g.record(0x00E0, xf({.format = FmtMoney}));
    g.record(0x00E0, xf({.format = FmtDate, .align = 0x21}));       // left, as in the grid
    g.record(0x00E0, xf({.format = FmtDateTime, .align = 0x21}));
    g.record(0x00E0, xf({.font = 1, .topLine = true}));
    g.record(0x00E0, xf({.font = 1, .format = FmtMoney, .topLine = true}));
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

void blank(Bytes &b, int row, int col, quint16 xfIndex)
{
    char rec[10];
    cellHead(rec, 0x0201, 6, row, col, xfIndex);
    b.data.append(rec, sizeof rec);
}

QString limited(const QString &s)
{
    return s.size() > MaxStringChars ? s.left(MaxStringChars) : s;
}

// A date as the grid shows it ("2025-10-11", "2025-10-11 8:05:00") as a
// day count from 1899-12-30 with the time as its fraction, and the format
// that shows it the same way. Nothing for other text, nor for days before
// March 1900, where Excel counts a 29 February that never was.
std::optional<std::pair<double, quint16>> dateSerial(const QString &text)
{
    static const QDate epoch(1899, 12, 30);
    const std::optional<QDateTime> dt = db::parseDateTime(text);
    if (!dt || dt->date() < QDate(1900, 3, 1))
        return std::nullopt;
    const int secs = dt->time().msecsSinceStartOfDay() / 1000;
    return std::pair{double(epoch.daysTo(dt->date())) + secs / 86400.0, secs ? XfDateTime : XfDate};
}

bool isDate(db::Kind k) { return k == db::Kind::Date || k == db::Kind::DateTime; }

// Characters a number takes in its cell: at most four decimals, as shown.
int shownLength(double v)
{
    char buf[40];
    int n = std::snprintf(buf, sizeof buf, "%.4f", v);
    while (n > 0 && buf[n - 1] == '0')
        --n;
    return n;
}

} // namespace

QByteArray xlsWorkbookStream(const TableSource &source)
{
    const int cols = qMin(source.columnCount(), MaxColumns);
    const int rows = source.rowCount();
    const TitleBands bands = titleBands(source);
    const int titleRows = bands.rows;
    const int perSheet = MaxSheetRows - titleRows;
    // The footer row follows the last data row, on a sheet of its own when
    // the last one is full.
    const int footerRows = source.hasFooter() ? 1 : 0;
    const int sheetCount = qMax(1, (rows + footerRows + perSheet - 1) / perSheet);

    QVector<db::Kind> kinds(cols);
    for (int c = 0; c < cols; ++c)
        kinds[c] = source.kind(c);
    const auto numberXf = [&](int c, bool footer) {
        if (kinds[c] == db::Kind::Money)
            return footer ? XfFooterMoney : XfMoney;
        return footer ? XfFooter : XfGeneral;
    };

    StringTable sst(rows);
    QVector<QByteArray> sheets;
    for (int s = 0; s < sheetCount; ++s) {
        const int first = s * perSheet;
        const int last = qMin(rows, first + perSheet);
        const bool footerSheet = footerRows && s == sheetCount - 1;
        // The cells first: a column is made wide enough for its longest
        // number or date, which would show as "###" in a narrower one.
        Bytes b;
        b.data.reserve(64 + (last - first) * cols * 16);
        QVector<int> longest(cols, 0);
        const auto numberCell = [&](int row, int c, quint16 xfIndex, double v, int shownChars) {
            number(b, row, c, xfIndex, v);
            longest[c] = qMax(longest[c], shownChars);
        };

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
                if (isNumericKind(kinds[c])) {
                    const QVariant v = source.number(r, c);
                    if (v.isValid()) {
                        numberCell(row, c, numberXf(c, false), v.toDouble(), shownLength(v.toDouble()));
                        continue;
                    }
                }
                const QString t = source.text(r, c);
                if (t.isEmpty())
                    continue;
                if (isDate(kinds[c])) {
                    if (const auto d = dateSerial(t)) {
                        numberCell(row, c, d->second, d->first, int(t.size()));
                        continue;
                    }
                }
                labelSst(b, row, c, XfGeneral, sst.index(limited(t)));
            }
        }
        // Values, not formulas: the sums and counts the grid showed.
        if (footerSheet) {
            const int row = titleRows + last - first;
            for (int c = 0; c < cols; ++c) {
                const QString t = source.footer(c);
                bool isNumber = false;
                const double v = t.trimmed().toDouble(&isNumber);
                if (isNumber)
                    numberCell(row, c, numberXf(c, true), v, int(t.size()));
                else if (!t.isEmpty())
                    labelSst(b, row, c, XfFooter, sst.index(limited(t)));
                else
                    blank(b, row, c, XfFooter);   // the footer's line runs across
            }
        }
        Bytes head;
        head.record(0x0809, bof(0x0010));
        for (int c = 0; c < cols; ++c) {
            Bytes ci;
            ci.u16(quint16(c)); ci.u16(quint16(c));
            ci.u16(quint16(qBound(256, qMax(source.width(c) * 256 / 7, (longest[c] + 1) * 256), 255 * 256)));
            ci.u16(XfGeneral); ci.u16(0); ci.u16(0);
            head.record(0x007D, ci.data);
        }
        Bytes dim;
        dim.u32(0);
        dim.u32(quint32(titleRows + last - first + (footerSheet ? 1 : 0)));
        dim.u16(0);
        dim.u16(quint16(cols));
        dim.u16(0);
        head.record(0x0200, dim.data);
        b.data.prepend(head.data);

        // Gridlines, headings and zeros shown on every sheet; only the first
        // is selected and the one shown, or readers group the sheets.
        Bytes w2;
        w2.u16(s == 0 ? 0x06B6 : 0x00B6);
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
