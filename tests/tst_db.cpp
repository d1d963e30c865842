// Dialect, money, quoting and the shared dataset over a real database file.
#include "db/dates.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "grid/gridmodel.h"
#include "testsupport.h"
#include "db/connection.h"
#include "db/text.h"
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using db::Money;

class TstDb : public QObject {
    Q_OBJECT
private slots:
    void dayRangesIncludeBothEnds_data();
    void dayRangesIncludeBothEnds();
    void monthEnds();
    void sumOnNoRowsIsNull();
    void likeWithChinese();
    void moneyArithmetic();
    void moneySumOverManyRowsIsExact();
    void quotingSurvivesLookups_data();
    void quotingSurvivesLookups();
    void statesOldValuesAndModified();
    void defaultsVisibleAfterPost();
    void bookmarkAfterDelete();
    void failingPostLeavesRowUnchanged();
    void navigationFlags_data();
    void navigationFlags();
    void textComparesIgnoreCase_data();
    void textComparesIgnoreCase();
    void postToVanishedRowFails();
    void displaySuspension();
    void cancelShowsStoredValuesAgain();
    void windowSqlTextsRunAsWritten_data();
    void windowSqlTextsRunAsWritten();
    void openErrors();
    void engineErrorsSpeakChinese_data();
    void engineErrorsSpeakChinese();
    void dialectReadsAlike_data();
    void dialectReadsAlike();
};

void TstDb::dayRangesIncludeBothEnds_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("inside");
    QTest::newRow("first second of from") << "2024-02-01 00:00:00" << true;
    QTest::newRow("last second of to") << "2024-02-29 23:59:59" << true;
    QTest::newRow("midday") << "2024-02-10 12:00:00" << true;
    QTest::newRow("day before") << "2024-01-31 23:59:59" << false;
    QTest::newRow("next day") << "2024-03-01 00:00:00" << false;
}

void TstDb::dayRangesIncludeBothEnds()
{
    QFETCH(QString, stored);
    QFETCH(bool, inside);
    TestDb t;
    t.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要) values ('%1', '收入')").arg(stored));
    for (const QString fn : {QStringLiteral("cdate"), QStringLiteral("cvdate")}) {
        const QString cond = db::dayRangeCondition(QStringLiteral("日期"), QDate(2024, 2, 1), QDate(2024, 2, 29), fn);
        QCOMPARE(cond, QStringLiteral("(日期 between %1('2024-2-1 0:0:0') and %1('2024-2-29 23:59:59'))").arg(fn));
        QCOMPARE(t.scalar(QStringLiteral("select count(*) from 现金日记帐 where ") + cond), inside ? QStringLiteral("1") : QStringLiteral("0"));
    }
    // Leading zeros are optional in the dialect.
    QCOMPARE(t.scalar(QStringLiteral("select cdate('2024-02-01')")), QStringLiteral("2024-02-01 00:00:00"));
}

void TstDb::monthEnds()
{
    QCOMPARE(db::lastDayOfMonth(2023, 2), 28);
    QCOMPARE(db::lastDayOfMonth(2024, 2), 29);
    QCOMPARE(db::lastDayOfMonth(1900, 2), 28);
    QCOMPARE(db::lastDayOfMonth(2000, 2), 29);
    QCOMPARE(db::lastDayOfMonth(2024, 11), 30);
    QCOMPARE(db::lastDayOfMonth(2024, 12), 31);
}

void TstDb::sumOnNoRowsIsNull()
{
    TestDb t;
    auto *q = t.dm()->q_search;
    q->reopenWith({QStringLiteral("select sum(应收运费) as ysyf from 集装箱运输单"),
                   QStringLiteral("where (上游客户='nobody')")});
    QVERIFY(q->field(QStringLiteral("ysyf")).isNull());
    QCOMPARE(q->field(QStringLiteral("ysyf")).asMoney(), Money());
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 应收运费) values ('甲', ccur('12.5')), ('甲', ccur('0.25'))"));
    q->close();
    q->sql()[1] = QStringLiteral("where (上游客户='甲')");
    q->open();
    QCOMPARE(q->field(QStringLiteral("ysyf")).kind(), db::Kind::Money);
    QCOMPARE(q->field(QStringLiteral("ysyf")).asMoney(), *Money::parse(QStringLiteral("12.75")));
}

