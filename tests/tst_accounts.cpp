// Statements of account, aging and margins: the open-amount identities on a
// random business checked against the definitions written out again here,
// the windows driven through the menu on one customer's three months, the
// signed statement read back from its PDF, money in capitals, and the
// container number's check digit at save, in the demo and the generator.
#include "accounts/agingchart.h"
#include "accounts/aging.h"
#include "accounts/ledger.h"
#include "accounts/profit.h"
#include "accounts/statement.h"
#include "app/main.h"
#include "container/container_ysd.h"
#include "data/containerno.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/quote.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "grid/print.h"
#include "spine_driver.h"
#include <QCheckBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <map>

using accounts::Business;
using accounts::Side;
using db::Money;

namespace {

// One document as the tables hold it, and its open amount at a day by the
// definitions (not by the program's SQL).
struct Doc {
    Side side;
    bool container;
    QString party;
    QDate date, entered;          // 运输期限从/发货日期; 操作日期
    Money charge;                 // 应收运费, or the carrier's charge
    Money paid;
    QDate payDate;
    bool settled = false;

    QDate day() const { return date.isValid() ? date : entered; }
    Money openAt(const QDate &d) const
    {
        if (!day().isValid() || day() > d)
            return {};
        const QDate counts = payDate.isValid() ? std::max(payDate, day()) : day();
        if (counts > d)
            return charge;
        return settled && paid < charge ? Money() : charge - paid;
    }
};

QString lit(const QDate &d)
{
    return d.isValid() ? S("'") + db::storedDate(d) + S("'") : S("null");
}

QString lit(Money m, bool null = false)
{
    return null ? S("null") : QString::number(m.raw());
}

QString yn(bool b)
{
    return b ? S("'是'") : S("'否'");
}

// A random business of a year: customers and carriers (one with a quote in
// its name), orders with and without dates, partial, late, early, undated
// and settled-short payments, written and unwritten payables.
QVector<Doc> seedRandom(const TestDb &t, quint32 seed)
{
    QRandomGenerator rng(seed);
    // "Acme" and "ACME" are one customer to the database, as to a clerk.
    const QStringList customers = {S("武汉钢铁"), S("O'Brien"), S("东风汽车"), S("长飞光纤"), S("九州通"), S("人福医药"),
                                   S("烽火通信"), S("中百仓储"), S("Acme"), S("ACME")};
    const QStringList carriers = {S("长江运输"), S("汉江物流"), S("D'Arcy车队"), S("楚天快运")};
    const QDate start(2024, 1, 1);
    const auto money = [&](int maxYuan) { return Money::fromRaw(qint64(rng.bounded(1, maxYuan)) * 10000 + rng.bounded(100) * 100); };
    const auto day = [&](int span) { return start.addDays(rng.bounded(span)); };
    QVector<Doc> docs;
    int n = 0;
    for (int i = 0; i < 420; ++i) {
        const int kind = rng.bounded(3);   // container order, goods order, goods dispatch
        const bool container = kind == 0;
        Doc r{.side = kind == 2 ? Side::Payable : Side::Receivable, .container = container,
              .party = kind == 2 ? carriers[rng.bounded(carriers.size())] : customers[rng.bounded(customers.size())],
              .date = rng.bounded(25) ? day(366) : QDate(), .entered = day(366)};
        if (rng.bounded(30) == 0)
            r.entered = QDate();   // neither date: never counts
        r.charge = money(3000);
        const int pay = rng.bounded(6);   // none, full, partial, settled short, undated, early
        if (pay) {
            r.paid = pay == 1 ? r.charge : Money::fromRaw(r.charge.raw() * rng.bounded(20, 90) / 100);
            r.settled = pay == 1 || pay == 3 || rng.bounded(4) == 0;
            const QDate base = r.day().isValid() ? r.day() : start;
            r.payDate = pay == 4 ? QDate() : pay == 5 ? base.addDays(-rng.bounded(1, 20)) : base.addDays(rng.bounded(0, 120));
        }
        const QString no = S("N%1").arg(++n);
        if (kind == 2) {
            // The carrier's charge: written by the payment window, or the rule.
            const bool written = rng.bounded(2);
            Money costs[5];
            Money amount = money(4000);
            Money rule = amount;
            for (Money &c : costs) {
                c = rng.bounded(3) ? Money() : money(200);
                rule -= c;
            }
            r.charge = written ? money(3500) : rule;
            if (pay == 1)
                r.paid = r.charge;
            t.exec(S("insert into 普通货物调度单 (调度单号, 承运单位, 发货日期, 操作日期, 运输金额, 路桥费, 劳务费, 油费, 罚款, 其它费用, 应付运费, "
                     "实付运费, 付款日期, 帐款结清) values ('%1', '%2', %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, %14)")
                       .arg(no, db::q(r.party), lit(r.date), lit(r.entered), lit(amount), lit(costs[0], costs[0].isZero()),
                            lit(costs[1], costs[1].isZero()), lit(costs[2], costs[2].isZero()), lit(costs[3], costs[3].isZero()))
                       .arg(lit(costs[4], costs[4].isZero()), lit(r.charge, !written), lit(r.paid, r.paid.isZero()),
                            lit(r.payDate), yn(r.settled)));
        } else if (container) {
            t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 操作日期, 应收运费, 实收运费, 收款日期, 帐款结清) "
                     "values ('%1', '%2', %3, %4, %5, %6, %7, %8)")
                       .arg(db::q(r.party), no, lit(r.date), lit(r.entered), lit(r.charge), lit(r.paid, r.paid.isZero()),
                            lit(r.payDate), yn(r.settled)));
        } else {
            t.exec(S("insert into 普通货物运输单 (上游客户, 运输单号, 发货日期, 操作日期, 应收运费, 实收运费, 收款日期, 帐款结清) "
                     "values ('%1', '%2', %3, %4, %5, %6, %7, %8)")
                       .arg(db::q(r.party), no, lit(r.date), lit(r.entered), lit(r.charge), lit(r.paid, r.paid.isZero()),
                            lit(r.payDate), yn(r.settled)));
        }
        docs.append(r);
        // A container order carries its carrier's side too, when dispatched.
        if (container && rng.bounded(3)) {
            Doc p = r;
            p.side = Side::Payable;
            p.party = carriers[rng.bounded(carriers.size())];
            p.charge = money(2500);
            p.paid = rng.bounded(2) ? Money::fromRaw(p.charge.raw() * rng.bounded(30, 100) / 100) : Money();
            p.payDate = p.paid.isZero() ? QDate() : (r.day().isValid() ? r.day() : start).addDays(rng.bounded(-5, 90));
            p.settled = !p.paid.isZero() && rng.bounded(2);
            t.exec(S("update 集装箱运输单 set 承运单位='%1', 运输金额=%2, 实付运费=%3, 付款日期=%4, 下游帐款结清=%5 where 运输单号='%6'")
                       .arg(db::q(p.party), lit(p.charge), lit(p.paid, p.paid.isZero()), lit(p.payDate), yn(p.settled), no));
            docs.append(p);
        }
    }
    return docs;
}

