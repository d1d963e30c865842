#include "accounts/ledger.h"
#include "data/payable.h"
#include "db/connection.h"
#include "db/dates.h"
#include "db/query.h"
#include "db/quote.h"
#include "db/collation.h"
#include "db/text.h"
#include <algorithm>
#include <cmath>
#include <functional>
#include <future>
#include <map>
#include <memory>

namespace accounts {
namespace {

// Where one kind of document lives and how its columns read.
struct Source {
    QString table = {};
    QString party = {};      // 上游客户 or 承运单位
    QString date = {};       // 运输期限从 or 发货日期
    QString charge = {};     // SQL of the charge in stored money
    QString paid = {};
    QString payDate = {};
    QString settled = {};
    QString only = {};       // a condition every document of this kind meets
    QString number = {}, detail = {}, route = {};   // statement texts
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
        const Source order{.party = S("上游客户"), .charge = S("coalesce(应收运费,0)"), .paid = S("实收运费"),
                           .payDate = S("收款日期"), .settled = S("帐款结清"), .number = S("运输单号"), .route = route()};
        if (container) {
            Source s = order;
            s.table = S("集装箱运输单");
            s.date = S("运输期限从");
            s.detail = S("箱号");
            out.append(s);
        }
        if (goods) {
            Source s = order;
            s.table = S("普通货物运输单");
            s.date = S("发货日期");
            s.detail = goodsNames();
            out.append(s);
        }
    } else {
        const Source trip{.party = S("承运单位"), .charge = data::carrierChargeSql(), .paid = S("实付运费"),
                          .payDate = S("付款日期"), .detail = S("车牌号"), .route = route()};
        if (container) {
            Source s = trip;
            s.table = S("集装箱运输单");
            s.date = S("运输期限从");
            s.settled = S("下游帐款结清");
            s.only = S("trim(coalesce(承运单位,''))<>''");
            s.number = S("case when coalesce(调度单编号,'')<>'' then 调度单编号 else 运输单号 end");
            out.append(s);
        }
        if (goods) {
            Source s = trip;
            s.table = S("普通货物调度单");
            s.date = S("发货日期");
            s.settled = S("帐款结清");
            s.number = S("调度单号");
            out.append(s);
        }
    }
    return out;
}

QString day(const QDate &d)
{
    return QStringLiteral("'") + d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("'");
}

// The last moment of a day as stored dates compare ('YYYY-MM-DD 23:59:59').
QString dayEnd(const QDate &d)
{
    return QStringLiteral("'") + d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 23:59:59'");
}

// The document's date, or the day it was entered.
QString dateOf(const Source &s)
{
    return QStringLiteral("coalesce(%1,操作日期)").arg(s.date);
}

// The conditions of one kind of document: dated on or before the day, of
// the party when one is given.
QString where(const Source &s, const QString &party, const QDate &until)
{
    QStringList w = {dateOf(s) + QStringLiteral("<=") + dayEnd(until)};
    if (!s.only.isEmpty())
        w << s.only;
    if (!party.isNull())
        w << s.party + QStringLiteral("='") + db::q(party) + QStringLiteral("'");
    return QStringLiteral(" where (") + w.join(QStringLiteral(")and(")) + QStringLiteral(")");
}

// What a document dated on or before the day still owes at its end: all of
// it while its payment is dated later; nothing once settled short (the rest
// was let off); else the charge less the payment. An undated payment, or
// one dated before the document, counts from the document's date, which is
// on or before the day.
QString openAt(const Source &s, const QDate &d)
{
    const QString paid = QStringLiteral("coalesce(%1,0)").arg(s.paid);
    return QStringLiteral("case when %1>%2 then %3 when %4='是' and %5<%3 then 0 else %3-%5 end")
        .arg(s.payDate, dayEnd(d), s.charge, s.settled, paid);
}

// A cheap test that passes every document still open at the day's end (and
// a few more): paid in full by then leaves nothing open, and most documents
// are; it spares the open amount's evaluation for them.
QString settledBy(const Source &s, const QDate &d)
{
    return QStringLiteral("and(%1<>coalesce(%2,0) or %3>%4)").arg(s.charge, s.paid, s.payDate, dayEnd(d));
}

db::Money money(const QVariant &v)
{
    return db::Money::fromRaw(v.toLongLong());
}

// The day of a stored date ('YYYY-MM-DD…'), read by hand: a statement reads
// two per document, and the general parser is the slowest part of it.
QDate dayOf(const QVariant &v)
{
    const QString s = v.toString();
    if (s.size() < 10 || s[4] != QLatin1Char('-') || s[7] != QLatin1Char('-'))
        return {};
    const auto num = [&s](int from, int n) {
        int x = 0;
        for (int i = from; i < from + n; ++i) {
            const int d = s[i].digitValue();
            if (d < 0)
                return -1;
            x = x * 10 + d;
        }
        return x;
    };
    return QDate(num(0, 4), num(5, 2), num(8, 2));
}

// Rows of a select read on a connection.
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

// Reading connections of the computations' own on the same file: pages
// mapped instead of copied (a whole-table scan costs half), the tables of an
// aging read side by side on the two cores. Kept open between runs (a fresh
// one first maps and reads the schema again); dropped when the program's
// connection closes (a restore replaces the file).
db::Connection &reader(const db::Connection &c, int i)
{
    static std::vector<std::unique_ptr<db::Connection>> pool;
    static QString path;
    static QMetaObject::Connection closing;
    if (path != c.address()) {
        pool.clear();
        path = c.address();
        QObject::disconnect(closing);
        closing = QObject::connect(&c, &db::Connection::aboutToClose, [] {
            pool.clear();
            path.clear();
        });
    }
    while (int(pool.size()) <= i) {
        auto r = std::make_unique<db::Connection>();
        r->setDatabaseName(path);
        r->open();
        if (r->isServer()) {
            r->execute(QStringLiteral("SET default_transaction_read_only = on"));
        } else {
            r->execute(QStringLiteral("PRAGMA query_only=1"));
            r->execute(QStringLiteral("PRAGMA mmap_size=2147418112"));
        }
        pool.push_back(std::move(r));
    }
    return *pool[size_t(i)];
}

// Runs work(connection, i) for i < n, each on its own thread and reading
// connection (the connections are made here, on the calling thread).
template <class T>
QVector<T> inParallel(const db::Connection &c, int n, const std::function<T(db::Connection &, int)> &work)
{
    std::vector<db::Connection *> conns;
    for (int i = 0; i < n; ++i)
        conns.push_back(&reader(c, i));
    std::vector<std::future<T>> futures;
    for (int i = 0; i < n; ++i)
        futures.push_back(std::async(std::launch::async, [&conns, &work, i] { return work(*conns[size_t(i)], i); }));
    QVector<T> out;
    for (auto &f : futures)
        out.append(f.get());   // rethrows the engine's error
    return out;
}

} // namespace

