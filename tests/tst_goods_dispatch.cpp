// Goods dispatches: the list and editor with its orders, the order chooser,
// the search dialog, completion and payment.
#include "app/main.h"
#include "data/payable.h"
#include "data/session.h"
#include "db/connection.h"
#include "db/quote.h"
#include "formhelpers.h"
#include "goods/freight_ddb.h"
#include "goods/freight_ddb_cx.h"
#include "goods/freight_ddb_edit.h"
#include "goods/freight_ddb_fk.h"
#include "goods/freight_ddb_zxwj.h"
#include "goods/freight_ysd_list.h"
#include "goods/rules.h"
#include "goods/xzfreight_ysd.h"
#include "grid/dbgrideh.h"
#include "masterdata/carinfo.h"
#include "spine_driver.h"
#include <QLabel>

namespace {

const char *const seed[] = {
    "insert into 普通货物运输单 (上游客户, 运输单号, 起始地, 目的地, 执行完结, 调度单号, 货物名称) values "
    "('甲', 'Y1', '武汉', '长沙', '否', '', 'g1'), ('乙', 'Y2', '孝感', '南昌', '否', '', 'g2'), "
    "('丙', 'Y3', '黄石', '上海', '是', '', 'g3'), ('丁', 'Y4', '荆州', '重庆', '否', 'D''9', 'g4'), "
    "('戊', 'Y5', '宜昌', '成都', '否', '', 'g5')",
    "insert into 普通货物调度单 (调度单号, 发货日期, 到货日期, 起始地, 目的地, 运输金额) values "
    "('D''9', '2024-03-01 00:00:00', '2024-03-03 00:00:00', '荆州', '重庆', 10000000)",
    "insert into 承运车辆 (车牌号, 所属单位, 驾驶员) values ('鄂A12345', '长江运输', '张师傅')",
    "insert into 普通货物运输单明细 (运输单号, 货物名称, 数量) values ('Y4', '钢材', 100), ('Y4', '白酒', 20)",
};

void seedAll(const TestDb &t)
{
    for (const char *sql : seed)
        t.exec(S(sql));
}

void openDispatches(TDm1 *dm, const char *where = "where 执行完结='否'", const char *order = "order by 发货日期,调度单号")
{
    dm->q_freight_ddb->reopenWith({S("select * from 普通货物调度单"), S(where), S(order)});
}

struct Editor {
    explicit Editor(TDm1 *dm) : w(nullptr)
    {
        dm->q_freight_ysd->reopenWith(goods::dispatchOrders(
            dm->q_freight_ddb->isEmpty() ? QString() : dm->q_freight_ddb->field(S("调度单号")).asString()));
        w.show();
    }
    TForm_freight_ddb_edit w;
};

QString orders(const TestDb &t, const char *expr)
{
    return t.scalar(S("select group_concat(%1, ',') from (select * from 普通货物运输单 order by rowid)").arg(S(expr)));
}

// Picks the chooser's candidate with this order number and runs an action.
void onOrder(QDialog *d, const char *number, const char *button)
{
    QVERIFY2(Dm1->q_search->locate(S("运输单号"), S(number)), number);
    click(d, button);
}

} // namespace

class TstGoodsDispatch : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("王五"); }
    void gatherOrdersPickVehicleAndSave();
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void noOrderIsStranded();
    void dispatchSaveCarriesOrders_data();
    void dispatchSaveCarriesOrders();
    void payableRule_data();
    void payableRule();
    void completion();
    void payment_data();
    void payment();
    void searchDialogAndMenus();
};

