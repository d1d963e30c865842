#pragma once
#include "db/dates.h"
#include <QDateTime>
#include <QString>

namespace db {

// The one way a value enters SQL text: single quotes are doubled, so names
// such as O'Brien keep the statement intact. The caller writes the
// surrounding quotes, keeping the SQL texts' own shape.
inline QString q(const QString &value)
{
    QString s = value;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return s;
}

// Quoted literal: 'value' with quotes doubled.
inline QString lit(const QString &value)
{
    return QLatin1Char('\'') + q(value) + QLatin1Char('\'');
}

// A date for SQL text: cdate('Y-M-D H:M:S'), or null for no date.
inline QString dateLit(const QDateTime &dt)
{
    return dt.isValid() ? QStringLiteral("cdate('%1')").arg(shortDateTime(dt)) : QStringLiteral("null");
}

} // namespace db
