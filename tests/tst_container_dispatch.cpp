// Container dispatch, completion and payment: the three windows on the
// order's own row, opened through the main menu as the program does.
#include "app/main.h"
#include "container/container_ddb.h"
#include "container/container_ddb_cx.h"
#include "container/container_ddb_fk.h"
#include "container/container_ddb_zxwj.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/money.h"
#include "dbctrls/dbctrls.h"
#include "masterdata/carinfo.h"
#include "spine_driver.h"
#include "testsupport.h"
#include "grid/export.h"
#include "grid/print.h"
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }

template <class T = QWidget>
T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QString::fromUtf8(name));
}

void click(QWidget *w, const char *name)
{
    auto *b = child<QAbstractButton>(w, name);
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

// Replaces an editor's text as the user would.
void retype(QWidget *editor, const QString &text)
{
    editor->setFocus();
    if (auto *c = qobject_cast<QComboBox *>(editor))
        editor = c->lineEdit();
    if (auto *e = qobject_cast<QLineEdit *>(editor)) {
        e->selectAll();
        if (text.isEmpty())
            QTest::keyClick(e, Qt::Key_Delete);
    }
    typeText(editor, text);
}

void activate(QWidget *w)
{
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

QStringList items(QWidget *combo)
{
    QStringList l;
    auto *c = qobject_cast<QComboBox *>(combo);
    for (int i = 0; i < c->count(); ++i)
        l << c->itemText(i);
    return l;
}

// Opens a menu item of the main window and hands its window to `act`.
void runMenu(const char *item, const std::function<void(QDialog *)> &act)
{
    TForm_main main;
    velorin::startup_done = true;
    ModalDriver driver([&](QDialog *d) {
        if (driver.shown.size() == 1)
            act(d);
    });
    main.menuAction(QString::fromLatin1(item))->trigger();
    QCOMPARE(driver.shown.size() >= 1, true);
}

const char *kOrders =
    "insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 运输期限到, 承运单位, 车牌号, 执行完结, 下游帐款结清, 运输金额) values "
    "('武汉港', 'C1', '2024-03-05 00:00:00', '2024-03-08 00:00:00', null, null, '否', '否', null),"
    "('武汉港', 'C2', '2024-03-06 00:00:00', '2024-03-09 00:00:00', '长江运输', '鄂A1001', '否', '否', 10000000),"
    "('阳逻', 'C3', '2024-03-05 00:00:00', null, '汉江物流', '', '否', '否', null),"
    "('阳逻', 'C4', '2024-02-01 00:00:00', '2024-02-03 00:00:00', '长江运输', '鄂A2002', '是', '是', 5000000)";

void seed(const TestDb &t)
{
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉港'), ('阳逻')"));
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('汉江物流')"));
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位, 驾驶员) values ('鄂A1001', '长江运输', '王五'), "
             "('鄂A2002', '汉江物流', '李四')"));
    t.exec(S(kOrders));
}

} // namespace

class TstContainerDispatch : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("张三"); }
    void openingListsAndPickLists_data();
    void openingListsAndPickLists();
    void dispatchChoosesVehicleAndSaves();
    void dispatchQuickSearch();
    void searchDialogPeriodAndTerms_data();
    void searchDialogPeriodAndTerms();
    void completionChecks_data();
    void completionChecks();
    void completeAllMarksEveryListedRow();
    void completeAllIsAllOrNothing();
    void paymentComputesPayable_data();
    void paymentComputesPayable();
    void paymentChecks();
    void printExportAndLayoutFile_data();
    void printExportAndLayoutFile();
};

void TstContainerDispatch::openingListsAndPickLists_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QStringList>("orders");
    // Dispatch and completion list every order not completed, dispatched or
    // not; payment only dispatched ones (a plate, empty or null excluded).
    QTest::newRow("dispatch") << S("N45") << S("TForm_container_ddb") << QStringList{S("C1"), S("C3"), S("C2")};
    QTest::newRow("completion") << S("N36") << S("TForm_container_ddb_zxwj") << QStringList{S("C1"), S("C3"), S("C2")};
    QTest::newRow("payment") << S("N34") << S("TForm_container_ddb_fk") << QStringList{S("C2")};
}