void TstGoodsDispatch::gatherOrdersPickVehicleAndSave()
{
    TestDb t;
    seedAll(t);
    MessageScript ms;
    openDispatches(t.dm());
    Editor e(t.dm());
    QString candidates, afterTwo, afterDetach;
    ModalDriver driver([&](QDialog *d) {
        if (auto *c = qobject_cast<TForm_xzfreight_ysd *>(d)) {
            QCOMPARE(c->findChild<QLabel *>(S("Label1"))->text(), S("D1"));
            // This dispatch's orders and every free uncompleted one; never a completed one.
            QStringList listed = columnOf(Dm1->q_search, "运输单号").split(QLatin1Char(','));
            listed.sort();
            candidates = listed.join(QLatin1Char(','));
            onOrder(d, "Y1", "SpeedButton2");
            onOrder(d, "Y2", "SpeedButton2");
            afterTwo = Dm1->q_freight_ddb->field(S("上游客户")).asString() + Dm1->q_freight_ddb->field(S("起始地")).asString();
            ms.clear();
            onOrder(d, "Y2", "SpeedButton2");   // attached already: nothing asked, nothing done
            QVERIFY(ms.seen().isEmpty());
            Dm1->q_search->locate(S("运输单号"), S("Y1"));
            doubleClickRow(d->findChild<QAbstractItemView *>(S("DBGrideh1")), Dm1->q_search->currentRow());   // Y1: detach?
            QCOMPARE(ms.last(), S("确实要取消该货物?"));
            afterDetach = Dm1->q_freight_ddb->field(S("上游客户")).asString() + S("|")
                          + Dm1->q_freight_ddb->field(S("目的地")).asString();
            onOrder(d, "Y5", "SpeedButton2");
            // The search lists uncompleted orders, attached or not.
            put(d, "Edit3", S("丁"));
            click(d, "bitbtn_seek");
            QCOMPARE(columnOf(Dm1->q_search, "运输单号"), S("Y4"));
            click(d, "SpeedButton3");
        } else if (auto *cars = qobject_cast<TForm_carinfo *>(d)) {
            cars->choose();
        }
    });
    click(&e.w, "bitbtn_add");
    QCOMPARE(focusName(&e.w), S("DBEdit6"));
    put(&e.w, "DBEdit6", S("D1"));
    click(&e.w, "choose_ysd");
    QCOMPARE(candidates, S("Y1,Y2,Y5"));
    QCOMPARE(afterTwo, S("乙孝感"));      // the last order chosen
    QCOMPARE(afterDetach, S("|"));        // a detach empties them
    QCOMPARE(columnOf(t.dm()->q_freight_ysd, "运输单号"), S("Y2,Y5"));   // the grid shows the attached orders
    click(&e.w, "choose_car");
    QCOMPARE(textOf(&e.w, "DBEdit4") + textOf(&e.w, "DBEdit9") + textOf(&e.w, "DBEdit2"), S("长江运输鄂A12345张师傅"));
    put(&e.w, "DBEdit2", S("李师傅"));
    put(&e.w, "DBDateTimeEditEh1", S("2024-3-9"));
    put(&e.w, "DBEdit1", S("孝感"));
    put(&e.w, "DBEdit3", S("成都"));
    ms.clear();
    click(&e.w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    // Carrier, plate and driver in every order of the dispatch; the detached one keeps its own.
    QCOMPARE(orders(t, "运输单号 || ':' || 调度单号 || ifnull(承运单位, '') || ifnull(车牌号, '') || ifnull(驾驶员, '')"),
             S("Y1:,Y2:D1长江运输鄂A12345李师傅,Y3:,Y4:D'9,Y5:D1长江运输鄂A12345李师傅"));
    QCOMPARE(t.scalar(S("select 运输动态 || 执行完结 || 帐款结清 || 操作员 from 普通货物调度单 where 调度单号='D1'")),
             S("孝感-成都否否王五"));

    // The grid's double click shows an order with its lines; 取消当前调度单 detaches.
    click(&e.w, "first");
    QCOMPARE(columnOf(t.dm()->q_freight_ysd, "运输单号"), S("Y4"));
    QString shown;
    driver.setAct([&](QDialog *d) {
        QVERIFY(qobject_cast<TForm_freight_ysd_list *>(d));
        shown = textOf(d, "DBEdit6") + S(":") + columnOf(Dm1->q_freight_mxb, "货物名称");
    });
    doubleClickFirstRow(e.w.attachedGrid());
    QCOMPARE(shown, S("Y4:白酒,钢材"));
    QVERIFY(!t.dm()->q_freight_mxb->isActive());
    ms.clear();
    ms.answer(QMessageBox::No);
    click(&e.w, "SpeedButton5");
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    click(&e.w, "SpeedButton5");
    QCOMPARE(orders(t, "调度单号"), S(",D1,,,D1"));
    QCOMPARE(columnOf(t.dm()->q_freight_ysd, "运输单号"), QString());
}

void TstGoodsDispatch::saveChecksInOrder_data()
{
    QTest::addColumn<QStringList>("typed");   // number, 发货日期, 到货日期, 起始地, 目的地
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no number") << QStringList{" ", "2024-3-1", "", "A", "B"} << S("调度单号不能为空,请重新输入!") << "DBEdit6";
    QTest::newRow("no dispatch date") << QStringList{"D1", "", "", "A", "B"} << S("发货日期不能为空,请重新输入!")
                                      << "DBDateTimeEditEh1";
    QTest::newRow("arrival before") << QStringList{"D1", "2024-3-2", "2024-3-1", "A", "B"}
                                    << S("到货时间不能小于发货日期,请重新输入!") << "DBDateTimeEditEh2";
    QTest::newRow("no origin") << QStringList{"D1", "2024-3-2", "", "", "B"} << S("起始地不能为空,请重新输入!") << "DBEdit1";
    QTest::newRow("no destination") << QStringList{"D1", "2024-3-2", "", "A", ""} << S("目的地不能为空,请重新输入!") << "DBEdit3";
    QTest::newRow("number in use") << QStringList{"d'9", "2024-3-2", "2024-3-2", "A", "B"} << S("调度单号不能重复,请重新输入!")
                                   << "DBEdit6";
}

void TstGoodsDispatch::saveChecksInOrder()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    seedAll(t);
    MessageScript ms;
    openDispatches(t.dm());
    Editor e(t.dm());
    int choosers = 0;
    ModalDriver driver([&](QDialog *d) {
        ++choosers;
        if (choosers == 1)
            onOrder(d, "Y1", "SpeedButton2");
    });
    click(&e.w, "bitbtn_add");
    put(&e.w, "DBEdit6", S("D1"));
    // Without orders the save says so and opens the chooser.
    click(&e.w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList({S("没有选择运输单,请重新选择！"), S("确实要选择该货物吗?")}));
    QCOMPARE(choosers, 1);
    ms.clear();
    const char *names[] = {"DBEdit6", "DBDateTimeEditEh1", "DBDateTimeEditEh2", "DBEdit1", "DBEdit3"};
    for (int i = 0; i < typed.size(); ++i)
        put(&e.w, names[i], typed[i]);
    click(&e.w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(focusName(&e.w), focus);
    QVERIFY(e.w.editing());
    QCOMPARE(t.scalar(S("select count(*) from 普通货物调度单")), S("1"));
    if (message.contains(S("重复"))) {
        QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
        ms.clear();
        click(&e.w, "choose_ysd");   // the chooser refuses the number too
        QCOMPARE(ms.texts(), QStringList{S("调度单号不能重复,请重新输入!")});
        QCOMPARE(choosers, 1);
    }
}

void TstGoodsDispatch::noOrderIsStranded()
{
    TestDb t;
    seedAll(t);
    MessageScript ms;
    openDispatches(t.dm());
    {
        Editor e(t.dm());
        ModalDriver driver([](QDialog *d) {
            onOrder(d, "Y1", "SpeedButton2");
            onOrder(d, "Y2", "SpeedButton2");
        });
        // A new dispatch given up frees what was attached to it meanwhile.
        click(&e.w, "bitbtn_add");
        put(&e.w, "DBEdit6", S("N1"));
        click(&e.w, "choose_ysd");
        QCOMPARE(orders(t, "调度单号"), S("N1,N1,,D'9,"));
        click(&e.w, "bitbtn_cancel");
        QCOMPARE(orders(t, "调度单号"), S(",,,D'9,"));
        QCOMPARE(t.dm()->q_freight_ddb->field(S("调度单号")).asString(), S("D'9"));   // the first dispatch again
        // A renumbered dispatch takes its orders along.
        click(&e.w, "bitbtn_edit");
        put(&e.w, "DBEdit6", S("D10"));
        click(&e.w, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QCOMPARE(orders(t, "调度单号"), S(",,,D10,"));
        QCOMPARE(columnOf(t.dm()->q_freight_ysd, "运输单号"), S("Y4"));
    }
    // Deleting a dispatch in the list frees its orders in the same step.
    TForm_freight_ddb list(nullptr);
    list.show();
    click(&list, "bitbtn_delete");
    QCOMPARE(t.scalar(S("select count(*) from 普通货物调度单")), S("0"));
    QCOMPARE(orders(t, "调度单号"), S(",,,,"));
}

void TstGoodsDispatch::dispatchSaveCarriesOrders_data()
{
    QTest::addColumn<bool>("isNew");             // a new dispatch, else D'9 edited
    QTest::addColumn<QString>("savedAs");
    QTest::addColumn<QStringList>("entry");      // orders attached during the entry: "Y1=N1" (under N1), "Y2=" detached again
    QTest::addColumn<QString>("expected");     // 运输单号:调度单号 carrier plate driver
    const QString c = S("长'江鄂A1张");
    QTest::newRow("renumbered keeps its orders") << false << S("D10") << QStringList{}
                                                 << S("Y1:,Y2:,Y3:,Y4:D10%1,Y5:").arg(c);
    QTest::newRow("same number, one more order") << false << S("D'9") << QStringList{S("Y5=D'9")}
                                                 << S("Y1:,Y2:,Y3:,Y4:D'9%1,Y5:D'9%1").arg(c);
    QTest::newRow("renumbered, attached meanwhile") << false << S("D10") << QStringList{S("Y5=D'9")}
                                                    << S("Y1:,Y2:,Y3:,Y4:D10%1,Y5:D10%1").arg(c);
    QTest::newRow("new, under the number typed first") << true << S("N2") << QStringList{S("Y1=N1"), S("Y2=")}
                                                       << S("Y1:N2%1,Y2:,Y3:,Y4:D'9,Y5:").arg(c);
    QTest::newRow("new, no entry rows") << true << S("N2") << QStringList{} << S("Y1:,Y2:,Y3:,Y4:D'9,Y5:");
}

// What a dispatch's save writes into its orders, without its window.
void TstGoodsDispatch::dispatchSaveCarriesOrders()
{
    QFETCH(bool, isNew);
    QFETCH(QString, savedAs);
    QFETCH(QStringList, entry);
    QFETCH(QString, expected);
    TestDb t;
    seedAll(t);
    db::Connection *c = t.dm()->ADO_system;
    QStringList keys;
    for (const QString &e : entry) {
        const QString order = e.section(QLatin1Char('='), 0, 0), number = e.section(QLatin1Char('='), 1);
        t.exec(S("update 普通货物运输单 set 调度单号=%1 where 运输单号=%2").arg(db::lit(number), db::lit(order)));
        keys << t.scalar(S("select rowid from 普通货物运输单 where 运输单号=%1").arg(db::lit(order)));
    }
    db::Query dispatch(c, S("dispatch")), run(c, S("run"));
    dispatch.reopenWith({S("select * from 普通货物调度单"), S("order by 调度单号")});
    if (isNew)
        dispatch.append();
    else
        dispatch.edit();
    const QStringList values{savedAs, S("长'江"), S("鄂A1"), S("张"), S("孝感"), S("成都")};
    const char *fields[] = {"调度单号", "承运单位", "车牌号", "驾驶员", "起始地", "目的地"};
    for (int i = 0; i < values.size(); ++i)
        dispatch.field(S(fields[i])).setAsString(values[i]);
    const QString read = goods::numberAsRead(dispatch, S("调度单号"));
    QCOMPARE(read, isNew ? QString() : S("D'9"));
    goods::setRoute(dispatch);
    db::Transaction tx(*c);
    dispatch.post();
    goods::carryDispatchToOrders(run, dispatch, read, keys.join(QLatin1Char(',')));
    tx.commit();
    QCOMPARE(orders(t, "运输单号 || ':' || 调度单号 || ifnull(承运单位, '') || ifnull(车牌号, '') || ifnull(驾驶员, '')"), expected);
    QCOMPARE(t.scalar(S("select 运输动态 from 普通货物调度单 where 调度单号=") + db::lit(savedAs)), S("孝感-成都"));
    QCOMPARE(t.scalar(S("select count(*) from 普通货物调度单")), isNew ? S("2") : S("1"));
}

void TstGoodsDispatch::payableRule_data()
{
    QTest::addColumn<QStringList>("values");   // 运输金额, 路桥费, 劳务费, 油费, 罚款, 其它费用 ("" for none)
    QTest::addColumn<QString>("paid");         // 应付运费 already written, if any
    QTest::addColumn<QString>("payable");
    QTest::addColumn<QString>("charge");       // what the accounts take as the carrier's charge
    QTest::newRow("every cost") << QStringList{"1000", "120", "30", "300", "50", "0"} << QString() << S("500") << S("500");
    QTest::newRow("no costs") << QStringList{"1000", "", "", "", "", ""} << QString() << S("1000") << S("1000");
    QTest::newRow("no amount") << QStringList{"", "", "", "", "", "20"} << QString() << S("-20") << S("-20");
    QTest::newRow("fractions exact") << QStringList{"0.3", "0.1", "0.1", "", "", "0.1"} << QString() << S("0") << S("0");
    QTest::newRow("written before") << QStringList{"1000", "100", "", "", "", ""} << S("950") << S("900") << S("950");
}

// The payable: one rule in money for the payment windows and in SQL for
// the accounts, alike on container orders and goods dispatches.
void TstGoodsDispatch::payableRule()
{
    QFETCH(QStringList, values);
    QFETCH(QString, paid);
    QFETCH(QString, payable);
    QFETCH(QString, charge);
    TestDb t;
    const char *columns[] = {"运输金额", "路桥费", "劳务费", "油费", "罚款", "其它费用"};
    for (const char *table : {"集装箱运输单", "普通货物调度单"}) {
        db::Query row(t.dm()->ADO_system, S("row"));
        row.reopenWith({S("select * from %1").arg(S(table))});
        row.append();
        for (int i = 0; i < values.size(); ++i)
            row.field(S(columns[i])).setAsString(values[i]);
        row.field(S("应付运费")).setAsString(paid);
        row.post();
        const qint64 expected = db::Money::parse(payable)->raw();
        QCOMPARE(qint64(data::payableOf(row).raw()), expected);
        const auto sql = [&](const QString &expr) { return t.scalar(S("select %1 from %2").arg(expr, S(table))).toLongLong(); };
        QCOMPARE(sql(data::payableSql()), expected);
        QCOMPARE(sql(data::carrierChargeSql()), qint64(db::Money::parse(charge)->raw()));
    }
}

void TstGoodsDispatch::completion()
{
    TestDb t;
    seedAll(t);
    t.exec(S("insert into 普通货物调度单 (调度单号, 发货日期, 到货日期) values ('E1', '2024-03-05 00:00:00', null), "
             "('E2', '2024-03-06 00:00:00', '2024-03-08 00:00:00')"));
    t.exec(S("update 普通货物运输单 set 调度单号='E2' where 运输单号='Y1'"));
    MessageScript ms;
    openDispatches(t.dm());
    TForm_freight_ddb_zxwj w(nullptr);
    w.show();
    QCOMPARE(itemsOf(&w, "DBComboBoxEh3"), QStringList());   // filled by the menu item, see below
    const auto save = [&](const char *flag, const char *arrival) {
        ms.clear();
        doubleClickFirstRow(w.grid());
        const QString focus = focusName(&w);
        put(&w, "DBComboBoxEh5", S(flag));
        put(&w, "DBDateTimeEditEh4", S(arrival));
        click(&w, "bitbtn_save");
        return focus + S("|") + ms.last();
    };
    QCOMPARE(save("完", ""), S("DBDateTimeEditEh4|执行完结为是或否,请重新输入!"));
    click(&w, "bitbtn_cancel");
    QCOMPARE(save("是", "2024-2-29"), S("DBDateTimeEditEh4|到达时间不能小于发货日期,请重新输入!"));
    click(&w, "bitbtn_cancel");
    QCOMPARE(save("是", "2024-3-1"), S("DBDateTimeEditEh4|保存完毕！"));   // on the dispatch date
    QCOMPARE(orders(t, "运输单号 || 执行完结 || ifnull(cast(到达时间 as text), '-')"), S("Y1否-,Y2否-,Y3是-,Y4是2024-03-01 00:00:00,Y5否-"));
    QCOMPARE(save("否", ""), S("DBDateTimeEditEh4|保存完毕！"));            // no arrival: the orders' arrival emptied
    QCOMPARE(orders(t, "运输单号 || 执行完结 || ifnull(cast(到达时间 as text), '-')").section(',', 3, 3), S("Y4否-"));
    // 全部完结 completes the listed dispatches and their orders alike.
    ms.answer(QMessageBox::No);
    click(&w, "SpeedButton3");
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    click(&w, "SpeedButton3");
    QCOMPARE(t.scalar(S("select group_concat(调度单号 || 执行完结 || ifnull(cast(到达时间 as text), '-')) from 普通货物调度单")),
             S("D'9是2024-03-03 00:00:00,E1是-,E2是2024-03-08 00:00:00"));
    QCOMPARE(orders(t, "运输单号 || 执行完结 || ifnull(cast(到达时间 as text), '-')"),
             S("Y1是2024-03-08 00:00:00,Y2否-,Y3是-,Y4是2024-03-03 00:00:00,Y5否-"));
    QCOMPARE(columnOf(w.query(), "执行完结"), S("是,是,是"));   // still listed
}

void TstGoodsDispatch::payment_data()
{
    QTest::addColumn<QStringList>("typed");   // 运输金额 (stored), 路桥费, 油费, 罚款, 其它费用, 劳务费, 付款日期
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("costs taken off") << QStringList{"1000", "120", "300", "50", "", "30", ""} << "5000000" << S("保存完毕！");
    QTest::newRow("no costs") << QStringList{"1000", "", "", "", "", "", ""} << "10000000" << S("保存完毕！");
    QTest::newRow("costs above the amount") << QStringList{"", "", "", "", "20", "", ""} << "-200000" << S("保存完毕！");
    QTest::newRow("fractions stay exact") << QStringList{"0.3", "0.1", "0.1", "", "", "0.1", "2024-3-3"} << "0"
                                          << S("保存完毕！");
    QTest::newRow("paid before arrival") << QStringList{"1000", "", "", "", "", "", "2024-3-2"} << ""
                                         << S("付款日期不能小于到货日期,请重新输入!");
}

void TstGoodsDispatch::payment()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    TestDb t;
    seedAll(t);
    t.exec(S("update 普通货物调度单 set 运输金额=%1").arg(typed[0].isEmpty() ? S("null") : typed[0] + S("*10000")));
    MessageScript ms;
    openDispatches(t.dm(), "where 帐款结清='否'", "order by 发货日期");
    TForm_freight_ddb_fk w(nullptr);
    w.show();
    QVERIFY(!w.editorFor(S("应付运费"))->isEnabled() && !w.editorFor(S("路桥费"))->isEnabled());
    click(&w, "bitbtn_edit");
    QCOMPARE(focusName(&w), S("DBComboBoxEh4"));
    const char *names[] = {"DBNumberEditEh3", "DBNumberEditEh4", "DBNumberEditEh5", "DBNumberEditEh6", "DBNumberEditEh7"};
    for (int i = 0; i < 5; ++i)
        put(&w, names[i], typed[i + 1]);
    put(&w, "DBEdit2", S("付款员"));   // the payable is computed whatever was changed
    put(&w, "DBDateTimeEditEh2", typed[6]);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(t.scalar(S("select ifnull(cast(应付运费 as text), '') from 普通货物调度单")), stored);
    if (!stored.isEmpty())
        return;
    QCOMPARE(focusName(&w), S("DBDateTimeEditEh2"));
    put(&w, "DBComboBoxEh4", S("对"));
    put(&w, "DBDateTimeEditEh2", QString());
    ms.clear();
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{S("帐款结清为是或否,请重新输入!")});
}

