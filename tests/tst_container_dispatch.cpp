// Container dispatch, completion and payment, opened through the main menu
// as the program opens them.
#include "app/main.h"
#include "db/text.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/money.h"
#include "dbctrls/dbctrls.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {


QWidget *child(QWidget *w, const char *name) { return w->findChild<QWidget *>(QString::fromUtf8(name)); }

void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QAbstractButton *>(QString::fromUtf8(name));
    QVERIFY2(b && b->isEnabled(), name);
    b->click();
}

// The widget has the focus within its window (active or not).
bool hasFocus(QWidget *w)
{
    QWidget *f = w->window()->focusWidget();
    return f && (w == f || w->isAncestorOf(f));
}

// Replaces an editor's text as the user would (empty text clears it).
void retype(QWidget *editor, const QString &text)
{
    editor->setFocus();
    if (auto *c = qobject_cast<QComboBox *>(editor))
        editor = c->lineEdit();
    if (auto *e = qobject_cast<QLineEdit *>(editor)) {
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
    }
    typeText(editor, text);
}

QStringList column(const char *name)
{
    db::Query *q = Dm1->q_container_ysd;
    QStringList l;
    for (int r = 0; r < q->recordCount(); ++r)
        l << q->displayText(r, q->fieldIndex(S(name)));
    return l;
}

// Opens a menu item of the main window and hands its window to `act`.
void runMenu(const char *item, const std::function<void(QDialog *)> &act)
{
    TForm_main main;
    velorin::startup_done = true;
    int windows = 0;
    ModalDriver driver([&](QDialog *d) {
        if (++windows == 1)
            act(d);
    });
    main.menuAction(QString::fromLatin1(item))->trigger();
    QCOMPARE(windows, 1);
}

// C1 not dispatched, C2 dispatched, C3 with an empty plate, C4 completed and settled.
void seed(const TestDb &t)
{
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉港'), ('阳逻')"));
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('汉江物流')"));
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位, 驾驶员) values ('鄂A1001', '长江运输', '王五'), "
             "('鄂A2002', '汉江物流', '李四')"));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 运输期限到, 承运单位, 车牌号, 执行完结, 下游帐款结清) values "
             "('武汉港', 'C1', '2024-03-05 00:00:00', '2024-03-08 00:00:00', null, null, '否', '否'),"
             "('武汉港', 'C2', '2024-03-06 00:00:00', '2024-03-09 00:00:00', '长江运输', '鄂A1001', '否', '否'),"
             "('阳逻', 'C3', '2024-03-05 18:30:00', null, '汉江物流', '', '否', '否'),"
             "('阳逻', 'C4', '2024-02-01 00:00:00', '2024-02-03 00:00:00', '长江运输', '鄂A2002', '是', '是')"));
}

} // namespace

class TstContainerDispatch : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("张三"); }
    void openingLists_data();
    void openingLists();
    void dispatchChoosesVehicleAndSaves();
    void searchDialogPeriod_data();
    void searchDialogPeriod();
    void completionChecks_data();
    void completionChecks();
    void completeAllMarksEveryListedRow();
    void completeAllIsAllOrNothing();
    void paymentComputesPayable_data();
    void paymentComputesPayable();
    void paymentChecksAndMemo();
};

void TstContainerDispatch::openingLists_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("orders");
    // Dispatch and completion: every order not completed, dispatched or not.
    // Payment: dispatched (a plate, neither empty nor null) and not settled.
    QTest::newRow("dispatch") << S("N45") << QStringList{S("C1"), S("C3"), S("C2")};
    QTest::newRow("completion") << S("N36") << QStringList{S("C1"), S("C3"), S("C2")};
    QTest::newRow("payment") << S("N34") << QStringList{S("C2")};
}

