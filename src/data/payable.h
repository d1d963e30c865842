#pragma once
#include "db/money.h"
#include "db/query.h"
#include <QStringList>

namespace data {

// What a carrier is owed for a dispatch: the agreed amount less the costs the
// business bore, each empty cost counting as 0, subtracted in this order in
// exact money; a negative result (costs above the amount) is kept. The
// payment windows store it as 应付运费; the accounts read the same rule in
// SQL for a dispatch not yet paid, so both are made from this one list.
inline const QStringList &payableCosts()
{
    static const QStringList costs = {QStringLiteral("路桥费"), QStringLiteral("劳务费"), QStringLiteral("油费"),
                                      QStringLiteral("罚款"), QStringLiteral("其它费用")};
    return costs;
}

inline db::Money payableOf(db::Query &dispatch)
{
    db::Money m = dispatch.field(QStringLiteral("运输金额")).asMoney();
    for (const QString &cost : payableCosts())
        m -= dispatch.field(cost).asMoney();
    return m;
}

// The rule over a row of 集装箱运输单 or 普通货物调度单 in SQL (stored money).
inline QString payableSql()
{
    QString s = QStringLiteral("(coalesce(运输金额,0)");
    for (const QString &cost : payableCosts())
        s += QStringLiteral("-coalesce(") + cost + QStringLiteral(",0)");
    return s + QLatin1Char(')');
}

// The carrier's charge: 应付运费 where the payment window wrote it, else the rule.
inline QString carrierChargeSql()
{
    return QStringLiteral("coalesce(应付运费,") + payableSql() + QLatin1Char(')');
}

} // namespace data