void TstContainerDispatch::openingListsAndPickLists()
{
    QFETCH(QString, item);
    QFETCH(QString, cls);
    QFETCH(QStringList, orders);
    TestDb t;
    seed(t);
    MessageScript ms;
    QStringList seen, carriers;
    QString className;
    runMenu(item.toLatin1().constData(), [&](QDialog *d) {
        className = QString::fromLatin1(d->metaObject()->className());
        db::Query *q = t.dm()->q_container_ysd;
        for (int r = 0; r < q->recordCount(); ++r)
            seen << q->displayText(r, q->fieldIndex(S("运输单号")));
        carriers = items(child(d, "DBComboBoxEh3"));
    });
    QCOMPARE(className, cls);
    QCOMPARE(seen, orders);
    QCOMPARE(carriers, QStringList({S("汉江物流"), S("长江运输")}));
    QVERIFY(!t.dm()->q_container_ysd->isActive());
}

void TstContainerDispatch::dispatchChoosesVehicleAndSaves()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N45", [&](QDialog *d) {
        activate(d);
        db::Query *q = t.dm()->q_container_ysd;
        q->locate(S("运输单号"), S("C1"));
        QVERIFY(!child<QPushButton>(d, "choose_shr")->isEnabled());
        click(d, "bitbtn_edit");
        QCOMPARE(QApplication::focusWidget(), child(d, "DBEdit6"));
        // Without a dispatch number, then without a vehicle: refused, still editing.
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("调度单编号不能为空,请重新输入!"));
        retype(child(d, "DBEdit6"), S("dd-01"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("车牌号不能为空,请重新输入!"));
        QCOMPARE(QApplication::focusWidget(), child(d, "DBEdit8"));
        QVERIFY(child<QPushButton>(d, "bitbtn_save")->isEnabled());
        QVERIFY(t.scalar(S("select 调度单编号 from 集装箱运输单 where 运输单号='C1'")).isEmpty());

        // The vehicle list in picker mode fills carrier, plate and driver at once.
        ModalDriver picker([&](QDialog *list) {
            QCOMPARE(list->windowTitle(), S("承运车辆资料设置"));
            t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A2002"));
            click(list, "SpeedButton1");
        });
        click(d, "choose_shr");
        QCOMPARE(picker.shown, QStringList({S("TForm_carinfo")}));
        QVERIFY(!t.dm()->q_carinfo->isActive());
        QCOMPARE(child<QLineEdit>(d, "DBEdit1")->text(), S("汉江物流"));
        QCOMPARE(child<QLineEdit>(d, "DBEdit8")->text(), S("鄂A2002"));
        QCOMPARE(child<QLineEdit>(d, "DBEdit9")->text(), S("李四"));
        // The driver typed afterwards is what is saved.
        retype(child(d, "DBEdit9"), S("赵六"));
        retype(child(d, "DBNumberEditEh2"), S("1500.5"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QVERIFY(!child<QPushButton>(d, "bitbtn_save")->isEnabled());
        QCOMPARE(q->recordCount(), 3);   // still listed: not completed
    });
    QCOMPARE(t.scalar(S("select 调度单编号 || '/' || 承运单位 || '/' || 车牌号 || '/' || 驾驶员 || '/' || 运输金额 || '/' || "
                        "调度单操作员 from 集装箱运输单 where 运输单号='C1'")),
             S("DD-01/汉江物流/鄂A2002/赵六/15005000/张三"));
    // The order's own stamp is not touched.
    QVERIFY(t.scalar(S("select 操作员 from 集装箱运输单 where 运输单号='C1'")).isEmpty());
    // Now dispatched: the payment window lists it.
    QStringList payable;
    runMenu("N34", [&](QDialog *) {
        db::Query *q = t.dm()->q_container_ysd;
        for (int r = 0; r < q->recordCount(); ++r)
            payable << q->displayText(r, q->fieldIndex(S("运输单号")));
    });
    QCOMPARE(payable, QStringList({S("C1"), S("C2")}));
}