void TstGoodsDispatch::searchDialogAndMenus()
{
    TestDb t;
    seedAll(t);
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('黄河运输')"));
    t.exec(S("update 普通货物调度单 set 承运单位='长江运输', 运输动态='荆州-重庆'"));
    MessageScript ms;
    TForm_main main;
    QString sql;
    ModalDriver driver([&](QDialog *d) {
        if (qobject_cast<TForm_freight_ddb *>(d)) {
            click(d, "bitbtn_seek");
        } else if (qobject_cast<TForm_freight_ddb_cx *>(d)) {
            QCOMPARE(itemsOf(d, "DBComboBoxEh6").size(), 2);
            put(d, "DBDateTimeEditEh1", S("2024-3-1"));
            click(d, "bitbtn_seek");
            put(d, "DBDateTimeEditEh2", S("2024-3-1"));
            put(d, "DBComboBoxEh6", S("长江"));
            put(d, "Edit3", S("d'9"));
            put(d, "Edit4", S("荆州"));
            QTest::keyClick(d->findChild<QWidget *>(S("Edit2")), Qt::Key_Return);   // Enter in the last field searches
            sql = Dm1->q_freight_ddb->sql().value(1);
        } else if (qobject_cast<TForm_freight_ddb_zxwj *>(d)) {
            QCOMPARE(itemsOf(d, "DBComboBoxEh3"), QStringList({S("黄河运输"), S("长江运输")}));   // huang, zhang
            put(d, "DBComboBoxEh3", S("长江"));
            click(d, "SpeedButton2");
            QCOMPARE(columnOf(Dm1->q_freight_ddb, "调度单号"), S("D'9"));
        }
    });
    main.menuAction(S("N46"))->trigger();
    QCOMPARE(ms.texts(), QStringList{S("必须输入完整的发货日期,请重新输入!")});
    QCOMPARE(sql, S(" where (承运单位 like '%长江%')and(调度单号 = 'D''9')and(运输动态 like  '%荆州%')and(发货日期 between "
                    "cvdate('2024-3-1 0:0:0') and cvdate('2024-3-1 23:59:59'))"));
    for (const char *item : {"N40", "N37"})
        main.menuAction(S(item))->trigger();
    QCOMPARE(driver.shown, QStringList({S("TForm_freight_ddb"), S("TForm_freight_ddb_cx"), S("TForm_freight_ddb_zxwj"),
                                        S("TForm_freight_ddb_fk")}));
}

QTEST_MAIN(TstGoodsDispatch)
#include "tst_goods_dispatch.moc"