// The definitions' aging: per party (letters in any case) the buckets,
// total, open count and oldest.
std::map<QString, accounts::AgingRow> modelAging(const QVector<Doc> &docs, Side side, Business b, const QDate &asOf)
{
    std::map<QString, accounts::AgingRow> out;
    for (const Doc &d : docs) {
        if (d.side != side || (b == Business::Container && !d.container) || (b == Business::Goods && d.container))
            continue;
        const Money open = d.openAt(asOf);
        if (open.isZero())
            continue;
        accounts::AgingRow &a = out[d.party.toLower()];
        a.party = d.party;
        const qint64 age = d.day().daysTo(asOf);
        a.buckets[age <= 30 ? 0 : age <= 60 ? 1 : age <= 90 ? 2 : 3] += open;
        a.total += open;
        ++a.openDocuments;
        if (!a.oldest.isValid() || d.day() < a.oldest)
            a.oldest = d.day();
    }
    return out;
}

QString money(const QVariant &stored)
{
    return stored.isNull() ? QString() : Money::fromRaw(stored.toLongLong()).toPlainString();
}

// The listed rows as "cell|cell|…", money in plain form.
QStringList listed(accounts::AccountsWindow *w)
{
    db::Query *q = w->query();
    QStringList rows;
    for (int r = 0; r < q->recordCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < q->fieldCount(); ++c)   // after the hidden sequence
            cells << (q->fieldKind(c) == db::Kind::Money ? money(q->storedValue(r, c)) : q->displayText(r, c));
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(S("pdftotext"), {S("-layout"), pdf, S("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One customer's three months: five orders, two partial receipts (one of
// them settled short) and the allowance; other customers' and later orders
// around them.
void seedCustomer(const TestDb &t)
{
    t.exec(S("update 公司信息 set 公司名称='江城物流有限公司'"));
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁'), ('东风汽车')"));
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('汉江物流')"));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 箱号, 起始地, 目的地, 应收运费, 实收运费, 收款日期, 帐款结清, "
             "承运单位, 车牌号, 运输金额, 路桥费, 应付运费) values "
             "('武汉钢铁', 'C1', '2024-01-10 00:00:00', 'CSQU3054383', '武汉', '上海', ccur('1000'), ccur('600'), '2024-02-05 00:00:00', '否',"
             " '长江运输', '鄂A1001', ccur('700'), ccur('50'), null),"
             "('武汉钢铁', 'C2', '2024-02-14 00:00:00', 'TGHU1234567', '武汉', '宁波', ccur('800'), null, null, '否',"
             " '汉江物流', '鄂A2002', ccur('900'), null, ccur('850')),"
             "('武汉钢铁', 'C3', '2024-03-28 00:00:00', 'MSKU0000000', '武汉', '南京', ccur('500'), null, null, '否', null, null, null, null, null),"
             "('武汉钢铁', 'C9', '2024-04-02 00:00:00', 'MSKU0000000', '武汉', '南京', ccur('300'), null, null, '否', null, null, null, null, null),"
             "('东风汽车', 'C1', '2024-02-01 00:00:00', 'MSKU0000000', '十堰', '上海', ccur('990'), null, null, '否', null, null, null, null, null)"));
    t.exec(S("insert into 普通货物运输单 (上游客户, 运输单号, 发货日期, 起始地, 目的地, 应收运费, 实收运费, 收款日期, 帐款结清, 调度单号) values "
             "('武汉钢铁', 'G1', '2024-01-25 00:00:00', '武汉', '长沙', ccur('2000'), ccur('1500'), '2024-03-10 00:00:00', '是', 'D1'),"
             "('武汉钢铁', 'G2', '2024-03-05 00:00:00', '武汉', '郑州', ccur('1200'), null, null, '否', 'D1'),"
             "('东风汽车', 'G3', '2024-03-05 00:00:00', '十堰', '郑州', ccur('400'), null, null, '否', 'D1')"));
    t.exec(S("insert into 普通货物运输单明细 (运输单号, 上游客户, 货物名称) values ('G1', '武汉钢铁', '钢管'), ('G1', '武汉钢铁', '钢管'),"
             "('G2', '武汉钢铁', '线材')"));
    t.exec(S("insert into 普通货物调度单 (调度单号, 承运单位, 车牌号, 发货日期, 运输金额, 油费) values "
             "('D1', '长江运输', '鄂A1001', '2024-03-06 00:00:00', ccur('4000'), ccur('100'))"));
}

// Opens a menu item with a main window; `act` drives its window, `nested`
// any window that one opens.
void withMenu(const char *item, const std::function<void(QDialog *)> &act,
              const std::function<void(QDialog *)> &nested = {})
{
    TForm_main main;
    velorin::startup_done = true;
    int shown = 0;
    ModalDriver driver([&](QDialog *d) {
        if (shown++ == 0)
            act(d);
        else if (nested)
            nested(d);
    });
    main.menuAction(S(item))->trigger();
    QVERIFY2(shown >= 1, item);
}

} // namespace

class TstAccounts : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("王五"); }
    void identitiesOnRandomBusiness();
    void customerThroughTheWindows();
    void carrierAndProfitWindows();
    void capitals_data();
    void capitals();
    void containerNumbers_data();
    void containerNumbers();
    void validNumbersWritten();
};