void TstDb::likeWithChinese()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('武汉长江物流'), ('杨泗港运输')"));
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral(" where (客户名称 like '%长江%')and(客户名称 like '%物流%')"),
                   QStringLiteral("order by 客户名称")});
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("武汉长江物流"));
}

void TstDb::moneyArithmetic()
{
    const auto m = [](const char *s) { return *Money::parse(QString::fromLatin1(s)); };
    QCOMPARE(m("1000") - m("120") - m("300") - m("50") - m("30"), m("500"));
    QCOMPARE(m("2.5") * m("3.1"), m("7.75"));
    QCOMPARE(m("0") - m("20"), m("-20"));
    QCOMPARE((m("0.00005") * m("1")).raw(), 1);          // half away from zero
    QCOMPARE((m("-0.00005") * m("1")).raw(), -1);
    QCOMPARE(m("1,234.5").toString(), QStringLiteral("1234.50"));
    QCOMPARE(m("-3").toPlainString(), QStringLiteral("-3"));
    QVERIFY(!Money::parse(QStringLiteral("abc")));
    QVERIFY(!Money::parse(QStringLiteral("")));
}

void TstDb::moneySumOverManyRowsIsExact()
{
    TestDb t;
    t.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<100000) "
                          "insert into 集装箱运输单 (运输单号, 应收运费) select i, 1000 from n"));   // 0.1 each
    auto *q = t.dm()->q_container_ysd;
    q->reopenWith({QStringLiteral("select * from 集装箱运输单"), QString()});
    QCOMPARE(Money::fromRaw(q->columnSum(q->fieldIndex(QStringLiteral("应收运费"))).toLongLong()), Money::fromRaw(10000 * 10000LL));
    QCOMPARE(t.scalar(QStringLiteral("select sum(应收运费) from 集装箱运输单")), QStringLiteral("10000.00"));
}

void TstDb::quotingSurvivesLookups_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << "O'Brien";
    QTest::newRow("percent") << "50%折扣";
    QTest::newRow("underscore") << "a_b";
    QTest::newRow("chinese") << "武汉长江物流";
    QTest::newRow("trailing blanks") << "客户  ";
}

void TstDb::quotingSurvivesLookups()
{
    QFETCH(QString, name);
    TestDb t;
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")});
    q->append();
    q->field(QStringLiteral("客户名称")).setAsString(name);
    q->post();
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('other')"));
    auto *s = t.dm()->q_search;
    s->reopenWith({QStringLiteral("select * from 上游客户 where 客户名称='") + db::q(name) + QStringLiteral("'")});
    QCOMPARE(s->recordCount(), 1);
    QCOMPARE(s->field(QStringLiteral("客户名称")).asString(), name);
    s->reopenWith({QStringLiteral("select * from 上游客户 where (客户名称 like '%") + db::q(name.trimmed()) + QStringLiteral("%')")});
    QVERIFY(s->recordCount() >= 1);
    QCOMPARE(db::lit(QStringLiteral("it's")), QStringLiteral("'it''s'"));
}

void TstDb::statesOldValuesAndModified()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 行业) values ('甲', '物流')"));
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")});
    QCOMPARE(q->state(), db::Query::Browse);
    auto name = q->field(QStringLiteral("客户名称"));
    QVERIFY(!name.modified());
    name.setAsString(QStringLiteral("乙"));               // typing puts the row into edit mode
    QCOMPARE(q->state(), db::Query::Edit);
    QVERIFY(name.modified());
    QVERIFY(!q->field(QStringLiteral("行业")).modified());
    QCOMPARE(name.oldValue().toString(), QStringLiteral("甲"));
    QCOMPARE(name.asString(), QStringLiteral("乙"));
    q->cancel();
    QCOMPARE(name.asString(), QStringLiteral("甲"));
    name.setAsString(QStringLiteral("丙"));
    q->post();
    QCOMPARE(q->state(), db::Query::Browse);
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 from 上游客户")), QStringLiteral("丙"));
    QCOMPARE(q->field(QStringLiteral("行业")).asString(), QStringLiteral("物流"));
}