void TstContainerDispatch::openingLists()
{
    QFETCH(QString, item);
    QFETCH(QStringList, orders);
    TestDb t;
    seed(t);
    runMenu(item.toLatin1().constData(), [&](QDialog *d) {
        QCOMPARE(column("运输单号"), orders);
        QCOMPARE(static_cast<QComboBox *>(child(d, "DBComboBoxEh3"))->count(), 2);   // the carriers
    });
}

void TstContainerDispatch::dispatchChoosesVehicleAndSaves()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N45", [&](QDialog *d) {
        QVERIFY(Dm1->q_container_ysd->locate(S("运输单号"), S("C1")));
        click(d, "bitbtn_edit");
        QVERIFY(hasFocus(child(d, "DBEdit6")));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("调度单编号不能为空,请重新输入!"));
        retype(child(d, "DBEdit6"), S("dd-01"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("车牌号不能为空,请重新输入!"));   // no vehicle chosen yet
        QVERIFY(hasFocus(child(d, "DBEdit8")));
        // The vehicle list as picker fills carrier, plate and driver at once.
        ModalDriver picker([&](QDialog *list) {
            Dm1->q_carinfo->locate(S("车牌号"), S("鄂A2002"));
            click(list, "SpeedButton1");
        });
        click(d, "choose_shr");
        QCOMPARE(picker.shown, QStringList({S("TForm_carinfo")}));
        QCOMPARE(static_cast<QLineEdit *>(child(d, "DBEdit1"))->text() + static_cast<QLineEdit *>(child(d, "DBEdit8"))->text() +
                     static_cast<QLineEdit *>(child(d, "DBEdit9"))->text(),
                 S("汉江物流鄂A2002李四"));
        retype(child(d, "DBEdit9"), S("赵六"));   // overtyped afterwards
        retype(child(d, "DBNumberEditEh2"), S("1500.5"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QCOMPARE(column("运输单号").size(), 3);    // still listed: not completed
    });
    QCOMPARE(t.scalar(S("select 调度单编号 || '/' || 承运单位 || '/' || 车牌号 || '/' || 驾驶员 || '/' || 运输金额 || '/' || "
                        "调度单操作员 || '/' || coalesce(操作员, '-') from 集装箱运输单 where 运输单号='C1'")),
             S("DD-01/汉江物流/鄂A2002/赵六/15005000/张三/-"));
    runMenu("N34", [&](QDialog *) { QCOMPARE(column("运输单号"), QStringList({S("C1"), S("C2")})); });
}

void TstContainerDispatch::searchDialogPeriod_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("found");
    const QString incomplete = S("发车日期输入错误,请重新输入!");
    QTest::newRow("from only") << QDate(2024, 3, 5) << QDate() << incomplete << QStringList{};
    QTest::newRow("to only") << QDate() << QDate(2024, 3, 5) << incomplete << QStringList{};
    QTest::newRow("from after to") << QDate(2024, 3, 6) << QDate(2024, 3, 5) << S("发车日期从不能大于发车日期到,请重新输入!")
                                   << QStringList{};
    // A one-day period takes the whole day, an evening departure included.
    QTest::newRow("one day") << QDate(2024, 3, 5) << QDate(2024, 3, 5) << QString() << QStringList{S("C1"), S("C3")};
    QTest::newRow("two days") << QDate(2024, 3, 5) << QDate(2024, 3, 6) << QString() << QStringList{S("C1"), S("C3"), S("C2")};
}

