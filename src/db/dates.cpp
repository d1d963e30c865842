#include "db/dates.h"
#include <QRegularExpression>

namespace db {

QString shortDate(const QDate &d)
{
    return d.isValid() ? QStringLiteral("%1-%2-%3").arg(d.year()).arg(d.month()).arg(d.day()) : QString();
}

QString shortDateTime(const QDateTime &dt)
{
    if (!dt.isValid())
        return {};
    return shortDate(dt.date()) + QLatin1Char(' ') + dt.time().toString(QStringLiteral("h:mm:ss"));
}

QString storedDateTime(const QDateTime &dt)
{
    return dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QString storedDate(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00") : QString();
}

std::optional<QDateTime> parseDateTime(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{1,4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return std::nullopt;
    QTime t(0, 0, 0);
    if (m.capturedLength(4)) {
        t = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.capturedLength(6) ? m.captured(6).toInt() : 0);
        if (!t.isValid())
            return std::nullopt;
    }
    return QDateTime(d, t);
}

bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int lastDayOfMonth(int year, int month)
{
    switch (month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return isLeapYear(year) ? 29 : 28;
    default: return 31;
    }
}

QString dayRangeCondition(const QString &column, const QDate &from, const QDate &to, const QString &fn)
{
    return QStringLiteral("(%1 between %2('%3 0:0:0') and %2('%4 23:59:59'))")
        .arg(column, fn, shortDate(from), shortDate(to));
}

} // namespace db