void TstDb::defaultsVisibleAfterPost()
{
    TestDb t;
    auto *q = t.dm()->q_freight_ysd;
    q->reopenWith({QStringLiteral("select * from 普通货物运输单"), QStringLiteral("order by 发货日期,运输单号")});
    q->append();
    QCOMPARE(q->state(), db::Query::Insert);
    q->field(QStringLiteral("运输单号")).setAsString(QStringLiteral("F1"));
    q->field(QStringLiteral("发货日期")).setAsString(QStringLiteral("2024-2-1"));
    q->field(QStringLiteral("应收运费")).setAsString(QStringLiteral("12.5"));
    q->post();
    QCOMPARE(q->field(QStringLiteral("回单返回")).asString(), QStringLiteral("否"));
    QCOMPARE(q->field(QStringLiteral("执行完结")).asString(), QStringLiteral("否"));
    QVERIFY(!q->field(QStringLiteral("调度单号")).isNull());
    QCOMPARE(q->field(QStringLiteral("调度单号")).asString(), QString());
    QCOMPARE(q->field(QStringLiteral("发货日期")).asString(), QStringLiteral("2024-2-1"));
    QCOMPARE(q->field(QStringLiteral("应收运费")).asMoney(), *Money::parse(QStringLiteral("12.5")));
    // The filtering windows find it at once.
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 普通货物运输单 where (执行完结='否')and(调度单号='')")), QStringLiteral("1"));
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 普通货物运输单 where 发货日期 between cdate('2024-2-1') and cdate('2024-2-1 23:59:59')")),
             QStringLiteral("1"));
}

void TstDb::bookmarkAfterDelete()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('a'), ('b'), ('c')"));
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")});
    q->moveTo(1);
    const auto b = q->bookmark();
    q->refreshKeepingRow();
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("b"));
    t.exec(QStringLiteral("delete from 上游客户 where 客户名称='b'"));
    q->refreshKeepingRow();                   // gone: the last row
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("c"));
    QVERIFY(!q->gotoBookmark(b));
    q->first();
    q->deleteRecord();
    QCOMPARE(q->recordCount(), 1);
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("c"));
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QStringLiteral("1"));
}

void TstDb::failingPostLeavesRowUnchanged()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    t.exec(QStringLiteral("create trigger no_z before update on 上游客户 when new.客户名称='z' begin select raise(abort, 'refused by test'); end"));
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QString()});
    q->field(QStringLiteral("客户名称")).setAsString(QStringLiteral("z"));
    try {
        q->post();
        QFAIL("post should fail");
    } catch (const db::DbError &e) {
        QVERIFY(e.message().contains(QStringLiteral("refused by test")));
    }
    QCOMPARE(q->state(), db::Query::Edit);    // still pending: the caller decides
    q->cancel();
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("甲"));
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 from 上游客户")), QStringLiteral("甲"));
}

void TstDb::navigationFlags_data()
{
    // Rows in the list, then bof/eof after open, after next() and after prior().
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("afterOpen");
    QTest::addColumn<QString>("afterNext");
    QTest::addColumn<QString>("afterPrior");
    QTest::newRow("empty") << 0 << "BE" << "BE" << "BE";
    QTest::newRow("one row") << 1 << "B-" << "-E" << "B-";
    QTest::newRow("two rows") << 2 << "B-" << "--" << "--";
}

void TstDb::navigationFlags()
{
    QFETCH(int, rows);
    QFETCH(QString, afterOpen);
    QFETCH(QString, afterNext);
    QFETCH(QString, afterPrior);
    TestDb t;
    for (int i = 0; i < rows; ++i)
        t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('%1')").arg(QChar(u'a' + i)));
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")});
    const auto flags = [q] { return QString(q->bof() ? u'B' : u'-') + QString(q->eof() ? u'E' : u'-'); };
    QCOMPARE(flags(), afterOpen);
    q->next();
    QCOMPARE(flags(), afterNext);
    q->prior();
    QCOMPARE(flags(), afterPrior);

    // Forward and backward walks visit every row once.
    QStringList seen, back;
    for (q->first(); !q->eof(); q->next())
        seen << q->field(QStringLiteral("客户名称")).asString();
    QCOMPARE(q->recNo(), rows);
    for (q->last(); !q->bof(); q->prior())
        back.prepend(q->field(QStringLiteral("客户名称")).asString());
    QCOMPARE(seen.size(), rows);
    QCOMPARE(back, seen);
    if (rows == 0)
        return;
    QVERIFY(q->locate(QStringLiteral("客户名称"), QStringLiteral("a")));
    QCOMPARE(q->recNo(), 1);
    // Appending then cancelling goes back and leaves nothing behind.
    q->append();
    QCOMPARE(q->recordCount(), rows + 1);
    q->cancel();
    QCOMPARE(q->recordCount(), rows);
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QString::number(rows));
}