void TstAccounts::identitiesOnRandomBusiness()
{
    TestDb t;
    const QVector<Doc> docs = seedRandom(t, 20240611);
    db::Connection &c = *t.dm()->ADO_system;
    for (const Side side : {Side::Receivable, Side::Payable}) {
        for (const Business b : {Business::All, Business::Container, Business::Goods}) {
            if (side == Side::Payable && b != Business::All)
                continue;
            for (const QDate asOf : {QDate(2023, 12, 31), QDate(2024, 3, 31), QDate(2024, 7, 15), QDate(2024, 12, 31),
                                     QDate(2025, 6, 30)}) {
                const auto model = modelAging(docs, side, b, asOf);
                const QVector<accounts::AgingRow> rows = accounts::aging(c, side, b, asOf);
                QCOMPARE(rows.size(), int(model.size()));
                Money all, modelAll;
                for (int i = 0; i < rows.size(); ++i) {
                    const accounts::AgingRow &a = rows[i];
                    QVERIFY2(model.count(a.party.toLower()), qPrintable(a.party));
                    const accounts::AgingRow &m = model.at(a.party.toLower());
                    for (int k = 0; k < 4; ++k)
                        QCOMPARE(a.buckets[k], m.buckets[k]);
                    QCOMPARE(a.total, m.total);
                    QCOMPARE(a.openDocuments, m.openDocuments);
                    QCOMPARE(a.oldest, m.oldest);
                    if (i)
                        QVERIFY(rows[i - 1].total >= a.total);
                    all += a.total;
                    // The statement ending that day closes at the aging total
                    // and moves from its opening by what it lists.
                    const QDate from = asOf.addDays(-75);
                    const accounts::Statement st = accounts::statement(c, side, b, a.party, from, asOf);
                    QCOMPARE(st.closing(), a.total);
                    Money opening;
                    for (const Doc &d : docs)
                        if (d.side == side && d.party.toLower() == a.party.toLower()
                            && (b == Business::All || (b == Business::Container) == d.container))
                            opening += d.openAt(from.addDays(-1));
                    QCOMPARE(st.opening(), opening);
                    QCOMPARE(st.opening() + st.charges - st.payments - st.allowances, st.closing());
                    for (int l = 1; l + 1 < st.lines.size(); ++l)
                        QVERIFY(st.lines[l].date >= from && st.lines[l].date <= asOf && st.lines[l - 1].date <= st.lines[l].date);
                }
                for (const auto &[party, m] : model)
                    modelAll += m.total;
                QCOMPARE(all, modelAll);
                if (asOf.year() == 2023)
                    QVERIFY(rows.isEmpty());
            }
        }
    }
    // Everything happened: some documents are open, some settled short.
    const auto open = modelAging(docs, Side::Receivable, Business::All, QDate(2024, 12, 31));
    QVERIFY(open.size() >= 6);
    QVERIFY(std::any_of(docs.begin(), docs.end(), [](const Doc &d) { return d.settled && d.paid < d.charge; }));
}