void TstContainerDispatch::dispatchQuickSearch()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N45", [&](QDialog *d) {
        db::Query *q = t.dm()->q_container_ysd;
        // All fields empty: every order, completed ones too, by carrier and departure.
        click(d, "SpeedButton2");
        QCOMPARE(q->sql(), QStringList({S("select * from 集装箱运输单 "), S("order by 承运单位,运输期限从")}));
        QCOMPARE(q->recordCount(), 4);
        retype(child(d, "DBComboBoxEh3"), S("长江"));
        child<dbctrls::DBDateEdit>(d, "DBDateTimeEditEh3")->setDate(QDate(2024, 2, 1));
        click(d, "SpeedButton2");
        QCOMPARE(q->sql().value(1), S(" where (承运单位 like '%长江%')and(运输期限从 between cdate('2024-2-1') and cdate('2024-2-1'))"));
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->field(S("运输单号")).asString(), S("C4"));
        // Enter in the strip does nothing.
        child<dbctrls::DBDateEdit>(d, "DBDateTimeEditEh3")->setDate(QDate(2024, 3, 6));
        QTest::keyClick(child(d, "DBDateTimeEditEh3"), Qt::Key_Return);
        QCOMPARE(q->field(S("运输单号")).asString(), S("C4"));
        click(d, "SpeedButton2");
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->field(S("运输单号")).asString(), S("C2"));
        retype(child(d, "Edit1"), S("无此车"));
        click(d, "SpeedButton2");
        QCOMPARE(ms.last(), S("没有找到合适的记录！"));
        QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    });
}

void TstContainerDispatch::searchDialogPeriodAndTerms_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("from only") << QDate(2024, 3, 5) << QDate() << S("发车日期输入错误,请重新输入!") << QStringList{};
    QTest::newRow("to only") << QDate() << QDate(2024, 3, 5) << S("发车日期输入错误,请重新输入!") << QStringList{};
    QTest::newRow("from after to") << QDate(2024, 3, 6) << QDate(2024, 3, 5)
                                   << S("发车日期从不能大于发车日期到,请重新输入!") << QStringList{};
    QTest::newRow("one day") << QDate(2024, 3, 5) << QDate(2024, 3, 5) << QString() << QStringList{S("C1"), S("C3")};
    QTest::newRow("two days") << QDate(2024, 3, 5) << QDate(2024, 3, 6) << QString()
                              << QStringList{S("C1"), S("C3"), S("C2")};
}

void TstContainerDispatch::searchDialogPeriodAndTerms()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, message);
    QFETCH(QStringList, found);
    TestDb t;
    seed(t);
    t.exec(S("update 集装箱运输单 set 运输期限从 = '2024-03-05 18:30:00' where 运输单号 = 'C3'"));
    MessageScript ms;
    runMenu("N36", [&](QDialog *w) {
        db::Query *q = t.dm()->q_container_ysd;
        ModalDriver dialogDriver([&](QDialog *d) {
            activate(d);
            QCOMPARE(d->windowTitle(), S("查询"));
            QCOMPARE(items(child(d, "DBComboBoxEh4")), QStringList({S("武汉港"), S("阳逻")}));
            QCOMPARE(items(child(d, "DBComboBoxEh6")), QStringList({S("汉江物流"), S("长江运输")}));
            child<dbctrls::DBDateEdit>(d, "DBDateTimeEditEh1")->setDate(from);
            child<dbctrls::DBDateEdit>(d, "DBDateTimeEditEh2")->setDate(to);
            click(d, "bitbtn_seek");
            if (!message.isEmpty()) {
                QCOMPARE(ms.last(), message);
                QCOMPARE(QApplication::focusWidget(), child(d, "DBDateTimeEditEh1"));
                QVERIFY(d->isVisible());
                return;
            }
            QCOMPARE(q->sql(), QStringList({S("select * from 集装箱运输单"),
                                            S(" where (运输期限从 between cvdate('%1 0:0:0') and cvdate('%2 23:59:59'))")
                                                .arg(db::shortDate(from), db::shortDate(to)),
                                            S("order by 运输期限从")}));
            QStringList got;
            for (int r = 0; r < q->recordCount(); ++r)
                got << q->displayText(r, q->fieldIndex(S("运输单号")));
            QCOMPARE(got, found);
            QCOMPARE(d->result(), int(QDialog::Accepted));
        });
        click(w, "SpeedButton5");
        QCOMPARE(dialogDriver.shown, QStringList({S("TForm_container_ddb_cx")}));
    });
}

void TstContainerDispatch::completionChecks_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("done");
    QTest::addColumn<QDate>("arrival");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString saved = S("保存完毕！");
    QTest::newRow("flag empty") << S("C1") << QString() << QDate() << S("执行完结为是或否,请重新输入!") << S("DBComboBoxEh5");
    QTest::newRow("flag other text") << S("C1") << S("完") << QDate() << S("执行完结为是或否,请重新输入!") << S("DBComboBoxEh5");
    QTest::newRow("arrival before departure") << S("C1") << S("是") << QDate(2024, 3, 4)
                                              << S("到达时间不能小于发车日期,请重新输入!") << S("DBDateTimeEditEh4");
    QTest::newRow("arrival on departure day") << S("C1") << S("是") << QDate(2024, 3, 5) << saved << QString();
    QTest::newRow("no departure date") << S("C5") << S("是") << QDate(2020, 1, 1) << saved << QString();
}

