// Container orders: the entry window (checks, duplicate rule, route, consignee
// choice, quick search, search dialog) and the receipt-return and collection
// windows (checks, 全部返回).
#include "app/main.h"
#include "container/container_ysd.h"
#include "container/container_ysd_cx.h"
#include "container/container_ysd_fh.h"
#include "container/container_ysd_sk.h"
#include "data/session.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "masterdata/deliveryinfo.h"
#include "spine_driver.h"

namespace {
QString S(const char *s) { return QString::fromUtf8(s); }

// Prepares q_container_ysd and the customer lists as the menu handler does.
void prepare(TDm1 *dm, QDialog &w, const char *where = nullptr)
{
    QStringList lines{S("select * from 集装箱运输单")};
    if (where)
        lines << S(where);
    lines << S("order by 运输期限从,运输单号");
    dm->q_container_ysd->reopenWith(lines);
    dm->q_guestinfo->reopenWith({S("select * from 上游客户"), S("order by 客户名称")});
    for (int r = 0; r < dm->q_guestinfo->recordCount(); ++r)
        for (const char *c : {"DBComboBoxEh2", "DBComboBoxEh3"})
            if (auto *combo = w.findChild<QComboBox *>(S(c)))
                combo->addItem(dm->q_guestinfo->displayText(r, 0));
    dm->q_guestinfo->close();
    w.show();
}

QStringList column(db::Query *q, const char *field)
{
    QStringList l;
    for (int r = 0; r < q->recordCount(); ++r)
        l << q->displayText(r, q->fieldIndex(S(field)));
    return l;
}

// A new order typed into the entry window.
void typeOrder(QDialog &w, const QString &customer, const QString &number, const QString &box, const QString &size)
{
    click(&w, "bitbtn_add");
    put(&w, "DBComboBoxEh2", customer);
    put(&w, "DBEdit6", number);
    put(&w, "DBEdit7", box);
    put(&w, "DBComboBoxEh1", size);
}
} // namespace

class TstContainerOrders : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("王五"); }
    void newOrderReachesEveryStage();
    void saveChecks_data();
    void saveChecks();
    void duplicateRule();
    void routeWrittenOnSave_data();
    void routeWrittenOnSave();
    void chooseConsignee();
    void quickSearch_data();
    void quickSearch();
    void searchDialog();
    void receiptChecks_data();
    void receiptChecks();
    void allReturned();
    void allReturnedFailureKeepsEverything();
    void collectionChecks_data();
    void collectionChecks();
};

void TstContainerOrders::newOrderReachesEveryStage()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁')"));
    MessageScript ms;
    TForm_main main;
    velorin::startup_done = true;
    QStringList fh, sk;
    ModalDriver driver([&](QDialog *d) {
        if (qobject_cast<TForm_container_ysd *>(d)) {
            QCOMPARE(itemsOf(d, "DBComboBoxEh2"), QStringList{S("武汉钢铁")});
            typeOrder(*d, S("武汉钢铁"), S("Y001"), S("TGHU1234567"), S("40"));
            click(d, "bitbtn_save");
        } else {
            QCOMPARE(itemsOf(d, "DBComboBoxEh3"), QStringList{S("武汉钢铁")});
            (qobject_cast<TForm_container_ysd_fh *>(d) ? fh : sk) = column(Dm1->q_container_ysd, "运输单号");
        }
    });
    main.menuAction(S("N24"))->trigger();
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    main.menuAction(S("N38"))->trigger();
    main.menuAction(S("N55"))->trigger();
    QCOMPARE(driver.shown, QStringList({S("TForm_container_ysd"), S("TForm_container_ysd_fh"), S("TForm_container_ysd_sk")}));
    QCOMPARE(fh, QStringList{S("Y001")});
    QCOMPARE(sk, QStringList{S("Y001")});
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 执行完结='否'")), S("1"));
    QCOMPARE(t.scalar(S("select 回单返回 || 帐款结清 || 执行完结 || 下游帐款结清 || 操作员 from 集装箱运输单")),
             S("否否否否王五"));
    QVERIFY(!t.dm()->q_container_ysd->isActive());
}

