// Container orders: the entry window (checks, duplicate rule, route, consignee
// choice, search dialog) and the receipt-return and collection windows.
#include "app/main.h"
#include "container/container_ysd.h"
#include "container/container_ysd_fh.h"
#include "container/container_ysd_sk.h"
#include "data/session.h"
#include "formhelpers.h"
#include "spine_driver.h"

namespace {
// q_container_ysd opened as the menu handlers do.
void prepare(TDm1 *dm, QDialog &w, const char *where = nullptr)
{
    QStringList lines{S("select * from 集装箱运输单")};
    if (where)
        lines << S(where);
    dm->q_container_ysd->reopenWith(lines << S("order by 运输期限从,运输单号"));
    w.show();
}

void typeOrder(QDialog &w, const QString &customer, const QString &number, const QString &box, const QString &size)
{
    click(&w, "bitbtn_add");
    put(&w, "DBComboBoxEh2", customer);
    put(&w, "DBEdit6", number);
    put(&w, "DBEdit7", box);
    put(&w, "DBComboBoxEh1", size);
}

QString orders(const TestDb &t, const char *expr)
{
    return t.scalar(S("select group_concat(%1, ',') from (select * from 集装箱运输单 order by rowid)").arg(S(expr)));
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
    void chooseConsigneeAndRoute();
    void searchDialog();
    void stageChecks_data();
    void stageChecks();
    void allReturned();
};

void TstContainerOrders::newOrderReachesEveryStage()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁')"));
    MessageScript ms;
    TForm_main main;
    QStringList listed;
    ModalDriver driver([&](QDialog *d) {
        if (!qobject_cast<TForm_container_ysd *>(d)) {
            listed << columnOf(Dm1->q_container_ysd, "运输单号");
            return;
        }
        QCOMPARE(itemsOf(d, "DBComboBoxEh2"), QStringList{S("武汉钢铁")});
        typeOrder(*d, S("武汉钢铁"), S("Y001"), S("TGHU1234567"), S("40"));
        click(d, "bitbtn_save");
    });
    for (const char *item : {"N24", "N38", "N55"})
        main.menuAction(S(item))->trigger();
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    QCOMPARE(listed, QStringList({S("Y001"), S("Y001")}));   // receipt and collection lists
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 执行完结='否'")), S("1"));   // dispatch list
    QCOMPARE(orders(t, "回单返回 || 帐款结清 || 下游帐款结清 || 运输动态 || 操作员"), S("否否否-王五"));
}

void TstContainerOrders::saveChecks_data()
{
    QTest::addColumn<QStringList>("typed");   // customer, number, box, size, from, to
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok = S("保存完毕！"), size = S("型号规格应该为20或40,请重新输入!");
    QTest::newRow("no customer") << QStringList{" ", "", "", "", "", ""} << S("上游客户不能为空,请重新输入!") << "DBComboBoxEh2";
    QTest::newRow("no number") << QStringList{"K", " ", "", "", "", ""} << S("运输单号不能为空,请重新输入!") << "DBEdit6";
    QTest::newRow("no box") << QStringList{"K", "A1", "", "30", "", ""} << S("集装箱箱号不能为空,请重新输入!") << "DBEdit7";
    QTest::newRow("size with a blank") << QStringList{"K", "A1", "B", " 20", "", ""} << size << "DBComboBoxEh1";
    QTest::newRow("size 45") << QStringList{"K", "A1", "B", "45", "", ""} << size << "DBComboBoxEh1";
    QTest::newRow("from after to") << QStringList{"K", "A1", "B", "20", "2024-3-6", "2024-3-5"}
                                   << S("运输期限到不能小于运输期从,请重新输入!") << "DBDateTimeEditEh2";
    QTest::newRow("to only") << QStringList{"K", "A1", "B", "40", "", "2024-3-5"} << ok << "";
    QTest::newRow("one day") << QStringList{"K", "A1", "B", "20", "2024-3-5", "2024-3-5"} << ok << "";
}

void TstContainerOrders::saveChecks()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    typeOrder(w, typed[0], typed[1], typed[2], typed[3]);
    put(&w, "DBDateTimeEditEh1", typed[4]);
    put(&w, "DBDateTimeEditEh2", typed[5]);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(w.editing(), !focus.isEmpty());
    if (!focus.isEmpty())
        QCOMPARE(focusName(&w), focus);
    QCOMPARE(orders(t, "运输单号 || 型号规格"), focus.isEmpty() ? typed[1] + typed[3] : QString());
}