void TstDb::textComparesIgnoreCase_data()
{
    // A condition and the order numbers it lists, in "order by 运输单号" order.
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("all, sorted without regard to case") << QString() << QStringList{"hy001", "HY002", "Hy003"};
    QTest::newRow("key typed in upper case") << "(运输单号 = 'HY001')" << QStringList{"hy001"};
    QTest::newRow("key typed in lower case") << "(运输单号 = 'hy003')" << QStringList{"Hy003"};
    QTest::newRow("customer in either case") << "(上游客户 = 'ACME LTD')" << QStringList{"hy001", "HY002"};
    QTest::newRow("not equal") << "(上游客户 <> 'acme LTD')" << QStringList{"Hy003"};
    QTest::newRow("like") << "(上游客户 like '%ACME%')and(运输单号 like '%y0%')" << QStringList{"hy001", "HY002"};
    QTest::newRow("other letters still differ") << "(运输单号 = 'HY004')" << QStringList{};
}

void TstDb::textComparesIgnoreCase()
{
    QFETCH(QString, condition);
    QFETCH(QStringList, numbers);
    TestDb t;
    t.exec(QStringLiteral("insert into 普通货物运输单 (运输单号, 上游客户) values "
                          "('HY002', 'acme ltd'), ('Hy003', 'Other'), ('hy001', 'Acme Ltd')"));
    auto *q = t.dm()->q_freight_ysd;
    q->reopenWith({QStringLiteral("select * from 普通货物运输单"),
                   condition.isEmpty() ? QString() : QStringLiteral(" where ") + condition,
                   QStringLiteral("order by 运输单号")});
    QStringList got;
    for (q->first(); !q->eof(); q->next())
        got << q->field(QStringLiteral("运输单号")).asString();
    QCOMPARE(got, numbers);
}

void TstDb::postToVanishedRowFails()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    auto *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QString()});
    q->field(QStringLiteral("客户名称")).setAsString(QStringLiteral("乙"));
    t.exec(QStringLiteral("delete from 上游客户"));
    QVERIFY_THROWS_EXCEPTION(db::DbError, q->post());
    QCOMPARE(q->state(), db::Query::Edit);
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QStringLiteral("0"));
}

void TstDb::displaySuspension()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 通用 (texta, moneya) values ('a', 0), ('b', 0), ('c', 0)"));
    auto *q = t.dm()->q_tongyong;
    q->reopenWith({QStringLiteral("select * from "), QStringLiteral("通用"), QStringLiteral(" order by texta,textb")});
    QSignalSpy moved(q, &db::Query::currentChanged), reset(q, &db::Query::dataReset), changed(q, &db::Query::rowChanged);
    q->disableControls();
    q->disableControls();   // nested, as a shared step inside a window's own suspension
    for (q->first(); !q->eof(); q->next())
        q->field(QStringLiteral("moneya")).setAsMoney(*Money::parse(QStringLiteral("1.5")));
    q->first();
    q->enableControls();
    QCOMPARE(moved.count() + reset.count() + changed.count(), 0);
    q->enableControls();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(moved.count(), 1);
    // Every row was stored on the way, though nothing was shown.
    QCOMPARE(t.scalar(QStringLiteral("select sum(moneya) from 通用")), QStringLiteral("4.50"));
    QCOMPARE(q->field(QStringLiteral("texta")).asString(), QStringLiteral("a"));
}

