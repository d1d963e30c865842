#include "goods/rules.h"
#include "db/query.h"
#include "db/quote.h"
#include "db/text.h"

namespace goods {

QString routeText(const QString &origin, const QString &destination)
{
    return origin + S("-") + destination;
}

void setRoute(db::Query &row)
{
    row.field(S("运输动态")).setAsString(routeText(row.field(S("起始地")).asString(), row.field(S("目的地")).asString()));
}

QString numberAsRead(db::Query &row, const QString &column)
{
    if (row.state() == db::Query::Insert)
        return {};
    const db::Field number = row.field(column);
    return db::Query::displayOf(number.kind(), number.oldValue());
}

void carryDispatchToOrders(db::Query &run, db::Query &dispatch, const QString &readNumber, const QString &entryRows)
{
    const QString saved = dispatch.field(S("调度单号")).asString();
    const QString number = db::q(saved);
    if (!readNumber.isEmpty() && readNumber != saved)
        run.execWith({S("update 普通货物运输单 set 调度单号='") + number + S("'"),
                      S("where 调度单号='") + db::q(readNumber) + S("'")});
    // An order detached again during the entry has 调度单号 '' and stays free.
    if (!entryRows.isEmpty())
        run.execWith({S("update 普通货物运输单 set 调度单号='") + number + S("'"),
                      S("where (rowid in (") + entryRows + S("))and(调度单号<>'')")});
    const auto text = [&](const char *f) { return db::q(dispatch.field(S(f)).asString()); };
    run.execWith({S("update 普通货物运输单 set 承运单位='") + text("承运单位") + S("',车牌号='") + text("车牌号")
                      + S("',驾驶员='") + text("驾驶员") + S("'"),
                  S("where 调度单号='") + number + S("'")});
}

QStringList columnsLentToLines()
{
    return {S("运输单号"), S("上游客户"), S("发货日期"), S("到货日期"), S("收货日期")};
}

void carryOrderToLines(db::Query &run, db::Query &order, const QString &readNumber, const QString &entryRows)
{
    QStringList sets;
    for (const QString &c : columnsLentToLines()) {
        const db::Field f = order.field(c);
        const QString value = f.kind() == db::Kind::Date || f.kind() == db::Kind::DateTime ? db::dateLit(f.asDateTime())
                                                                                              : db::lit(f.asString());
        sets << c + S("=") + value;
    }
    QStringList owners;
    if (!readNumber.isEmpty())
        owners << S("(运输单号=") + db::lit(readNumber) + S(")");
    if (!entryRows.isEmpty())
        owners << S("(rowid in (") + entryRows + S("))");
    if (!owners.isEmpty())
        run.execWith({S("update 普通货物运输单明细 set ") + sets.join(QLatin1Char(',')), S("where ") + owners.join(S("or"))});
}

} // namespace goods