void TstContainerDispatch::completionChecks()
{
    QFETCH(QString, order);
    QFETCH(QString, done);
    QFETCH(QDate, arrival);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    seed(t);
    t.exec(S("insert into 集装箱运输单 (运输单号) values ('C5')"));
    MessageScript ms;
    runMenu("N36", [&](QDialog *d) {
        db::Query *q = t.dm()->q_container_ysd;
        QVERIFY(q->locate(S("运输单号"), order));
        activate(d);
        click(d, "bitbtn_edit");
        QCOMPARE(QApplication::focusWidget(), child(d, "DBDateTimeEditEh4"));
        if (arrival.isValid())
            retype(child(d, "DBDateTimeEditEh4"), db::shortDate(arrival));
        retype(child(d, "DBComboBoxEh5"), done);
        retype(child(d, "DBMemo1"), S("已到"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), message);
        if (!focus.isEmpty()) {
            QWidget *f = child(d, focus.toLatin1().constData());
            QVERIFY(QApplication::focusWidget() == f || f->isAncestorOf(QApplication::focusWidget()));
            QVERIFY(child<QPushButton>(d, "bitbtn_save")->isEnabled());   // still editing
        }
        QCOMPARE(q->recordCount(), 4);   // the list is not reloaded
    });
    const QString stored = t.scalar(S("select 执行完结 || '/' || 调度单备注 || '/' || 调度单操作员 from 集装箱运输单 where 运输单号='%1'").arg(order));
    QCOMPARE(stored, message == S("保存完毕！") ? S("是/已到/张三") : QString());
}

void TstContainerDispatch::completeAllMarksEveryListedRow()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N36", [&](QDialog *d) {
        db::Query *q = t.dm()->q_container_ysd;
        q->last();
        ms.answer(QMessageBox::No);
        click(d, "SpeedButton3");
        QCOMPARE(ms.seen().last().text, S("以下记录确实都执行完结了吗? "));
        QCOMPARE(ms.seen().last().caption, S("请选择"));
        QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
        QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 执行完结='是'")), S("1"));
        ms.answer(QMessageBox::Yes);
        click(d, "SpeedButton3");
        QCOMPARE(ms.seen().size(), 2);
        QCOMPARE(q->recNo(), 1);
        QCOMPARE(q->recordCount(), 3);   // still listed until the next opening
        QCOMPARE(q->field(S("执行完结")).asString(), S("是"));
    });
    // Each arrives on its own due date; no due date gives no arrival date;
    // the dispatch stamp is not written; the completed order is left alone.
    QCOMPARE(t.scalar(S("select group_concat(运输单号 || ':' || 执行完结 || ':' || coalesce(到达时间, '-') || ':' || "
                        "coalesce(调度单操作员, '-'), ' ') from (select * from 集装箱运输单 order by 运输单号)")),
             S("C1:是:2024-03-08 00:00:00:- C2:是:2024-03-09 00:00:00:- C3:是:-:- C4:是:-:-"));
    QStringList listed;
    runMenu("N45", [&](QDialog *) { listed << QString::number(t.dm()->q_container_ysd->recordCount()); });
    QCOMPARE(listed, QStringList{S("0")});
}

void TstContainerDispatch::completeAllIsAllOrNothing()
{
    TestDb t;
    seed(t);
    // The second listed order cannot be written.
    t.exec(S("create trigger refuse before update of 执行完结 on 集装箱运输单 when old.运输单号 = 'C3' "
             "begin select raise(abort, 'locked row'); end"));
    MessageScript ms;
    runMenu("N36", [&](QDialog *d) {
        db::Query *q = t.dm()->q_container_ysd;
        click(d, "bitbtn_edit");
        retype(child(d, "DBMemo1"), S("打字中"));
        ms.answer(QMessageBox::Yes);
        click(d, "SpeedButton3");
        QCOMPARE(ms.seen().size(), 2);
        const QString told = ms.last();
        QVERIFY2(told.contains(S("第2条")) && told.contains(S("C3")) && told.contains(S("locked row")), qPrintable(told));
        QCOMPARE(ms.seen().last().icon, msg::Icon::Error);
        // The list shows what is stored: nothing marked, the typed change dropped.
        QCOMPARE(q->recordCount(), 3);
        QCOMPARE(q->recNo(), 1);
        QCOMPARE(q->state(), db::Query::Browse);
        for (int r = 0; r < q->recordCount(); ++r)
            QCOMPARE(q->displayText(r, q->fieldIndex(S("执行完结"))), S("否"));
        QVERIFY(child<QPushButton>(d, "bitbtn_edit")->isEnabled());
    });
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 执行完结='是' or 到达时间 is not null or 调度单备注 is not null")),
             S("1"));
}