void TstDb::cancelShowsStoredValuesAgain()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (运输单号, 应收运费) values ('A1', ccur('100')), ('A2', ccur('200'))"));
    auto *q = t.dm()->q_container_ysd;
    q->reopenWith({QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输期限从,运输单号")});
    grid::GridModel model;
    model.setQuery(q);
    model.setColumns({grid::Column{QStringLiteral("应收运费"), QStringLiteral("应收运费"), 80, true, false, grid::FooterKind::Sum, {}}});
    const auto cell = [&model] { return model.data(model.index(0, 0)).toString(); };
    QCOMPARE(model.footerText(0), QStringLiteral("300.00"));
    q->field(QStringLiteral("应收运费")).setAsString(QStringLiteral("1000"));
    QCOMPARE(cell(), QStringLiteral("1000.00"));
    QCOMPARE(model.footerText(0), QStringLiteral("1200.00"));
    QSignalSpy repaint(&model, &QAbstractItemModel::dataChanged);
    q->cancel();
    QCOMPARE(repaint.count(), 1);
    QCOMPARE(cell(), QStringLiteral("100.00"));
    QCOMPARE(model.footerText(0), QStringLiteral("300.00"));
}

void TstDb::windowSqlTextsRunAsWritten_data()
{
    // The SQL lines exactly as the windows write them (blanks included), and
    // what they must give over the small business below. `check` is "count"
    // (rows listed), "field:NAME" (the first row's NAME as shown) or
    // "exec:SELECT" (run the lines as a command, then the SELECT's value).
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("expected");
    const QString income = QStringLiteral("select sum(应收运费) as ysyf,sum(实收运费) as ssyf,sum(数量) as sl from 集装箱运输单");
    QTest::newRow("journal month")
        << QStringList{"select * from 现金日记帐 ", "where (日期 between cdate('2024-2-1') and cdate('2024-2-29'))", "order by 日期,编号"}
        << "count" << "2";
    QTest::newRow("journal amount range")
        << QStringList{"select * from 现金日记帐", " where (借方 between ccur('100') and ccur('150'))and(日期 between cdate('2024-2-1') and cdate('2024-2-29'))", "order by 日期,编号"}
        << "count" << "1";
    QTest::newRow("title sort line")
        << QStringList{"select * from 现金日记帐", "", " ORDER BY 日期 DESC , 编号"} << "field:日期" << "2024-3-1";
    QTest::newRow("payment list skips undispatched")
        << QStringList{"select * from 集装箱运输单", "where (下游帐款结清='否')and(车牌号<>'')", "order by 运输期限从"}
        << "count" << "1";
    QTest::newRow("receipt list takes the default")
        << QStringList{"select * from 集装箱运输单", "where 回单返回='否'", "order by 运输期限从,运输单号"} << "count" << "2";
    QTest::newRow("search with two blanks and cvdate")
        << QStringList{"select * from 集装箱运输单", " where (运输动态 like  '%武汉%')and(运输期限从 between cvdate('2024-2-1 0:0:0') and cvdate('2024-2-29 23:59:59'))", "order by 上游客户,运输单号"}
        << "count" << "2";
    QTest::newRow("month sum") << QStringList{income, " where ", "运输期限从 between cdate('2024-02-1 0:0:0') and cdate('2024-02-29 23:59:59')"}
                               << "field:ysyf" << "3500.00";
    QTest::newRow("month quantity") << QStringList{income, " where ", "运输期限从 between cdate('2024-02-1 0:0:0') and cdate('2024-02-29 23:59:59')"}
                                    << "field:sl" << "3";
    QTest::newRow("month of one customer")
        << QStringList{income, " where ", "(上游客户='甲')and(运输期限从 between cdate('2024-02-1 0:0:0') and cdate('2024-02-29 23:59:59'))"}
        << "field:ssyf" << "800.00";
    QTest::newRow("size group") << QStringList{income, " where ", "(运输期限从 between cdate('2024-2-1 0:0:0') and cdate('2024-3-1 23:59:59'))and(型号规格 = '40')"}
                                << "field:ysyf" << "2800.00";
    QTest::newRow("group without orders") << QStringList{income, " where ", "(运输期限从 between cdate('2023-1-1 0:0:0') and cdate('2023-1-31 23:59:59'))"}
                                          << "field:ysyf" << "";
    QTest::newRow("downstream sums")
        << QStringList{"select sum(运输金额) as ysje,sum(路桥费) as lqf,sum(油费) as yf,sum(罚款) as fk,sum(其它费用) as qtfy,sum(劳务费) as lwf,sum(应付运费) as yfyf,sum(实付运费) as sfyf from 普通货物调度单", " where ", "(发货日期 between cdate('2024-2-1 0:0:0') and cdate('2024-2-29 23:59:59'))"}
        << "field:yfyf" << "123.4567";
    QTest::newRow("goods of a customer") << QStringList{"select * from 货物信息", "where  客户名称='甲'", "order by 客户名称,货物名称 "}
                                         << "count" << "1";
    QTest::newRow("vehicles, two blanks") << QStringList{"select * from 承运车辆 order by  车牌号"} << "field:车牌号" << "鄂A1";
    QTest::newRow("orders free to dispatch")
        << QStringList{"select * from 普通货物运输单 where (执行完结='否')and(调度单号='')", "order by 上游客户,运输单号"} << "count" << "1";
    QTest::newRow("quick search on one day")
        << QStringList{"select * from 普通货物调度单 ", " where (发货日期 between cdate('2024-2-29') and cdate('2024-2-29'))", "order by 承运单位,发货日期"}
        << "count" << "1";
    QTest::newRow("scratch in three lines") << QStringList{"select * from ", "通用", " order by textb,textc"} << "field:textc" << "01月";
    QTest::newRow("dispatch copied into its orders")
        << QStringList{"update 普通货物运输单 set 承运单位='顺达',车牌号='鄂A1',驾驶员='王五'", "where 调度单号='D1'"}
        << "exec:select count(*) from 普通货物运输单 where (车牌号='鄂A1')and(驾驶员='王五')" << "2";
    QTest::newRow("completion with arrival")
        << QStringList{"update 普通货物运输单 set 执行完结='是'", ",到达时间=cdate('2024-3-5')", "where 调度单号='D1'"}
        << "exec:select count(*) from 普通货物运输单 where (执行完结='是')and(到达时间 between cdate('2024-3-5 0:0:0') and cdate('2024-3-5 23:59:59'))"
        << "2";
    QTest::newRow("completion clearing arrival")
        << QStringList{"update 普通货物运输单 set 执行完结='否'", ",到达时间=null", "where 调度单号='D1'"}
        << "exec:select count(*) from 普通货物运输单 where 到达时间 is null" << "3";
    QTest::newRow("emptying the scratch table") << QStringList{"delete from 通用"} << "exec:select count(*) from 通用" << "0";
}

void TstDb::windowSqlTextsRunAsWritten()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, check);
    QFETCH(QString, expected);
    TestDb t;
    t.exec(QStringLiteral(
        "insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 型号规格, 数量, 应收运费, 实收运费, 运输动态, 车牌号) values "
        "('甲', 'A1', cdate('2024-2-1'), '20', 1, ccur('1000'), ccur('800'), '武汉-上海', '鄂A1'), "
        "('乙', 'A2', cdate('2024-2-29'), '40', 2, ccur('2500'), null, '杨泗港-武汉', ''), "
        "('甲', 'A3', cdate('2024-3-1'), '40', 1, ccur('300'), null, '武汉-长沙', null)"));
    t.exec(QStringLiteral("update 集装箱运输单 set 回单返回='是' where 运输单号='A3'"));
    t.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 贷方) values (cdate('2024-2-1'), '收入', ccur('150'), null), "
                          "(cdate('2024-2-29'), '支出', null, ccur('50')), (cdate('2024-3-1'), '收入', ccur('100'), null)"));
    t.exec(QStringLiteral("insert into 普通货物运输单 (运输单号, 上游客户, 调度单号, 到达时间) values ('F1', '甲', 'D1', cdate('2024-3-1')), "
                          "('F2', '乙', 'D1', null)"));
    t.exec(QStringLiteral("insert into 普通货物运输单 (运输单号, 上游客户) values ('F3', '甲')"));
    t.exec(QStringLiteral("insert into 普通货物调度单 (调度单号, 发货日期, 运输金额, 应付运费) values ('D1', cdate('2024-2-29'), ccur('200'), ccur('123.4567'))"));
    t.exec(QStringLiteral("insert into 货物信息 (客户名称, 货物名称) values ('甲', '钢材'), ('乙', '大米')"));
    t.exec(QStringLiteral("insert into 承运车辆 (车牌号) values ('鄂B2'), ('鄂A1')"));
    t.exec(QStringLiteral("insert into 通用 (textb, textc) values ('2024年', '02月'), ('2024年', '01月')"));

    auto *q = t.dm()->q_search;
    q->close();
    q->sql().clear();
    q->sql() << lines;
    if (check.startsWith(QStringLiteral("exec:"))) {
        q->execSql();
        QCOMPARE(t.scalar(check.mid(5)), expected);
        return;
    }
    q->open();
    if (check == QStringLiteral("count"))
        QCOMPARE(QString::number(q->recordCount()), expected);
    else
        QCOMPARE(q->field(check.mid(6)).asString(), expected);
}