void TstAccounts::customerThroughTheWindows()
{
    TestDb t;
    seedCustomer(t);
    MessageScript ms;
    const QStringList expected = {
        S("2023-12-31|期初余额|||||||0"),
        S("2024-1-10|应收运费|C1|CSQU3054383|武汉-上海|1000|||1000"),
        S("2024-1-25|应收运费|G1|钢管|武汉-长沙|2000|||3000"),
        S("2024-2-5|收款|C1|CSQU3054383|武汉-上海||600||2400"),
        S("2024-2-14|应收运费|C2|TGHU1234567|武汉-宁波|800|||3200"),
        S("2024-3-5|应收运费|G2|线材|武汉-郑州|1200|||4400"),
        S("2024-3-10|收款|G1|钢管|武汉-长沙||1500||2900"),
        S("2024-3-10|减免|G1|钢管|武汉-长沙|||500|2400"),
        S("2024-3-28|应收运费|C3|MSKU0000000|武汉-南京|500|||2900"),
        S("2024-3-31|期末余额|||||||2900"),
    };
    const QString pdf = t.dir() + S("/statement.pdf");
    grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        QPrinter *p = dlg.printer();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        emit dlg.paintRequested(p);
    });
    withMenu("N80", [&](QDialog *d) {
        auto *w = qobject_cast<accounts::StatementWindow *>(d);
        QVERIFY(w);
        QCOMPARE(QString::fromLatin1(d->metaObject()->className()), S("TForm_account_guest"));
        QCOMPARE(itemsOf(w, "DBComboBoxEh1"), (QStringList{S("东风汽车"), S("武汉钢铁")}));
        click(w, "bitbtn_tj");
        QCOMPARE(ms.last(), S("上游客户不能为空,请重新输入!"));
        put(w, "DBComboBoxEh1", S("武汉钢铁"));
        put(w, "DateTimePicker1", S("2024-1-1"));
        put(w, "DateTimePicker2", S("2024-3-31"));
        click(w, "bitbtn_tj");
        QCOMPARE(listed(w), expected);
        QCOMPARE(w->grid()->footerText(w->grid()->columnByField(S("应收"))), S("5500.00"));
        QCOMPARE(w->grid()->footerText(w->grid()->columnByField(S("收款"))), S("2100.00"));
        QCOMPARE(w->grid()->footerText(w->grid()->columnByField(S("减免"))), S("500.00"));
        // The business switch: containers alone, from February.
        w->findChild<QComboBox *>(S("ComboBox1"))->setCurrentIndex(1);
        put(w, "DateTimePicker1", S("2024-2-1"));
        click(w, "bitbtn_tj");
        const QStringList containers = listed(w);
        QCOMPARE(containers.first(), S("2024-1-31|期初余额|||||||1000"));
        QCOMPARE(containers.last(), S("2024-3-31|期末余额|||||||1700"));
        QCOMPARE(containers.size(), 5);
        w->findChild<QComboBox *>(S("ComboBox1"))->setCurrentIndex(0);
        put(w, "DateTimePicker1", S("2024-1-1"));
        click(w, "bitbtn_tj");
        click(w, "bitbtn_print");
    });
    const QString text = pdfText(pdf);
    for (const QString &s : {S("江城物流有限公司 客户对账单"), S("上游客户：武汉钢铁"), S("2024-1-1 至 2024-3-31"), S("期末余额：2900.00"),
                             S("大写：人民币贰仟玖佰元整"), S("经办人："), S("客户签章："), S("CSQU3054383")})
        QVERIFY2(text.contains(s), qPrintable(s + S("\n") + text));

    // Aging as of the period's end; a double click opens the statement from
    // the oldest open order.
    QStringList nestedRows;
    QString nestedClass;
    withMenu("N81", [&](QDialog *d) {
        auto *w = qobject_cast<accounts::AgingWindow *>(d);
        QVERIFY(w);
        put(w, "DateTimePicker1", S("2024-3-31"));
        click(w, "bitbtn_tj");
        QCOMPARE(listed(w), (QStringList{S("武汉钢铁|1700|800|400|0|2900|4|2024-1-10"), S("东风汽车|400|990|0|0|1390|2|2024-2-1")}));
        QCOMPARE(w->grid()->footerText(w->grid()->columnByField(S("合计"))), S("4290.00"));
        w->findChild<QCheckBox *>(S("CheckBox_chart"))->setChecked(true);
        QCOMPARE(w->chart()->categories(), (QStringList{S("武汉钢铁"), S("东风汽车")}));
        QCOMPARE(w->chart()->buckets().at(1), (QVector<double>{800, 990}));
        w->query()->first();
        w->openStatement();
    }, [&](QDialog *d) {
        nestedClass = QString::fromLatin1(d->metaObject()->className());
        nestedRows = listed(qobject_cast<accounts::AccountsWindow *>(d));
    });
    grid::setPreviewRunner(nullptr);
    QCOMPARE(nestedClass, S("TForm_account_guest"));
    QCOMPARE(nestedRows.first(), S("2024-1-9|期初余额|||||||0"));
    QCOMPARE(nestedRows.last(), S("2024-3-31|期末余额|||||||2900"));
    QCOMPARE(nestedRows.size(), expected.size());
}