QStringList businessItems()
{
    return {S("全部"), S("集装箱"), S("普通货物")};
}

QStringList statementSql(Side side, Business business, const QString &party, const QDate &from, const QDate &to)
{
    const QString who = party.isNull() ? QString(QLatin1String("")) : party;
    const QString f = day(from);
    QStringList parts;
    for (const Source &s : sources(side, business)) {
        // Texts only for the documents that show a line in the period.
        const QString shown = QStringLiteral("%1>=%2 or %3>=%2").arg(dateOf(s), f, s.payDate);
        parts << QStringLiteral("select %1,%2,%3,coalesce(%4,0),%5='是',case when %6 then %7 end,case when %6 then %8 end,"
                                "case when %6 then %9 end from ")
                         .arg(dateOf(s), s.payDate, s.charge, s.paid, s.settled, shown, s.number, s.detail, s.route)
                     + s.table + QStringLiteral(" o") + where(s, who, to);
    }
    return {parts.join(QStringLiteral(" union all "))};
}

Statement statement(db::Connection &c, Side side, Business business, const QString &party, const QDate &from,
                    const QDate &to)
{
    // One pass over the party's documents up to the period's end: those
    // before it make the opening balance, the rest the lines.
    Rows docs(reader(c, 0), statementSql(side, business, party, from, to).first());
    const QDate before = from.addDays(-1);
    db::Money balance;
    QVector<StatementLine> events;
    for (int r = 0; r < docs.count(); ++r) {
        const QDate d = dayOf(docs.at(r, 0));
        const QDate paidOn = dayOf(docs.at(r, 1));
        const QDate pd = paidOn.isValid() && paidOn > d ? paidOn : d;
        const db::Money charge = money(docs.at(r, 2)), paid = money(docs.at(r, 3));
        const db::Money allow = docs.at(r, 4).toLongLong() && paid < charge ? charge - paid : db::Money();
        if (d <= before)
            balance += pd <= before ? charge - paid - allow : charge;
        StatementLine l{.number = docs.at(r, 5).toString(), .detail = docs.at(r, 6).toString(),
                        .route = docs.at(r, 7).toString()};
        if (d >= from)
            events.append({.kind = StatementLine::Charge, .date = d, .number = l.number, .detail = l.detail,
                           .route = l.route, .amount = charge});
        if (pd < from || pd > to)
            continue;
        l.date = pd;
        for (const auto &[kind, amount] : {std::pair{StatementLine::Payment, paid}, std::pair{StatementLine::Allowance, allow}}) {
            l.kind = kind;
            l.amount = amount;
            if (!amount.isZero())
                events.append(l);
        }
    }
    Statement st;
    st.lines.append({.kind = StatementLine::Opening, .date = before, .balance = balance});
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

QStringList agingSql(Side side, Business business, const QDate &asOf)
{
    const QString b30 = day(asOf.addDays(-30)), b60 = day(asOf.addDays(-60)), b90 = day(asOf.addDays(-90));
    QStringList out;
    // Read in the table's order (an index in the party's order would fetch
    // every row on its own); only open documents reach the grouping, so the
    // sort behind it stays small, and it sorts by bytes: names the
    // collation finds equal are added up with the other table's.
    for (const Source &s : sources(side, business))
        out << QStringLiteral("select party,"
                              "sum(case when d>=%1 then o else 0 end),"
                              "sum(case when d<%1 and d>=%2 then o else 0 end),"
                              "sum(case when d<%2 and d>=%3 then o else 0 end),"
                              "sum(case when d<%3 then o else 0 end),"
                              "sum(o),count(*),min(d) from (select %4 as party,%5 as d,%6 as o from %7 not indexed%8) "
                              "where o<>0 group by party collate binary")
                   .arg(b30, b60, b90, s.party, dateOf(s), openAt(s, asOf), s.table,
                        where(s, QString(), asOf) + settledBy(s, asOf));
    return out;
}

QVector<AgingRow> aging(db::Connection &c, Side side, Business business, const QDate &asOf)
{
    // One grouped query per table, the tables read at the same time; a
    // party's rows added up under the names the collation finds equal.
    const QStringList sql = agingSql(side, business, asOf);
    const auto perTable = inParallel<QVector<AgingRow>>(c, int(sql.size()), [&sql](db::Connection &conn, int i) {
        Rows rows(conn, sql[i]);
        QVector<AgingRow> out;
        for (int r = 0; r < rows.count(); ++r) {
            AgingRow a{.party = rows.at(r, 0).toString()};
            for (int b = 0; b < 4; ++b)
                a.buckets[b] = money(rows.at(r, 1 + b));
            a.total = money(rows.at(r, 5));
            a.openDocuments = int(rows.at(r, 6).toLongLong());
            a.oldest = dayOf(rows.at(r, 7));
            out.append(a);
        }
        return out;
    });
    const auto before = [](const QString &a, const QString &b) { return db::compareText(a, b) < 0; };
    std::map<QString, AgingRow, decltype(before)> merged(before);
    for (const QVector<AgingRow> &rows : perTable)
        for (const AgingRow &a : rows) {
            auto [it, fresh] = merged.try_emplace(a.party, a);
            if (fresh)
                continue;
            AgingRow &m = it->second;
            for (int b = 0; b < 4; ++b)
                m.buckets[b] += a.buckets[b];
            m.total += a.total;
            m.openDocuments += a.openDocuments;
            m.oldest = std::min(m.oldest, a.oldest);
        }
    QVector<AgingRow> out;
    out.reserve(int(merged.size()));
    for (auto &[party, a] : merged)
        out.append(a);
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
