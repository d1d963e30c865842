#pragma once
#include "db/money.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

namespace db { class Connection; }

// What customers owe the firm and what the firm owes its carriers, from the
// order tables alone, over one definition of an open amount:
//
// - a document is a container order or goods order (receivable: customer
//   上游客户, charge 应收运费, receipt 实收运费 on 收款日期, settled 帐款结清),
//   or a container order with a carrier or a goods dispatch (payable:
//   carrier 承运单位, charge 应付运费 or else the payable rule, payment
//   实付运费 on 付款日期, settled 下游帐款结清 / 帐款结清);
// - its date is 运输期限从 or 发货日期 (an order without one: the day it was
//   entered, 操作日期, so that no money owed is left out of every account);
// - a settled document paid short has an allowance (减免) of the difference
//   on the payment day; a payment without a date counts from the document's
//   date, and one dated before the document counts from the document's date
//   (at any day D the document counts nothing before its own date);
// - the open amount at a day D = charge − payments and allowances dated on
//   or before D, of the documents dated on or before D. Empty money is 0.
namespace accounts {

enum class Side { Receivable, Payable };
enum class Business { All, Container, Goods };

// The business switch's items, in order of the enum.
QStringList businessItems();

// One line of a statement, in date order. Opening and closing lines carry only
// the balance.
struct StatementLine {
    enum Kind { Opening, Charge, Payment, Allowance, Closing };
    Kind kind = Charge;
    QDate date = {};
    QString number = {};   // 运输单号, or the dispatch's number for a carrier
    QString detail = {};   // 箱号 or the goods names (customer), 车牌号 (carrier)
    QString route = {};    // 起始地-目的地
    db::Money amount = {};   // charge, payment or allowance
    db::Money balance = {};  // running balance after the line
};

struct Statement {
    QVector<StatementLine> lines;
    db::Money charges, payments, allowances;
    db::Money opening() const { return lines.isEmpty() ? db::Money() : lines.first().balance; }
    db::Money closing() const { return lines.isEmpty() ? db::Money() : lines.last().balance; }
};

// The customer's (carrier's) statement for the days from..to: the opening
// balance at the day before `from`, every charge, payment and allowance dated
// in the period, the closing balance at `to`. Reads on a connection of its
// own. Throws db::DbError.
Statement statement(db::Connection &c, Side side, Business business, const QString &party, const QDate &from,
                    const QDate &to);

// One party's open documents as of a day, by age (as-of day − document day).
struct AgingRow {
    QString party = {};
    db::Money buckets[4] = {};   // 0–30, 31–60, 61–90, over 90 days
    db::Money total = {};
    int openDocuments = 0;
    QDate oldest = {};      // the oldest open document's date
};

// Every party with an open document as of the day, largest total first (a
// grouped query over each table, the tables read side by side on connections
// of their own). Throws db::DbError.
QVector<AgingRow> aging(db::Connection &c, Side side, Business business, const QDate &asOf);

// What one container order or goods dispatch earned.
struct ProfitRow {
    QDate date;
    QString business;       // "集装箱" or "普通货物"
    QString number;         // 运输单号 of the order, 调度单号 of the dispatch
    QString customers;      // the order's customer, the dispatch's orders' customers
    QString carrier, plate;
    db::Money receivable = {}, carrierCharge = {}, margin = {};
    bool hasRate = false;
    double rate = 0;        // margin / receivable, in percent
};

// Container orders (by 运输期限从) and goods dispatches (by 发货日期) of the
// period, optionally only those of a customer (a dispatch carrying one of its
// orders) or of a carrier. Throws db::DbError.
QVector<ProfitRow> profit(db::Connection &c, Business business, const QDate &from, const QDate &to,
                          const QString &customer, const QString &carrier);

// The margin rate in percent rounded to two decimals; none for a receivable of 0.
bool marginRate(db::Money margin, db::Money receivable, double &rate);

// The SQL each computation runs (the statement: one select of the party's
// documents up to the period's end; the aging: one grouped select per
// table), for the benchmark's bare-query figures.
QStringList statementSql(Side side, Business business, const QString &party, const QDate &from, const QDate &to);
QStringList agingSql(Side side, Business business, const QDate &asOf);
QString profitSql(Business business, const QDate &from, const QDate &to, const QString &customer, const QString &carrier);

// The amount in Chinese capital numerals as written on a cheque or
// statement: "壹万贰仟叁佰肆拾伍元陆角柒分", "零元整", "负…" below 0.
// Amounts are rounded to the fen.
QString capitals(db::Money amount);

} // namespace accounts