void TstAccounts::carrierAndProfitWindows()
{
    TestDb t;
    seedCustomer(t);
    MessageScript ms;
    // The carrier's charge: 应付运费 where written, else the amount less costs.
    withMenu("N83", [&](QDialog *d) {
        auto *w = qobject_cast<accounts::AgingWindow *>(d);
        QVERIFY(w);
        put(w, "DateTimePicker1", S("2024-3-31"));
        click(w, "bitbtn_tj");
        QCOMPARE(listed(w), (QStringList{S("长江运输|3900|0|650|0|4550|2|2024-1-10"), S("汉江物流|0|850|0|0|850|1|2024-2-14")}));
    });
    withMenu("N82", [&](QDialog *d) {
        auto *w = qobject_cast<accounts::StatementWindow *>(d);
        QVERIFY(w);
        put(w, "DBComboBoxEh1", S("长江运输"));
        put(w, "DateTimePicker1", S("2024-3-1"));
        put(w, "DateTimePicker2", S("2024-3-31"));
        click(w, "bitbtn_tj");
        QCOMPARE(listed(w), (QStringList{S("2024-2-29|期初余额|||||||650"), S("2024-3-6|应付运费|D1|鄂A1001|-|3900|||4550"),
                                         S("2024-3-31|期末余额|||||||4550")}));
    });
    withMenu("N84", [&](QDialog *d) {
        auto *w = qobject_cast<TForm_profit *>(d);
        QVERIFY(w);
        put(w, "DateTimePicker1", S("2024-1-1"));
        put(w, "DateTimePicker2", S("2024-3-31"));
        click(w, "bitbtn_tj");
        QCOMPARE(listed(w), (QStringList{
                                S("2024-1-10|集装箱|C1|武汉钢铁|长江运输|鄂A1001|1000|650|350|35"),
                                S("2024-2-1|集装箱|C1|东风汽车|||990|0|990|100"),
                                S("2024-2-14|集装箱|C2|武汉钢铁|汉江物流|鄂A2002|800|850|-50|-6.25"),
                                S("2024-3-6|普通货物|D1|东风汽车、武汉钢铁|长江运输|鄂A1001|3600|3900|-300|-8.33"),
                                S("2024-3-28|集装箱|C3|武汉钢铁|||500|0|500|100"),
                            }));
        QCOMPARE(w->grid()->footerText(w->grid()->columnByField(S("毛利"))), S("1490.00"));
        QCOMPARE(w->grid()->footerText(w->grid()->columnByField(S("毛利率"))), S("21.63%"));
        // A customer and a carrier narrow it; a dispatch counts for each of its customers.
        put(w, "DBComboBoxEh1", S("东风汽车"));
        put(w, "DBComboBoxEh2", S("长江运输"));
        click(w, "bitbtn_tj");
        QCOMPARE(w->result().size(), 1);
        QCOMPARE(w->result().first().number, S("D1"));
    });
    QCOMPARE(ms.texts(), QStringList());
}