void TstDb::openErrors()
{
    TestDb t;
    db::Connection c;
    c.setDatabaseName(t.dir() + QStringLiteral("/missing.mdb"));
    QVERIFY_THROWS_EXCEPTION(db::DbError, c.open());
    QFile junk(t.dir() + QStringLiteral("/junk.mdb"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    c.setDatabaseName(junk.fileName());
    QVERIFY_THROWS_EXCEPTION(db::DbError, c.open());
    QVERIFY(!c.isOpen());
    // A query on a missing table reports the engine's error and stays closed.
    auto *q = t.dm()->q_search;
    q->setSql({QStringLiteral("select * from 没有这个表")});
    QVERIFY_THROWS_EXCEPTION(db::DbError, q->open());
    QVERIFY(!q->isActive());
}

void TstDb::engineErrorsSpeakChinese_data()
{
    QTest::addColumn<QString>("disk");        // what happens to the disk under the file
    QTest::addColumn<QString>("first");       // the clerk's sentence
    QTest::addColumn<QString>("engine");      // the engine's words after it
    QTest::newRow("full") << "full" << S("磁盘已满。") << "database or disk is full";
    QTest::newRow("read-only") << "read-only" << S("文件只读，不能写入。") << "readonly database";
}

void TstDb::engineErrorsSpeakChinese()
{
    QFETCH(QString, disk);
    QFETCH(QString, first);
    QFETCH(QString, engine);
    ScratchMount mount(1024);
    if (!mount.ok())
        QSKIP(qPrintable(mount.why()));
    TestDb t;
    t.dm()->ADO_system->close();
    QVERIFY(QFile::copy(t.file(), mount.filePath(S("data.mdb"))));
    if (disk == QLatin1String("read-only"))
        QVERIFY(mount.setReadOnly(true));
    t.dm()->ADO_system->setDatabaseName(mount.filePath(S("data.mdb")));
    t.dm()->ADO_system->open();
    if (disk == QLatin1String("full"))
        mount.fill();
    QString message;
    try {
        db::Transaction tx(*t.dm()->ADO_system);
        t.exec(S("insert into 上游客户 (客户名称, 备注) values ('甲', '%1')").arg(QString(200000, QLatin1Char('x'))));
        tx.commit();
    } catch (const db::DbError &e) {
        message = e.message();
    }
    QVERIFY2(message.startsWith(first) && message.contains(engine), qPrintable(message));
    t.dm()->ADO_system->close();
    mount.setReadOnly(false);
}

// What the windows' SQL texts rely on, the same on both engines: like has
// no escape character, nulls sort first (last when descending), a date that
// is no date is refused, money literals are exact.
void TstDb::dialectReadsAlike_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");   // "!" + words of the refusal
    QTest::newRow("backslash is no escape") << "select count(*) from 上游客户 where 客户名称 like '%\\%'" << "1";
    QTest::newRow("percent matches anything") << "select count(*) from 上游客户 where 客户名称 like 'a%'" << "3";
    QTest::newRow("underscore one character") << "select count(*) from 上游客户 where 客户名称 like 'a_b'" << "2";
    QTest::newRow("nulls first") << "select group_concat(coalesce(备注, '-'), ',') from (select 备注 from 上游客户 order by 备注, 客户名称) x"
                                 << "-,-,甲,乙";
    QTest::newRow("nulls last descending")
        << "select group_concat(coalesce(备注, '-'), ',') from (select 备注 from 上游客户 order by 备注 desc, 客户名称) x" << "乙,甲,-,-";
    QTest::newRow("leap day") << "select cdate('2024-2-29')" << "2024-02-29 00:00:00";
    QTest::newRow("no such day") << "select cdate('2023-2-29')" << "!日期格式不正确";
    QTest::newRow("no date at all") << "select cvdate('2023-13-1')" << "!日期格式不正确";
    QTest::newRow("money literal") << "select ccur('12.5') + ccur(0.25)" << "127500";
    QTest::newRow("subquery without a name") << "select count(*) from (select * from 上游客户 where 备注 is null)" << "2";
}

void TstDb::dialectReadsAlike()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 备注) values ('a\\b', null), ('a%b', '乙'), ('ab', null), ('xy', '甲')"));
    if (!expected.startsWith(QLatin1Char('!'))) {
        QCOMPARE(t.scalar(sql), expected);
        return;
    }
    try {
        t.scalar(sql);
        QFAIL("accepted");
    } catch (const db::DbError &e) {
        QVERIFY2(e.message().contains(expected.mid(1)), qPrintable(e.message()));
    }
}

QTEST_MAIN(TstDb)
#include "tst_db.moc"
