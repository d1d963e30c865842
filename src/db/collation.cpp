#include "db/collation.h"
#include <QList>
#include <QString>
#include <sqlite3.h>
#include <vector>

namespace db {
namespace {

const char *const OrderText =
#include "db/pinyinorder.inc"
    ;

// Weight of a code point: control characters first, then the ranked
// characters in their order, then everything else by code point.
class Weights {
public:
    Weights() : m_bmp(0x10000, 0)
    {
        const QString order = QString::fromUtf8(OrderText).remove(QLatin1Char('\n'));
        const auto points = order.toUcs4();
        m_unranked = Ranked + char32_t(points.size());
        for (char32_t c = 0; c < 0x10000; ++c)
            m_bmp[c] = c < Ranked ? c : m_unranked + c;
        char32_t rank = Ranked;
        for (const auto c : points)
            if (c < 0x10000)
                m_bmp[c] = rank++;
        // Capitals weigh as their small letters: NOCASE's equality.
        for (char32_t c = 'A'; c <= 'Z'; ++c)
            m_bmp[c] = m_bmp[c + 32];
    }
    char32_t of(char32_t c) const { return c < 0x10000 ? m_bmp[c] : m_unranked + c; }

private:
    static constexpr char32_t Ranked = 0x20;
    std::vector<char32_t> m_bmp;
    char32_t m_unranked = 0;
};

const Weights &weights()
{
    static const Weights w;
    return w;
}

// Next code point of UTF-8 text; a stray byte stands for itself above the
// Unicode range, so that damaged text still sorts the same way every time.
char32_t nextPoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0 || end - p < extra)
        return 0x110000 + b;
    char32_t c = b & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0x110000 + b;
        c = (c << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return c;
}

int compareUtf8(void *, int n1, const void *s1, int n2, const void *s2)
{
    const auto *a = static_cast<const unsigned char *>(s1), *aEnd = a + n1;
    const auto *b = static_cast<const unsigned char *>(s2), *bEnd = b + n2;
    const Weights &w = weights();
    while (a < aEnd && b < bEnd) {
        // Most of a sorted list's neighbours share a long prefix.
        if (*a == *b && *a < 0x80) {
            ++a;
            ++b;
            continue;
        }
        const char32_t wa = w.of(nextPoint(a, aEnd)), wb = w.of(nextPoint(b, bEnd));
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    return (a < aEnd) - (b < bEnd);
}

} // namespace

void registerTextCollation(sqlite3 *db)
{
    weights();   // built once, before the first comparison needs it
    sqlite3_create_collation_v2(db, TextCollation, SQLITE_UTF8, nullptr, compareUtf8, nullptr);
}

int compareText(QStringView a, QStringView b)
{
    const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return compareUtf8(nullptr, int(ua.size()), ua.constData(), int(ub.size()), ub.constData());
}

} // namespace db