void TstContainerDispatch::paymentComputesPayable_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QStringList>("costs");   // 路桥费, 油费, 罚款, 其它费用, 劳务费
    QTest::addColumn<QString>("payable");
    QTest::newRow("amount less costs") << S("1000") << QStringList{S("120"), S("300"), S("50"), S(""), S("30")} << S("500");
    QTest::newRow("no costs") << S("1000") << QStringList{S(""), S(""), S(""), S(""), S("")} << S("1000");
    QTest::newRow("no amount") << S("") << QStringList{S("20"), S(""), S(""), S(""), S("")} << S("-20");
    QTest::newRow("cents stay exact") << S("0.3") << QStringList{S("0.1"), S("0.2"), S(""), S(""), S("")} << S("0");
    QTest::newRow("four decimals") << S("100.0001") << QStringList{S(""), S(""), S(""), S("0.0002"), S("")} << S("99.9999");
}

void TstContainerDispatch::paymentComputesPayable()
{
    QFETCH(QString, amount);
    QFETCH(QStringList, costs);
    QFETCH(QString, payable);
    TestDb t;
    seed(t);
    const QString amountRaw = amount.isEmpty() ? S("null") : QString::number(db::Money::parse(amount)->raw());
    t.exec(S("update 集装箱运输单 set 运输金额 = %1 where 运输单号 = 'C2'").arg(amountRaw));
    MessageScript ms;
    runMenu("N34", [&](QDialog *d) {
        QVERIFY(t.dm()->q_container_ysd->locate(S("运输单号"), S("C2")));
        QVERIFY(!child<QLineEdit>(d, "DBNumberEditEh8")->isEnabled() || child<QLineEdit>(d, "DBNumberEditEh8")->isReadOnly());
        activate(d);
        click(d, "bitbtn_edit");
        const char *editors[] = {"DBNumberEditEh3", "DBNumberEditEh4", "DBNumberEditEh5", "DBNumberEditEh6", "DBNumberEditEh7"};
        for (int i = 0; i < 5; ++i)
            if (!costs[i].isEmpty())
                retype(child(d, editors[i]), costs[i]);
        retype(child(d, "DBComboBoxEh4"), S("否"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QCOMPARE(t.dm()->q_container_ysd->field(S("应付运费")).asMoney(), *db::Money::parse(payable));
    });
    QCOMPARE(db::Money::parse(t.scalar(S("select 应付运费 from 集装箱运输单 where 运输单号='C2'"))), db::Money::parse(payable));
}

void TstContainerDispatch::paymentChecks()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N34", [&](QDialog *d) {
        db::Query *q = t.dm()->q_container_ysd;
        activate(d);
        click(d, "bitbtn_edit");
        QWidget *settled = child(d, "DBComboBoxEh4");
        QVERIFY(QApplication::focusWidget() == settled || settled->isAncestorOf(QApplication::focusWidget()));
        retype(settled, QString());
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("帐款结清为是或否,请重新输入!"));
        retype(settled, S("是"));
        // Due 2024-3-9: a payment the day before is refused, on the day accepted.
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-8"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("付款日期不能小于运输期限到,请重新输入!"));
        QCOMPARE(QApplication::focusWidget(), child(d, "DBDateTimeEditEh2"));
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-9"));
        retype(child(d, "DBEdit2"), S("出纳"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QCOMPARE(q->recordCount(), 1);   // stays listed until the next opening

        // The remarks memo opens the memo window on 调度单备注 while editing.
        click(d, "bitbtn_edit");
        bool memoSeen = false;
        QTimer::singleShot(0, [&] {
            auto *memo = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(memo);
            QCOMPARE(memo->windowTitle(), S("备忘录"));
            auto *editor = memo->findChild<dbctrls::DBMemo *>(S("DBMemo1"));
            QCOMPARE(editor->dataField(), S("调度单备注"));
            editor->setFocus();
            typeText(editor, S("长备注"));
            memoSeen = true;
            memo->findChild<QPushButton *>(S("bitbtn_close"))->click();
        });
        QTest::mouseDClick(child<QPlainTextEdit>(d, "DBMemo1")->viewport(), Qt::LeftButton);
        QVERIFY(memoSeen);
        click(d, "bitbtn_save");
    });
    QCOMPARE(t.scalar(S("select 下游帐款结清 || '/' || 付款日期 || '/' || 付款人 || '/' || 调度单备注 from 集装箱运输单 "
                        "where 运输单号='C2'")),
             S("是/2024-03-09 00:00:00/出纳/长备注"));
    QStringList listed;
    runMenu("N34", [&](QDialog *) { listed << QString::number(t.dm()->q_container_ysd->recordCount()); });
    QCOMPARE(listed, QStringList{S("0")});
}