void TstContainerDispatch::searchDialogPeriod()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, message);
    QFETCH(QStringList, found);
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N36", [&](QDialog *w) {
        ModalDriver dialog([&](QDialog *d) {
            QCOMPARE(static_cast<QComboBox *>(child(d, "DBComboBoxEh4"))->itemText(1), S("阳逻"));   // customers
            static_cast<dbctrls::DBDateEdit *>(child(d, "DBDateTimeEditEh1"))->setDate(from);
            static_cast<dbctrls::DBDateEdit *>(child(d, "DBDateTimeEditEh2"))->setDate(to);
            click(d, "bitbtn_seek");
            if (!message.isEmpty()) {
                QCOMPARE(ms.last(), message);
                QVERIFY(hasFocus(child(d, "DBDateTimeEditEh1")));
                QVERIFY(d->isVisible());
                return;
            }
            QCOMPARE(Dm1->q_container_ysd->sql().value(1),
                     S(" where (运输期限从 between cvdate('%1 0:0:0') and cvdate('%2 23:59:59'))")
                         .arg(db::shortDate(from), db::shortDate(to)));
            QCOMPARE(column("运输单号"), found);
            QCOMPARE(d->result(), int(QDialog::Accepted));
        });
        click(w, "SpeedButton5");
        QCOMPARE(dialog.shown, QStringList({S("TForm_container_ddb_cx")}));
    });
}

void TstContainerDispatch::completionChecks_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("done");
    QTest::addColumn<QString>("arrival");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString flag = S("执行完结为是或否,请重新输入!"), early = S("到达时间不能小于发车日期,请重新输入!");
    QTest::newRow("flag empty") << S("C1") << QString() << QString() << flag << S("DBComboBoxEh5");
    QTest::newRow("flag other text") << S("C1") << S("完") << QString() << flag << S("DBComboBoxEh5");
    QTest::newRow("before departure") << S("C1") << S("是") << S("2024-3-4") << early << S("DBDateTimeEditEh4");
    QTest::newRow("departure day") << S("C3") << S("是") << S("2024-3-5") << S("保存完毕！") << QString();
    QTest::newRow("no departure date") << S("C5") << S("是") << S("2020-1-1") << S("保存完毕！") << QString();
}

void TstContainerDispatch::completionChecks()
{
    QFETCH(QString, order);
    QFETCH(QString, done);
    QFETCH(QString, arrival);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    seed(t);
    t.exec(S("insert into 集装箱运输单 (运输单号) values ('C5')"));
    MessageScript ms;
    runMenu("N36", [&](QDialog *d) {
        QVERIFY(Dm1->q_container_ysd->locate(S("运输单号"), order));
        click(d, "bitbtn_edit");
        QVERIFY(hasFocus(child(d, "DBDateTimeEditEh4")));
        retype(child(d, "DBDateTimeEditEh4"), arrival);
        retype(child(d, "DBComboBoxEh5"), done);
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), message);
        if (!focus.isEmpty())
            QVERIFY(hasFocus(child(d, focus.toLatin1().constData())));
        QCOMPARE(column("运输单号").size(), 4);   // not reloaded
    });
    QCOMPARE(t.scalar(S("select 执行完结 || coalesce(调度单操作员, '') from 集装箱运输单 where 运输单号='%1'").arg(order)),
             message == S("保存完毕！") ? S("是张三") : S("否"));
}

void TstContainerDispatch::completeAllMarksEveryListedRow()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N36", [&](QDialog *d) {
        Dm1->q_container_ysd->last();
        ms.answer(QMessageBox::No);
        click(d, "SpeedButton3");
        QCOMPARE(ms.seen().last().text, S("以下记录确实都执行完结了吗? "));
        QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
        QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单 where 执行完结='是'")), S("1"));
        click(d, "SpeedButton3");   // Yes
        QCOMPARE(ms.seen().size(), 2);
        QCOMPARE(Dm1->q_container_ysd->recNo(), 1);
        QCOMPARE(column("执行完结"), QStringList({S("是"), S("是"), S("是")}));   // listed until reopened
    });
    // Each arrives on its own due date (none without one); no stamp written.
    QCOMPARE(t.scalar(S("select group_concat(运输单号 || ':' || 执行完结 || ':' || coalesce(到达时间, '-') || ':' || "
                        "coalesce(调度单操作员, '-'), ' ') from (select * from 集装箱运输单 order by 运输单号)")),
             S("C1:是:2024-03-08 00:00:00:- C2:是:2024-03-09 00:00:00:- C3:是:-:- C4:是:-:-"));
    runMenu("N45", [&](QDialog *) { QVERIFY(column("运输单号").isEmpty()); });
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
        click(d, "bitbtn_edit");
        retype(child(d, "DBMemo1"), S("打字中"));
        click(d, "SpeedButton3");
        const QString told = ms.last();
        QVERIFY2(told.contains(S("第2行")) && told.contains(S("C3")) && told.contains(S("locked row")), qPrintable(told));
        // The list shows what is stored: nothing marked, the typed change dropped.
        QCOMPARE(column("执行完结"), QStringList({S("否"), S("否"), S("否")}));
        QCOMPARE(Dm1->q_container_ysd->state(), db::Query::Browse);
        QVERIFY(d->findChild<QPushButton *>(S("bitbtn_edit"))->isEnabled());
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
    QTest::newRow("exact decimals") << S("100.3") << QStringList{S("0.1"), S("0.2"), S(""), S("0.0002"), S("")} << S("99.9998");
}