void TstContainerOrders::saveChecks_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok = S("保存完毕！");
    QTest::newRow("no customer") << "  " << "" << "" << "" << "" << "" << S("上游客户不能为空,请重新输入!") << "DBComboBoxEh2";
    QTest::newRow("no number") << S("甲") << " " << "" << "" << "" << "" << S("运输单号不能为空,请重新输入!") << "DBEdit6";
    QTest::newRow("no box") << S("甲") << "A1" << "" << "30" << "" << "" << S("集装箱箱号不能为空,请重新输入!") << "DBEdit7";
    QTest::newRow("size with a blank") << S("甲") << "A1" << "B" << " 20" << "" << "" << S("型号规格应该为20或40,请重新输入!") << "DBComboBoxEh1";
    QTest::newRow("size 45") << S("甲") << "A1" << "B" << "45" << "" << "" << S("型号规格应该为20或40,请重新输入!") << "DBComboBoxEh1";
    QTest::newRow("from after to") << S("甲") << "A1" << "B" << "20" << "2024-3-6" << "2024-3-5" << S("运输期限到不能小于运输期从,请重新输入!") << "DBDateTimeEditEh2";
    QTest::newRow("to only") << S("甲") << "A1" << "B" << "40" << "" << "2024-3-5" << ok << "";
    QTest::newRow("from only") << S("甲") << "A1" << "B" << "40" << "2024-3-5" << "" << ok << "";
    QTest::newRow("one day") << S("甲") << "A1" << "B" << "20" << "2024-3-5" << "2024-3-5" << ok << "";
}

void TstContainerOrders::saveChecks()
{
    QFETCH(QString, customer);
    QFETCH(QString, number);
    QFETCH(QString, box);
    QFETCH(QString, size);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    typeOrder(w, customer, number, box, size);
    put(&w, "DBDateTimeEditEh1", from);
    put(&w, "DBDateTimeEditEh2", to);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(w.editing(), !focus.isEmpty());
    if (!focus.isEmpty()) {
        QCOMPARE(focusName(&w), focus);
        QCOMPARE(textOf(&w, "DBEdit6"), number);   // what was typed stays for correction
        QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单")), S("0"));
    } else {
        QCOMPARE(t.scalar(S("select 运输单号 || '/' || 型号规格 from 集装箱运输单")), number + S("/") + size);
    }
}

void TstContainerOrders::duplicateRule()
{
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 箱号, 型号规格) values "
             "('甲', 'A1', 'B', '20'), ('乙', 'B1', 'B', '20'), ('甲', 'O''1', 'B', '20')"));
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    auto *q = t.dm()->q_container_ysd;
    const auto saveGives = [&](const QString &expected) {
        ms.clear();
        click(&w, "bitbtn_save");
        QCOMPARE(ms.texts(), QStringList{expected});
    };
    const QString dup = S("运输单号重复,请重新输入!");

    typeOrder(w, S("甲"), S("A1"), S("B"), S("20"));
    saveGives(dup);
    QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    QCOMPARE(focusName(&w), S("DBEdit6"));
    QVERIFY(w.editing());
    put(&w, "DBEdit6", S("O'1"));                  // a quote in the number is only a character
    saveGives(dup);
    put(&w, "DBComboBoxEh2", S("乙"));              // the same number for another customer
    saveGives(S("保存完毕！"));

    // Editing without changing the key finds the row itself: no duplicate.
    q->locate(S("运输单号"), S("A1"));
    click(&w, "bitbtn_edit");
    put(&w, "DBEdit7", S("NEWBOX"));
    saveGives(S("保存完毕！"));
    // Renaming to a number the same customer already uses is.
    click(&w, "bitbtn_edit");
    put(&w, "DBEdit6", S("O'1"));
    saveGives(dup);
    click(&w, "bitbtn_cancel");
    QCOMPARE(t.scalar(S("select group_concat(上游客户 || 运输单号 || 箱号, ',') from "
                        "(select * from 集装箱运输单 order by rowid)")),
             S("甲A1NEWBOX,乙B1B,甲O'1B,乙O'1B"));
}

void TstContainerOrders::routeWrittenOnSave_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("route");
    QTest::newRow("both") << S("武汉") << S("上海") << S("武汉-上海");
    QTest::newRow("neither") << "" << "" << "-";
    QTest::newRow("origin only") << S("武汉") << "" << S("武汉-");
}

void TstContainerOrders::routeWrittenOnSave()
{
    QFETCH(QString, origin);
    QFETCH(QString, destination);
    QFETCH(QString, route);
    TestDb t;
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    typeOrder(w, S("甲"), S("A1"), S("B"), S("20"));
    QVERIFY(w.findChild<QLineEdit *>(S("DBEdit4"))->isReadOnly());   // never typed, even while editing
    put(&w, "DBEdit1", origin);
    put(&w, "DBEdit3", destination);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(t.scalar(S("select 运输动态 from 集装箱运输单")), route);
    QCOMPARE(textOf(&w, "DBEdit4"), route);
}

