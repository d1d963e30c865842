#include "accounts/ledger.h"
#include "data/payable.h"
#include "db/connection.h"
#include "db/dates.h"
#include "db/query.h"
#include "db/quote.h"
#include "db/text.h"
#include <algorithm>
#include <cmath>

namespace accounts {
namespace {

// Where one kind of document lives and how its columns read.
struct Source {
    QString table;
    QString party;       // 上游客户 or 承运单位
    QString date;        // 运输期限从 or 发货日期
    QString charge;      // SQL of the charge in stored money
    QString paid;
    QString payDate;
    QString settled;
    QString only;        // a condition every document of this kind meets
    QString number, detail, route;   // statement texts
};

QString route()
{
    return S("coalesce(起始地,'')||'-'||coalesce(目的地,'')");
}

// Distinct goods names of a goods order's lines, as one text.
QString goodsNames()
{
    return S("(select group_concat(n,'、') from (select distinct 货物名称 as n from 普通货物运输单明细 m "
             "where m.运输单号=o.运输单号 and coalesce(货物名称,'')<>'' order by n))");
}

QVector<Source> sources(Side side, Business business)
{
    QVector<Source> out;
    const bool container = business != Business::Goods, goods = business != Business::Container;
    if (side == Side::Receivable) {
        if (container)
            out.append({S("集装箱运输单"), S("上游客户"), S("运输期限从"), S("coalesce(应收运费,0)"), S("实收运费"),
                        S("收款日期"), S("帐款结清"), {}, S("运输单号"), S("箱号"), route()});
        if (goods)
            out.append({S("普通货物运输单"), S("上游客户"), S("发货日期"), S("coalesce(应收运费,0)"), S("实收运费"),
                        S("收款日期"), S("帐款结清"), {}, S("运输单号"), goodsNames(), route()});
    } else {
        if (container)
            out.append({S("集装箱运输单"), S("承运单位"), S("运输期限从"), data::carrierChargeSql(), S("实付运费"),
                        S("付款日期"), S("下游帐款结清"), S("trim(coalesce(承运单位,''))<>''"),
                        S("case when coalesce(调度单编号,'')<>'' then 调度单编号 else 运输单号 end"), S("车牌号"), route()});
        if (goods)
            out.append({S("普通货物调度单"), S("承运单位"), S("发货日期"), data::carrierChargeSql(), S("实付运费"),
                        S("付款日期"), S("帐款结清"), {}, S("调度单号"), S("车牌号"), route()});
    }
    return out;
}

QString day(const QDate &d)
{
    return QStringLiteral("'") + d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("'");
}

// The documents of one side as rows (party, d, pd, charge, paid, allow[,
// number, detail, route]) with d the document's day and pd the day its
// payment and allowance count from, both 'YYYY-MM-DD'. `party` limits them
// to one customer or carrier; only documents dated on or before `until`.
QString documents(Side side, Business business, const QString &party, const QDate &until, bool texts)
{
    QStringList parts;
    for (const Source &s : sources(side, business)) {
        const QString d = QStringLiteral("substr(coalesce(%1,操作日期),1,10)").arg(s.date);
        const QString paid = QStringLiteral("coalesce(%1,0)").arg(s.paid);
        // A settled document paid short: the rest was let off.
        const QString allow = QStringLiteral("case when %1='是' and %2<%3 then %3-%2 else 0 end").arg(s.settled, paid, s.charge);
        const QString pd = QStringLiteral("max(substr(coalesce(%1,%2),1,10),%2)").arg(s.payDate, d);
        QString sql = QStringLiteral("select %1 as party,%2 as d,%3 as pd,%4 as charge,%5 as paid,%6 as allow")
                          .arg(s.party, d, pd, s.charge, paid, allow);
        if (texts)
            sql += QStringLiteral(",%1 as number,%2 as detail,%3 as route").arg(s.number, s.detail, s.route);
        QStringList where = {d + QStringLiteral("<=") + day(until)};
        if (!s.only.isEmpty())
            where << s.only;
        if (!party.isNull())
            where << s.party + QStringLiteral("='") + db::q(party) + QStringLiteral("'");
        parts << sql + QStringLiteral(" from ") + s.table + QStringLiteral(" o where (") + where.join(QStringLiteral(")and("))
                     + QStringLiteral(")");
    }
    return parts.join(QStringLiteral(" union all "));
}

// What a document still owes at the day: its charge less what was paid and
// let off by then.
QString openAt(const QDate &d)
{
    return QStringLiteral("charge-(case when pd<=%1 then paid+allow else 0 end)").arg(day(d));
}

db::Money money(const QVariant &v)
{
    return db::Money::fromRaw(v.toLongLong());
}

QDate dayOf(const QVariant &v)
{
    return QDate::fromString(v.toString().left(10), QStringLiteral("yyyy-MM-dd"));
}

// Rows of a select read on the connection.
struct Rows {
    db::Query q;
    Rows(db::Connection &c, const QString &sql) : q(&c, QStringLiteral("q_accounts"))
    {
        q.setSql({sql});
        q.open();
    }
    int count() const { return q.recordCount(); }
    QVariant at(int r, int c) const { return q.storedValue(r, c); }
};

} // namespace

QStringList businessItems()
{
    return {S("全部"), S("集装箱"), S("普通货物")};
}

QStringList statementSql(Side side, Business business, const QString &party, const QDate &from, const QDate &to)
{
    const QString who = party.isNull() ? QString(QLatin1String("")) : party;
    const QDate before = from.addDays(-1);
    const QString f = day(from), t = day(to);
    return {QStringLiteral("select sum(") + openAt(before) + QStringLiteral(") from (")
                + documents(side, business, who, before, false) + QStringLiteral(")"),
            QStringLiteral("select d,pd,charge,paid,allow,number,detail,route from (") + documents(side, business, who, to, true)
                + QStringLiteral(") where d>=") + f + QStringLiteral(" or (pd>=") + f + QStringLiteral(" and pd<=") + t
                + QStringLiteral(")")};
}

Statement statement(db::Connection &c, Side side, Business business, const QString &party, const QDate &from,
                    const QDate &to)
{
    Statement st;
    const QStringList sql = statementSql(side, business, party, from, to);
    const QDate before = from.addDays(-1);
    Rows open(c, sql[0]);
    db::Money balance = money(open.at(0, 0));
    st.lines.append({.kind = StatementLine::Opening, .date = before, .balance = balance});

    Rows docs(c, sql[1]);
    QVector<StatementLine> events;
    for (int r = 0; r < docs.count(); ++r) {
        const QDate d = dayOf(docs.at(r, 0)), pd = dayOf(docs.at(r, 1));
        StatementLine l{.number = docs.at(r, 5).toString(), .detail = docs.at(r, 6).toString(),
                        .route = docs.at(r, 7).toString()};
        if (d >= from) {
            l.kind = StatementLine::Charge;
            l.date = d;
            l.amount = money(docs.at(r, 2));
            events.append(l);
        }
        if (pd < from || pd > to)
            continue;
        l.date = pd;
        for (const auto &[kind, col] : {std::pair{StatementLine::Payment, 3}, std::pair{StatementLine::Allowance, 4}}) {
            l.kind = kind;
            l.amount = money(docs.at(r, col));
            if (!l.amount.isZero())
                events.append(l);
        }
    }
    // Same day: charges before what settles them, then by number.
    std::stable_sort(events.begin(), events.end(), [](const StatementLine &a, const StatementLine &b) {
        if (a.date != b.date)
            return a.date < b.date;
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.number < b.number;
    });
    for (StatementLine &l : events) {
        if (l.kind == StatementLine::Charge) {
            balance += l.amount;
            st.charges += l.amount;
        } else {
            balance -= l.amount;
            (l.kind == StatementLine::Payment ? st.payments : st.allowances) += l.amount;
        }
        l.balance = balance;
        st.lines.append(l);
    }
    st.lines.append({.kind = StatementLine::Closing, .date = to, .balance = balance});
    return st;
}

QString agingSql(Side side, Business business, const QDate &asOf)
{
    const QString b30 = day(asOf.addDays(-30)), b60 = day(asOf.addDays(-60)), b90 = day(asOf.addDays(-90));
    // Only open documents reach the grouping, so the sort behind it stays small.
    const QString sql =
        QStringLiteral("select party,"
                       "sum(case when d>=%1 then o else 0 end),"
                       "sum(case when d<%1 and d>=%2 then o else 0 end),"
                       "sum(case when d<%2 and d>=%3 then o else 0 end),"
                       "sum(case when d<%3 then o else 0 end),"
                       "sum(o),count(*),min(d) from (select party,d,%4 as o from (%5)) where o<>0 group by party")
            .arg(b30, b60, b90, openAt(asOf), documents(side, business, QString(), asOf, false));
    return sql;
}

QVector<AgingRow> aging(db::Connection &c, Side side, Business business, const QDate &asOf)
{
    Rows rows(c, agingSql(side, business, asOf));
    QVector<AgingRow> out;
    out.reserve(rows.count());
    for (int r = 0; r < rows.count(); ++r) {
        AgingRow a{.party = rows.at(r, 0).toString()};
        for (int b = 0; b < 4; ++b)
            a.buckets[b] = money(rows.at(r, 1 + b));
        a.total = money(rows.at(r, 5));
        a.openDocuments = int(rows.at(r, 6).toLongLong());
        a.oldest = dayOf(rows.at(r, 7));
        out.append(a);
    }
    std::stable_sort(out.begin(), out.end(), [](const AgingRow &a, const AgingRow &b) { return a.total > b.total; });
    return out;
}

bool marginRate(db::Money margin, db::Money receivable, double &rate)
{
    if (receivable.isZero())
        return false;
    rate = std::round(double(margin.raw()) / double(receivable.raw()) * 10000.0) / 100.0;
    return true;
}

QString profitSql(Business business, const QDate &from, const QDate &to, const QString &customer, const QString &carrier)
{
    const QString range = QStringLiteral(" between '%1' and '%2 23:59:59'")
                              .arg(from.toString(QStringLiteral("yyyy-MM-dd")), to.toString(QStringLiteral("yyyy-MM-dd")));
    const QString carrierTerm =
        carrier.isEmpty() ? QString() : S(" and 承运单位='") + db::q(carrier) + QStringLiteral("'");
    QStringList parts;
    if (business != Business::Goods) {
        parts << S("select 运输期限从,'集装箱',运输单号,上游客户,承运单位,车牌号,coalesce(应收运费,0),")
                     + data::carrierChargeSql() + S(" from 集装箱运输单 where 运输期限从") + range + carrierTerm
                     + (customer.isEmpty() ? QString() : S(" and 上游客户='") + db::q(customer) + QStringLiteral("'"));
    }
    if (business != Business::Container) {
        // A dispatch earns what its orders are charged; one without a number has no orders.
        const QString orders = S("from 普通货物运输单 o where o.调度单号=dd.调度单号 and dd.调度单号<>''");
        parts << S("select 发货日期,'普通货物',调度单号,(select group_concat(n,'、') from (select distinct o.上游客户 as n ")
                     + orders + S(" order by n)),承运单位,车牌号,(select coalesce(sum(o.应收运费),0) ") + orders + QStringLiteral("),")
                     + data::carrierChargeSql() + S(" from 普通货物调度单 dd where 发货日期") + range + carrierTerm
                     + (customer.isEmpty() ? QString()
                                           : S(" and exists(select 1 ") + orders + S(" and o.上游客户='") + db::q(customer)
                                                 + QStringLiteral("')"));
    }
    return parts.join(QStringLiteral(" union all ")) + QStringLiteral(" order by 1,3");
}

QVector<ProfitRow> profit(db::Connection &c, Business business, const QDate &from, const QDate &to,
                          const QString &customer, const QString &carrier)
{
    Rows rows(c, profitSql(business, from, to, customer, carrier));
    QVector<ProfitRow> out;
    out.reserve(rows.count());
    for (int r = 0; r < rows.count(); ++r) {
        ProfitRow p{.date = dayOf(rows.at(r, 0)), .business = rows.at(r, 1).toString(), .number = rows.at(r, 2).toString(),
                    .customers = rows.at(r, 3).toString(), .carrier = rows.at(r, 4).toString(),
                    .plate = rows.at(r, 5).toString(), .receivable = money(rows.at(r, 6)),
                    .carrierCharge = money(rows.at(r, 7))};
        p.margin = p.receivable - p.carrierCharge;
        p.hasRate = marginRate(p.margin, p.receivable, p.rate);
        out.append(p);
    }
    return out;
}

QString capitals(db::Money amount)
{
    static const QString digits = S("零壹贰叁肆伍陆柒捌玖");
    static const QString places[] = {QString(), S("拾"), S("佰"), S("仟")};
    static const QString groups[] = {QString(), S("万"), S("亿"), S("万亿")};
    const bool negative = amount.raw() < 0;
    const qint64 fen = (negative ? -amount.raw() + 50 : amount.raw() + 50) / 100;
    qint64 yuan = fen / 100;
    const int jiao = int(fen / 10 % 10), cents = int(fen % 10);

    // Four digits of a group, a zero said once between digits.
    const auto group = [&](int g) {
        QString out;
        bool zero = false;
        for (int p = 3; p >= 0; --p) {
            static const int scale[] = {1, 10, 100, 1000};
            const int d = g / scale[p] % 10;
            if (d == 0) {
                zero = !out.isEmpty();
                continue;
            }
            if (zero)
                out += digits[0];
            zero = false;
            out += digits[d] + places[p];
        }
        return out;
    };
    QVector<int> parts;
    for (; yuan > 0; yuan /= 10000)
        parts.append(int(yuan % 10000));
    QString text;
    bool gap = false;
    for (int i = int(parts.size()) - 1; i >= 0; --i) {
        if (parts[i] == 0) {
            gap = !text.isEmpty();
            continue;
        }
        if (!text.isEmpty() && (gap || parts[i] < 1000))
            text += digits[0];
        gap = false;
        text += group(parts[i]) + groups[std::min(i, 3)];
    }
    if (!text.isEmpty())
        text += S("元");
    if (jiao)
        text += digits[jiao] + S("角");
    else if (cents && !text.isEmpty())
        text += digits[0];
    if (cents)
        text += digits[cents] + S("分");
    if (text.isEmpty())
        text = S("零元");
    if (!cents)
        text += S("整");
    return negative && fen ? S("负") + text : text;
}

} // namespace accounts
