#pragma once
#include <QString>

namespace data {

// ISO 6346 container numbers: owner code (three letters), category U, J or Z,
// six-digit serial and a check digit. Firms also use numbers of their own,
// which are not of this shape and are not checked.

// The check digit that belongs to the first ten characters of a number of
// the ISO shape (letters in any case); -1 when the text is not of that shape.
inline int containerCheckDigit(const QString &number)
{
    const QString n = number.toUpper();
    if (n.size() != 11)
        return -1;
    for (int i = 0; i < 11; ++i) {
        const ushort c = n[i].unicode();
        const bool ok = i < 3 ? (c >= 'A' && c <= 'Z')
                        : i == 3 ? (c == 'U' || c == 'J' || c == 'Z')
                                 : (c >= '0' && c <= '9');
        if (!ok)
            return -1;
    }
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const ushort c = n[i].unicode();
        int v = c - '0';
        if (c >= 'A') {
            v = c - 'A' + 10;
            v += (v - 1) / 10;   // letter values skip the multiples of 11
        }
        sum += v << i;
    }
    return sum % 11 % 10;
}

// The full number for an owner code with category (four letters) and a serial.
inline QString containerNumber(const QString &ownerAndCategory, int serial)
{
    const QString body = ownerAndCategory + QStringLiteral("%1").arg(serial, 6, 10, QLatin1Char('0'));
    return body + QString::number(containerCheckDigit(body + QLatin1Char('0')));
}

} // namespace data