void TstContainerOrders::chooseConsignee()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('甲'), ('乙')"));
    t.exec(S("insert into 收货单位 (单位名称, 上游客户) values ('甲一库', '甲'), ('甲二库', '甲'), ('乙库', '乙')"));
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    QVERIFY(!enabled(&w, "choose_shr"));
    QStringList offered;
    ModalDriver driver([&](QDialog *d) {
        offered = column(Dm1->q_deliveryinfo, "单位名称");
        Dm1->q_deliveryinfo->locate(S("单位名称"), S("甲二库"));
        click(d, "SpeedButton3");
    });
    typeOrder(w, S("甲"), S("A1"), S("B"), S("20"));
    click(&w, "choose_shr");
    QCOMPARE(offered, QStringList({S("甲一库"), S("甲二库")}));   // the typed customer's consignees
    QCOMPARE(textOf(&w, "DBEdit9"), S("甲二库"));
    QVERIFY(w.editing());
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    QCOMPARE(t.scalar(S("select 收货人 from 集装箱运输单")), S("甲二库"));
    QVERIFY(!enabled(&w, "choose_shr"));
}

void TstContainerOrders::quickSearch_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("found");
    QTest::newRow("nothing: all by customer and number") << "" << "" << "" << "" << "A1,A2,B1";
    QTest::newRow("day") << "" << "" << "" << "2024-3-5" << "A2,B1";
    QTest::newRow("customer and day") << S("A公") << "" << "" << "2024-3-5" << "A2";
    QTest::newRow("box") << "" << "ZZ" << "" << "" << "A1";
    QTest::newRow("route") << "" << "" << S("上海") << "" << "B1";
    QTest::newRow("none") << S("C公司") << "" << "" << "" << "";
}

void TstContainerOrders::quickSearch()
{
    QFETCH(QString, customer);
    QFETCH(QString, box);
    QFETCH(QString, route);
    QFETCH(QString, day);
    QFETCH(QString, found);
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 箱号, 运输动态, 运输期限从) values "
             "('B公司', 'B1', 'XX', '武汉-上海', '2024-03-05 00:00:00'), "
             "('A公司', 'A2', 'XX', '武汉-南京', '2024-03-05 00:00:00'), "
             "('A公司', 'A1', 'ZZ1', '武汉-南京', '2024-03-06 00:00:00')"));
    MessageScript ms;
    // The receipt window shares the search; its own filter does not survive it.
    t.exec(S("update 集装箱运输单 set 回单返回='是' where 运输单号='A1'"));
    TForm_container_ysd_fh w(nullptr);
    prepare(t.dm(), w, "where 回单返回='否'");
    put(&w, "DBComboBoxEh3", customer);
    put(&w, "Edit1", box);
    put(&w, "Edit3", route);
    put(&w, "DBDateTimeEditEh3", day);
    QTest::keyClick(w.findChild<QWidget *>(S("DBDateTimeEditEh3")), Qt::Key_Return);   // Enter in the date searches
    QCOMPARE(column(t.dm()->q_container_ysd, "运输单号").join(QLatin1Char(',')), found);
    QCOMPARE(t.dm()->q_container_ysd->sql().last(), S("order by 上游客户,运输单号"));
    QCOMPARE(ms.texts(), found.isEmpty() ? QStringList{S("没有找到合适的记录！")} : QStringList{});
}