void TstContainerOrders::duplicateRule()
{
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 箱号, 型号规格) values "
             "('甲', 'A1', 'B', '20'), ('甲', 'O''1', 'B', '20')"));
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    const QString dup = S("运输单号重复,请重新输入!"), ok = S("保存完毕！");
    const auto save = [&] {
        ms.clear();
        click(&w, "bitbtn_save");
        return ms.last();
    };
    typeOrder(w, S("甲"), S("O'1"), S("B"), S("20"));
    QCOMPARE(save(), dup);
    QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    QCOMPARE(focusName(&w), S("DBEdit6"));
    put(&w, "DBComboBoxEh2", S("乙"));        // the same number for another customer
    QCOMPARE(save(), ok);
    t.dm()->q_container_ysd->locate(S("运输单号"), S("A1"));
    click(&w, "bitbtn_edit");                 // unchanged key: finding the row itself is no duplicate
    put(&w, "DBEdit7", S("NEW"));
    QCOMPARE(save(), ok);
    click(&w, "bitbtn_edit");                 // renamed to a number the customer already uses
    put(&w, "DBEdit6", S("O'1"));
    QCOMPARE(save(), dup);
    click(&w, "bitbtn_cancel");
    QCOMPARE(orders(t, "上游客户 || 运输单号 || 箱号"), S("甲A1NEW,甲O'1B,乙O'1B"));
}

void TstContainerOrders::chooseConsigneeAndRoute()
{
    TestDb t;
    t.exec(S("insert into 收货单位 (单位名称, 上游客户) values ('甲一库', '甲'), ('甲二库', '甲'), ('乙库', '乙')"));
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    QVERIFY(!w.findChild<QWidget *>(S("choose_shr"))->isEnabled());
    // Browsing: drop-downs and number boxes disabled, text editors read-only.
    for (const char *name : {"DBComboBoxEh2", "DBComboBoxEh1", "DBNumberEditEh1", "DBNumberEditEh2"})
        QVERIFY2(!w.findChild<QWidget *>(S(name))->isEnabled(), name);
    QVERIFY(w.findChild<QLineEdit *>(S("DBEdit6"))->isReadOnly());
    QString offered;
    ModalDriver driver([&](QDialog *d) {
        offered = columnOf(Dm1->q_deliveryinfo, "单位名称");
        Dm1->q_deliveryinfo->locate(S("单位名称"), S("甲二库"));
        click(d, "SpeedButton3");
    });
    typeOrder(w, S("甲"), S("A1"), S("B"), S("20"));
    for (const char *name : {"DBNumberEditEh1", "DBNumberEditEh2"})
        QVERIFY2(w.findChild<QWidget *>(S(name))->isEnabled(), name);
    put(&w, "DBEdit1", S("武汉"));
    put(&w, "DBEdit3", S("上海"));
    click(&w, "choose_shr");
    QCOMPARE(offered, S("甲二库,甲一库"));    // the typed customer's consignees, by pinyin (er, yi)
    QCOMPARE(textOf(&w, "DBEdit9"), S("甲二库"));
    QVERIFY(w.findChild<QLineEdit *>(S("DBEdit4"))->isReadOnly());
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    QCOMPARE(orders(t, "收货人 || ' ' || 运输动态"), S("甲二库 武汉-上海"));
}

void TstContainerOrders::searchDialog()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('甲'), ('乙')"));
    t.exec(S("insert into 收货单位 (单位名称, 上游客户) values ('甲一库', '甲')"));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从) values ('甲', 'A1', '2024-03-05 00:00:00'), "
             "('甲', 'A2', '2024-03-05 23:59:59'), ('甲', 'A3', '2024-03-06 00:00:00'), ('乙', 'A4', '2024-03-04 23:59:59')"));
    MessageScript ms;
    TForm_container_ysd w(nullptr);
    prepare(t.dm(), w);
    QString upperSql;
    ModalDriver driver([&](QDialog *d) {
        QCOMPARE(itemsOf(d, "DBComboBoxEh4").size() + itemsOf(d, "DBComboBoxEh5").size(), 3);
        put(d, "DBDateTimeEditEh2", S("2024-3-5"));
        click(d, "bitbtn_seek");
        put(d, "DBDateTimeEditEh1", S("2024-3-6"));
        click(d, "bitbtn_seek");
        QCOMPARE(focusName(d), S("DBDateTimeEditEh1"));
        put(d, "DBDateTimeEditEh1", S("2024-3-5"));
        put(d, "Edit3", S("a9"));             // upper-cased, matched exactly
        ms.answer(QMessageBox::Yes);          // search again
        click(d, "bitbtn_seek");
        upperSql = Dm1->q_container_ysd->sql().value(1);
        put(d, "Edit3", QString());
        QTest::keyClick(d->findChild<QWidget *>(S("Edit2")), Qt::Key_Return);   // Enter in the last field searches
    });
    click(&w, "SpeedButton5");
    QCOMPARE(ms.texts(), QStringList({S("必须输入完整的运输期限,请重新输入!"), S("运输期限从不能大于运输期限到,请重新输入!"),
                                      S("没有找到合适的记录,是否重新查找!!")}));
    QVERIFY(upperSql.contains(S("(运输单号 = 'A9')")));
    QCOMPARE(columnOf(t.dm()->q_container_ysd, "运输单号"), S("A1,A2"));   // the whole day, listed in the window
}