void TstContainerDispatch::paymentComputesPayable()
{
    QFETCH(QString, amount);
    QFETCH(QStringList, costs);
    QFETCH(QString, payable);
    TestDb t;
    seed(t);
    if (!amount.isEmpty())
        t.exec(S("update 集装箱运输单 set 运输金额 = %1 where 运输单号 = 'C2'").arg(db::Money::parse(amount)->raw()));
    MessageScript ms;
    runMenu("N34", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        const char *editors[] = {"DBNumberEditEh3", "DBNumberEditEh4", "DBNumberEditEh5", "DBNumberEditEh6", "DBNumberEditEh7"};
        for (int i = 0; i < 5; ++i)
            if (!costs[i].isEmpty())
                retype(child(d, editors[i]), costs[i]);
        retype(child(d, "DBComboBoxEh4"), S("否"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QCOMPARE(static_cast<QLineEdit *>(child(d, "DBNumberEditEh8"))->text(), db::Money::parse(payable)->toString());
    });
    QCOMPARE(db::Money::parse(t.scalar(S("select 应付运费 from 集装箱运输单 where 运输单号='C2'"))), db::Money::parse(payable));
}

void TstContainerDispatch::paymentChecksAndMemo()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    runMenu("N34", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        QWidget *settled = child(d, "DBComboBoxEh4");
        QVERIFY(hasFocus(settled));
        retype(settled, QString());
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("帐款结清为是或否,请重新输入!"));
        retype(settled, S("是"));
        // Due on 2024-3-9: paid the day before is refused, on the day accepted.
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-8"));
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("付款日期不能小于运输期限到,请重新输入!"));
        QVERIFY(hasFocus(child(d, "DBDateTimeEditEh2")));
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-9"));
        // The remarks memo opens the memo window on 调度单备注, in the same change.
        QTimer::singleShot(0, [] {
            auto *memo = QApplication::activeModalWidget();
            QVERIFY(memo && memo->windowTitle() == S("备忘录"));
            typeText(memo->findChild<QPlainTextEdit *>(S("DBMemo1")), S("长备注"));
            click(memo, "bitbtn_close");
        });
        QTest::mouseDClick(static_cast<QPlainTextEdit *>(child(d, "DBMemo1"))->viewport(), Qt::LeftButton);
        click(d, "bitbtn_save");
        QCOMPARE(ms.last(), S("保存完毕！"));
        QCOMPARE(column("运输单号").size(), 1);   // listed until reopened
    });
    QCOMPARE(t.scalar(S("select 下游帐款结清 || '/' || 付款日期 || '/' || 调度单备注 from 集装箱运输单 where 运输单号='C2'")),
             S("是/2024-03-09 00:00:00/长备注"));
    runMenu("N34", [&](QDialog *) { QVERIFY(column("运输单号").isEmpty()); });
}

QTEST_MAIN(TstContainerDispatch)
#include "tst_container_dispatch.moc"