void TstContainerOrders::searchDialog()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('乙'), ('甲')"));
    t.exec(S("insert into 收货单位 (单位名称, 上游客户) values ('甲一库', '甲')"));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从) values "
             "('甲', 'A1', '2024-03-05 00:00:00'), ('甲', 'A2', '2024-03-05 23:59:59'), "
             "('甲', 'A3', '2024-03-06 00:00:00'), ('乙', 'A4', '2024-03-04 23:59:59')"));
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    ModalDriver driver([&](QDialog *d) {
        QCOMPARE(itemsOf(d, "DBComboBoxEh4").size(), 2);
        QCOMPARE(itemsOf(d, "DBComboBoxEh5"), QStringList{S("甲一库")});
        // The period needs both ends, in order.
        put(d, "DBDateTimeEditEh2", S("2024-3-5"));
        click(d, "bitbtn_seek");
        QCOMPARE(ms.last(), S("必须输入完整的运输期限,请重新输入!"));
        QCOMPARE(focusName(d), S("DBDateTimeEditEh1"));
        put(d, "DBDateTimeEditEh1", S("2024-3-6"));
        click(d, "bitbtn_seek");
        QCOMPARE(ms.last(), S("运输期限从不能大于运输期限到,请重新输入!"));
        QCOMPARE(focusName(d), S("DBDateTimeEditEh1"));
        // One day runs from 0:0:0 to 23:59:59; typed text is upper-cased.
        put(d, "DBDateTimeEditEh1", S("2024-3-5"));
        put(d, "Edit3", S("a9"));
        QCOMPARE(textOf(d, "Edit3"), S("A9"));
        ms.answer(QMessageBox::Yes);
        click(d, "bitbtn_seek");
        QCOMPARE(ms.last(), S("没有找到合适的记录,是否重新查找!!"));
        QVERIFY(d->isVisible());
        put(d, "Edit3", QString());
        QTest::keyClick(d->findChild<QWidget *>(S("Edit2")), Qt::Key_Return);   // Enter in the last field searches
        QCOMPARE(d->result(), int(QDialog::Accepted));
    });
    click(&w, "SpeedButton5");
    QCOMPARE(driver.shown, QStringList{S("TForm_container_ysd_cx")});
    QCOMPARE(column(t.dm()->q_container_ysd, "运输单号"), QStringList({S("A1"), S("A2")}));
    QCOMPARE(w.grid()->model()->rowCount(), 2);
}

void TstContainerOrders::receiptChecks_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("returned");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok = S("保存完毕！");
    const QString flagMsg = S("回单返回为是或否,请重新输入!");
    QTest::newRow("empty flag") << "" << "" << "" << flagMsg << "DBComboBoxEh4";
    QTest::newRow("other text") << S("是的") << "" << "" << flagMsg << "DBComboBoxEh4";
    QTest::newRow("before the period's end") << S("是") << "2024-3-4" << "2024-03-05 00:00:00"
                                             << S("回单返回时间不能小于运输期限到,请重新输入!") << "DBDateTimeEditEh2";
    QTest::newRow("on the period's end") << S("是") << "2024-3-5" << "2024-03-05 00:00:00" << ok << "";
    QTest::newRow("no period end") << S("是") << "2024-3-4" << "" << ok << "";
    QTest::newRow("no with nothing else") << S("否") << "" << "2024-03-05 00:00:00" << ok << "";
}

void TstContainerOrders::receiptChecks()
{
    QFETCH(QString, flag);
    QFETCH(QString, returned);
    QFETCH(QString, limit);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限到) values ('甲', 'A1', %1)")
               .arg(limit.isEmpty() ? S("null") : S("'") + limit + S("'")));
    MessageScript ms;
    TForm_container_ysd_fh w(nullptr);
    prepare(t.dm(), w, "where 回单返回='否'");
    click(&w, "bitbtn_edit");
    QCOMPARE(focusName(&w), S("DBComboBoxEh4"));
    QVERIFY(w.findChild<QLineEdit *>(S("DBEdit6"))->isReadOnly());
    put(&w, "DBComboBoxEh4", flag);
    put(&w, "DBDateTimeEditEh2", returned);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(w.editing(), !focus.isEmpty());
    if (!focus.isEmpty()) {
        QCOMPARE(focusName(&w), focus);
        QCOMPARE(t.scalar(S("select 回单返回 from 集装箱运输单")), S("否"));
    } else {
        QCOMPARE(t.scalar(S("select 回单返回 || 操作员 from 集装箱运输单")), flag + S("王五"));
        QCOMPARE(t.dm()->q_container_ysd->recordCount(), 1);   // stays listed until the list is loaded again
    }
}