void TstContainerOrders::stageChecks_data()
{
    QTest::addColumn<bool>("collection");
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok = S("保存完毕！");
    QTest::newRow("receipt: empty") << false << "" << "" << S("回单返回为是或否,请重新输入!") << "DBComboBoxEh4";
    QTest::newRow("receipt: other text") << false << S("是的") << "" << S("回单返回为是或否,请重新输入!") << "DBComboBoxEh4";
    QTest::newRow("receipt: early") << false << S("是") << "2024-3-4" << S("回单返回时间不能小于运输期限到,请重新输入!")
                                    << "DBDateTimeEditEh2";
    QTest::newRow("receipt: on the day") << false << S("是") << "2024-3-5" << ok << "";
    QTest::newRow("collection: empty") << true << "" << "" << S("帐款结清为是或否,请重新输入!") << "DBComboBoxEh4";
    QTest::newRow("collection: early") << true << S("是") << "2024-3-4" << S("收款日期不能小于运输期限到,请重新输入!")
                                       << "DBDateTimeEditEh2";
    QTest::newRow("collection: part paid, settled") << true << S("是") << "2024-3-5" << ok << "";
}

void TstContainerOrders::stageChecks()
{
    QFETCH(bool, collection);
    QFETCH(QString, flag);
    QFETCH(QString, date);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限到, 应收运费) values ('甲', 'A1', '2024-03-05 00:00:00', 5000000)"));
    MessageScript ms;
    std::unique_ptr<QDialog> w;
    if (collection)
        w = std::make_unique<TForm_container_ysd_sk>(nullptr);
    else
        w = std::make_unique<TForm_container_ysd_fh>(nullptr);
    prepare(t.dm(), *w);
    click(w.get(), "bitbtn_edit");
    QCOMPARE(focusName(w.get()), S("DBComboBoxEh4"));
    if (collection)
        put(w.get(), "DBNumberEditEh1", S("100"));   // less than the 500 receivable
    put(w.get(), "DBComboBoxEh4", flag);
    put(w.get(), "DBDateTimeEditEh2", date);
    click(w.get(), "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    if (!focus.isEmpty())
        QCOMPARE(focusName(w.get()), focus);
    QCOMPARE(orders(t, collection ? "帐款结清" : "回单返回"), focus.isEmpty() ? flag : S("否"));
    QCOMPARE(t.dm()->q_container_ysd->recordCount(), 1);   // stays listed until the list is loaded again
}

void TstContainerOrders::allReturned()
{
    TestDb t;
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限到, 驾驶员) values "
             "('甲', 'A1', '2024-03-03 00:00:00', '张师傅'), ('甲', 'A2', '2024-03-09 00:00:00', null), ('乙', 'B1', null, '李师傅')"));
    MessageScript ms;
    TForm_container_ysd_fh w(nullptr);
    prepare(t.dm(), w, "where 回单返回='否'");
    const char *marks = "运输单号 || 回单返回 || ifnull(cast(回单返回时间 as text), '') || ifnull(交单人, '~') || ifnull(操作员, '')";
    const QString before = orders(t, marks);
    ms.answer(QMessageBox::No);
    click(&w, "SpeedButton6");
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    QCOMPARE(orders(t, marks), before);

    // A pending edit is dropped rather than posted unchecked; then every row is marked.
    click(&w, "bitbtn_edit");
    put(&w, "DBEdit1", S("临时"));
    ms.clear();
    click(&w, "SpeedButton6");
    QCOMPARE(ms.texts(), QStringList{S("以下记录回单确实都返回了吗? ")});
    QVERIFY(!w.editing());
    QCOMPARE(orders(t, marks), S("A1是2024-03-03 00:00:00张师傅,A2是2024-03-09 00:00:00,B1是李师傅"));
    QCOMPARE(columnOf(t.dm()->q_container_ysd, "回单返回"), S("是,是,是"));   // still listed
    QCOMPARE(textOf(&w, "DBEdit1"), S("张师傅"));                              // back on the first row

    // An empty list: 编辑 has no row to edit and 全部返回 changes nothing.
    t.exec(S("update 集装箱运输单 set 回单返回='否'"));
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("where 1=0"), S("order by 运输单号")});
    click(&w, "bitbtn_edit");
    QVERIFY(!w.editing());
    click(&w, "SpeedButton6");
    QCOMPARE(t.scalar(S("select count(*) || group_concat(回单返回) from 集装箱运输单")), S("3否,否,否"));
}

QTEST_MAIN(TstContainerOrders)
#include "tst_container_orders.moc"
