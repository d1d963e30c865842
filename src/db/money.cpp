#include "db/money.h"
#include <cmath>

namespace db {

Money Money::fromDouble(double v)
{
    return fromRaw(static_cast<int64_t>(std::llround(v * Scale)));
}

std::optional<Money> Money::parse(const QString &text)
{
    QString s = text.trimmed();
    s.remove(QLatin1Char(','));
    s.remove(QChar(0xFFE5)); // full-width yuan sign
    s.remove(QChar(0x00A5));
    if (s.isEmpty())
        return std::nullopt;
    bool neg = false;
    int i = 0;
    if (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+')) {
        neg = s[0] == QLatin1Char('-');
        i = 1;
    }
    int64_t whole = 0, frac = 0;
    int fracDigits = 0;
    bool any = false, dot = false;
    int roundDigit = -1;
    for (; i < s.size(); ++i) {
        QChar c = s[i];
        if (c == QLatin1Char('.') && !dot) { dot = true; continue; }
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
        any = true;
        int d = c.unicode() - '0';
        if (!dot) {
            if (whole > (INT64_MAX / Scale - 9) / 10)
                return std::nullopt;
            whole = whole * 10 + d;
        } else if (fracDigits < 4) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else if (roundDigit < 0) {
            roundDigit = d;
        }
    }
    if (!any)
        return std::nullopt;
    while (fracDigits < 4) { frac *= 10; ++fracDigits; }
    int64_t raw = whole * Scale + frac + (roundDigit >= 5 ? 1 : 0);
    return fromRaw(neg ? -raw : raw);
}

QString Money::toPlainString() const
{
    int64_t a = m_raw < 0 ? -m_raw : m_raw;
    QString s = QString::number(a / Scale);
    int64_t f = a % Scale;
    if (f) {
        QString fs = QString::number(f).rightJustified(4, QLatin1Char('0'));
        while (fs.endsWith(QLatin1Char('0'))) fs.chop(1);
        s += QLatin1Char('.') + fs;
    }
    return m_raw < 0 ? QLatin1Char('-') + s : s;
}

QString Money::toString() const
{
    int64_t a = m_raw < 0 ? -m_raw : m_raw;
    QString s = QString::number(a / Scale);
    QString fs = QString::number(a % Scale).rightJustified(4, QLatin1Char('0'));
    if (fs.endsWith(QLatin1String("00")))
        fs.chop(2);
    else if (fs.endsWith(QLatin1Char('0')))
        fs.chop(1);
    s += QLatin1Char('.') + fs;
    return m_raw < 0 ? QLatin1Char('-') + s : s;
}

Money operator*(Money a, Money b)
{
    // (a/10^4)*(b/10^4) in ten-thousandths = a*b/10^4, rounded half away from zero.
    __int128 p = static_cast<__int128>(a.m_raw) * b.m_raw;
    __int128 q = p / Money::Scale, r = p % Money::Scale;
    if (r < 0) r = -r;
    if (r * 2 >= Money::Scale)
        q += (p < 0 ? -1 : 1);
    return Money::fromRaw(static_cast<int64_t>(q));
}

Money Money::times(double factor) const
{
    return fromRaw(static_cast<int64_t>(std::llround(double(m_raw) * factor)));
}

} // namespace db