void TstContainerOrders::allReturned()
{
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 运输期限到, 驾驶员) values "
             "('甲', 'A1', '2024-03-01 00:00:00', '2024-03-03 00:00:00', '张师傅'), "
             "('甲', 'A2', '2024-03-02 00:00:00', '2024-03-09 00:00:00', null), "
             "('乙', 'B1', '2024-03-03 00:00:00', null, '李师傅')"));
    MessageScript ms;
    TForm_container_ysd_fh w(nullptr);
    prepare(t.dm(), w, "where 回单返回='否'");
    auto *q = t.dm()->q_container_ysd;
    const QString marks = S("select group_concat(运输单号 || ':' || 回单返回 || ':' || ifnull(回单返回时间, '') || ':' || "
                            "ifnull(交单人, '~') || ':' || ifnull(操作员, ''), ' ') from (select * from 集装箱运输单 order by rowid)");
    const QString before = t.scalar(marks);

    ms.answer(QMessageBox::No);
    click(&w, "SpeedButton6");
    QCOMPARE(ms.seen().last().text, S("以下记录回单确实都返回了吗? "));
    QCOMPARE(ms.seen().last().caption, S("请选择"));
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    QCOMPARE(t.scalar(marks), before);

    // A pending edit is dropped, not posted unchecked; every row is then marked.
    q->last();
    click(&w, "bitbtn_edit");
    put(&w, "DBEdit1", S("临时"));
    click(&w, "SpeedButton6");
    QVERIFY(!w.editing());
    QCOMPARE(t.scalar(marks), S("A1:是:2024-03-03 00:00:00:张师傅: A2:是:2024-03-09 00:00:00:: B1:是::李师傅:"));
    QCOMPARE(column(q, "回单返回"), QStringList({S("是"), S("是"), S("是")}));   // still listed
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(textOf(&w, "DBEdit1"), S("张师傅"));

    // An empty list changes nothing and shows nothing more than the question.
    t.exec(S("update 集装箱运输单 set 回单返回='否', 交单人=null"));
    q->reopenWith({S("select * from 集装箱运输单"), S("where 1=0"), S("order by 运输单号")});
    ms.clear();
    click(&w, "SpeedButton6");
    QCOMPARE(ms.texts(), QStringList{S("以下记录回单确实都返回了吗? ")});
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 回单返回='是'")), S("0"));
}

void TstContainerOrders::allReturnedFailureKeepsEverything()
{
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 驾驶员) values ('甲', 'A1', '张'), ('甲', 'A2', '李')"));
    t.exec(S("create trigger refuse before update of 回单返回 on 集装箱运输单 when old.运输单号 = 'A2' "
             "begin select raise(abort, 'locked'); end"));
    MessageScript ms;
    TForm_container_ysd_fh w(nullptr);
    prepare(t.dm(), w, "where 回单返回='否'");
    click(&w, "SpeedButton6");
    QCOMPARE(ms.seen().size(), 2);
    QVERIFY(ms.last().contains(S("运输单号 A2")));
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 回单返回='是' or 交单人 is not null")), S("0"));
    QCOMPARE(column(t.dm()->q_container_ysd, "回单返回"), QStringList({S("否"), S("否")}));
    QCOMPARE(column(t.dm()->q_container_ysd, "交单人"), QStringList({QString(), QString()}));
}

void TstContainerOrders::collectionChecks_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("collected");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok = S("保存完毕！");
    QTest::newRow("empty flag") << "" << "100" << "" << S("帐款结清为是或否,请重新输入!") << "DBComboBoxEh4";
    QTest::newRow("before the period's end") << S("是") << "100" << "2024-3-4"
                                             << S("收款日期不能小于运输期限到,请重新输入!") << "DBDateTimeEditEh2";
    QTest::newRow("part paid but settled") << S("是") << "100" << "2024-3-5" << ok << "";
    QTest::newRow("not settled") << S("否") << "" << "" << ok << "";
}

void TstContainerOrders::collectionChecks()
{
    QFETCH(QString, flag);
    QFETCH(QString, collected);
    QFETCH(QString, date);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    // The receipt column plays no part here.
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限到, 应收运费, 回单返回) "
             "values ('甲', 'A1', '2024-03-05 00:00:00', 5000000, '')"));
    MessageScript ms;
    TForm_container_ysd_sk w(nullptr);
    prepare(t.dm(), w, "where 帐款结清='否'");
    QCOMPARE(textOf(&w, "DBEdit5"), S("500.00"));
    click(&w, "bitbtn_edit");
    QCOMPARE(focusName(&w), S("DBComboBoxEh4"));
    put(&w, "DBNumberEditEh1", collected);
    put(&w, "DBComboBoxEh4", flag);
    put(&w, "DBDateTimeEditEh2", date);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(w.editing(), !focus.isEmpty());
    if (!focus.isEmpty()) {
        QCOMPARE(focusName(&w), focus);
        QCOMPARE(t.scalar(S("select 帐款结清 from 集装箱运输单")), S("否"));
    } else {
        QCOMPARE(t.scalar(S("select 帐款结清 || '/' || ifnull(实收运费, '') || '/' || 操作员 from 集装箱运输单")),
                 flag + S("/") + (collected.isEmpty() ? QString() : S("1000000")) + S("/王五"));
    }
}

QTEST_MAIN(TstContainerOrders)
#include "tst_container_orders.moc"