void TstContainerDispatch::printExportAndLayoutFile_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("numberRight");
    QTest::addColumn<QString>("exportName");
    QTest::addColumn<QString>("exportButton");
    QTest::newRow("vehicles") << S("carinfo") << S("轿运车辆打印列表") << true << S("承运车辆明细表") << S("SpeedButton2");
    QTest::newRow("dispatch") << S("container_ddb") << S("集装箱调度单明细表打印清单") << false << S("集装箱调度单明细表")
                              << S("bitbtn_out");
    QTest::newRow("completion") << S("container_ddb_zxwj") << S("集装箱调度单(执行完结)明细表打印清单") << false
                                << S("集装箱调度单(执行完结)明细表") << S("bitbtn_out");
    QTest::newRow("payment") << S("container_ddb_fk") << S("集装箱调度单(付款)明细表打印清单") << false
                             << S("集装箱调度单(付款)明细表") << S("bitbtn_out");
}

void TstContainerDispatch::printExportAndLayoutFile()
{
    QFETCH(QString, window);
    QFETCH(QString, title);
    QFETCH(bool, numberRight);
    QFETCH(QString, exportName);
    QFETCH(QString, exportButton);
    TestDb t;
    seed(t);
    MessageScript ms;
    t.dm()->q_carinfo->reopenWith({S("select * from 承运车辆 "), S("order by 车牌号")});
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输期限从")});
    std::unique_ptr<data::RecordListWindow> w;
    if (window == S("carinfo"))
        w = std::make_unique<TForm_carinfo>(nullptr);
    else if (window == S("container_ddb"))
        w = std::make_unique<TForm_container_ddb>(nullptr);
    else if (window == S("container_ddb_zxwj"))
        w = std::make_unique<TForm_container_ddb_zxwj>(nullptr);
    else
        w = std::make_unique<TForm_container_ddb_fk>(nullptr);
    w->show();

    const QString pdf = t.dir() + S("/print.pdf");
    auto oldRunner = grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        QPrinter *printer = dlg.printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        emit dlg.paintRequested(printer);
    });
    click(w.get(), "bitbtn_print");
    grid::setPreviewRunner(oldRunner);
    QProcess p;
    p.start(S("pdftotext"), {S("-layout"), pdf, S("-")});
    QVERIFY(p.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    const auto lineWith = [&](const QString &text) {
        for (const QString &l : lines)
            if (l.contains(text))
                return l;
        return QString();
    };
    QVERIFY2(!lineWith(title).isEmpty(), qPrintable(lines.join(QLatin1Char('\n'))));
    const QString number = lineWith(S("第1页"));
    QCOMPARE(number.indexOf(S("第1页")) > lineWith(title).indexOf(title), numberRight);
    QVERIFY(!lineWith(S("制表:张三 .")).isEmpty());

    QString proposed;
    auto oldHook = grid::setSaveDialogHook([&](QWidget *, const QString &name, const QStringList &, int) {
        proposed = name;
        return std::optional<grid::SaveChoice>();
    });
    click(w.get(), exportButton.toLatin1().constData());
    grid::setSaveDialogHook(oldHook);
    QCOMPARE(QFileInfo(proposed).fileName(), exportName);

    w->close();
    QVERIFY(QFile::exists(t.dir() + QLatin1Char('/') + window + S(".ini")));
}

QTEST_MAIN(TstContainerDispatch)
#include "tst_container_dispatch.moc"