void TstAccounts::capitals_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << "0" << S("零元整");
    QTest::newRow("0.05") << "0.05" << S("伍分");
    QTest::newRow("0.5") << "0.5" << S("伍角整");
    QTest::newRow("10") << "10" << S("壹拾元整");
    QTest::newRow("10.5") << "10.5" << S("壹拾元伍角整");
    QTest::newRow("100,010.07") << "100010.07" << S("壹拾万零壹拾元零柒分");
    QTest::newRow("12,345.67") << "12345.67" << S("壹万贰仟叁佰肆拾伍元陆角柒分");
    QTest::newRow("1,000,000,000") << "1000000000" << S("壹拾亿元整");
    QTest::newRow("100,000,001") << "100000001" << S("壹亿零壹元整");
    QTest::newRow("1,001.005 rounds") << "1001.005" << S("壹仟零壹元零壹分");
    QTest::newRow("negative") << "-2900" << S("负贰仟玖佰元整");
}

void TstAccounts::capitals()
{
    QFETCH(QString, amount);
    QFETCH(QString, text);
    QCOMPARE(accounts::capitals(*Money::parse(amount)), text);
}

void TstAccounts::containerNumbers_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("saved");
    const QString wrong = S("箱号校验位不正确(应为 3),仍要保存吗?");
    QTest::newRow("valid") << "CSQU3054383" << false << QString() << true;
    QTest::newRow("wrong digit, No") << "CSQU3054384" << false << wrong << false;
    QTest::newRow("wrong digit in small letters, Yes") << "csqu3054384" << true << wrong << true;
    QTest::newRow("category X is not ISO") << "CSQX3054384" << false << QString() << true;
    QTest::newRow("firm's own number") << S("自编箱001") << false << QString() << true;
}

void TstAccounts::containerNumbers()
{
    QFETCH(QString, box);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(bool, saved);
    TestDb t;
    MessageScript ms;
    ms.answer(yes ? QMessageBox::Yes : QMessageBox::No);
    TForm_container_ysd w(nullptr);
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输期限从,运输单号")});
    w.show();
    click(&w, "bitbtn_add");
    put(&w, "DBComboBoxEh2", S("武汉钢铁"));
    put(&w, "DBEdit6", S("Y1"));
    put(&w, "DBEdit7", box);
    put(&w, "DBComboBoxEh1", S("20"));
    click(&w, "bitbtn_save");
    if (!question.isEmpty()) {
        const msg::Request &r = ms.seen().first();
        QCOMPARE(r.text, question);
        QCOMPARE(r.caption, S("请选择"));
        QCOMPARE(r.icon, msg::Icon::Question);
        QCOMPARE(r.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(r.defaultButton, QMessageBox::No);
    }
    QStringList shown;
    if (!question.isEmpty())
        shown << question;
    if (saved)
        shown << S("保存完毕！");
    QCOMPARE(ms.texts(), shown);
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单")), saved ? S("1") : S("0"));
    QCOMPARE(w.editing(), !saved);
    if (!saved)
        QCOMPARE(focusName(&w), S("DBEdit7"));
}

void TstAccounts::validNumbersWritten()
{
    if (!testServer().isEmpty())
        QSKIP("reads the generators' files side by side: the file's own attach");
    TestDb demo(true);
    const QString generated = demo.dir() + S("/generated.mdb");
    dbfile::createGenerated(generated, 3000, true);
    demo.exec(S("attach database '%1' as g").arg(generated));
    for (const char *table : {"main.集装箱运输单", "g.集装箱运输单"}) {
        db::Query q(demo.dm()->ADO_system, S("boxes"));
        q.reopenWith({S("select 箱号 from %1").arg(S(table))});
        QVERIFY(q.recordCount() > 100);
        for (int r = 0; r < q.recordCount(); ++r) {
            const QString box = q.displayText(r, 0);
            QVERIFY2(data::containerCheckDigit(box) == box.right(1).toInt(), qPrintable(box));
        }
    }
    demo.exec(S("detach database g"));
}

QTEST_MAIN(TstAccounts)
#include "tst_accounts.moc"
