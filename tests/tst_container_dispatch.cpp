// Container dispatch, completion and payment, opened through the main menu
// as the program opens them; the panels of all six container windows; and
// one order walked through every window as a clerk would.
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

// Object name of the editor holding the focus (a combo for its line edit).
QString focused(QWidget *w)
{
    QWidget *f = w->focusWidget();
    if (f && f->objectName().isEmpty() && f->parentWidget())
        f = f->parentWidget();
    return f ? f->objectName() : QString();
}

// The user can change the value: a choice or number that is not, must be off.
bool writable(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->isEnabled() && !e->isReadOnly();
    if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        return m->isEnabled() && !m->isReadOnly();
    return w->isEnabled();
}

bool mustBeOffWhenLocked(QWidget *w)
{
    return qobject_cast<QComboBox *>(w) || qobject_cast<dbctrls::DBNumberEdit *>(w);
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
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
    void quickSearch_data();
    void quickSearch();
    void panelStatesEnterAndInputMethod_data();
    void panelStatesEnterAndInputMethod();
    void orderWalksThroughEveryWindow();
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
    QCOMPARE(t.scalar(S("select group_concat(运输单号 || ':' || 执行完结 || ':' || coalesce(cast(到达时间 as text), '-') || ':' || "
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

void TstContainerDispatch::quickSearch_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("typed");   // objectName=text
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<QStringList>("found");
    const QString orders = S("select * from 集装箱运输单 ");
    // The order strips search all orders by customer, box, route and start day.
    QTest::newRow("orders: nothing typed") << S("N24") << QStringList{} << QStringList{orders, S("order by 上游客户,运输单号")}
                                           << QStringList{S("C1"), S("C2"), S("C3"), S("C4")};
    QTest::newRow("orders: start day") << S("N38") << QStringList{S("DBDateTimeEditEh3=2024-3-5")}
                                       << QStringList{orders,
                                                      S(" where (运输期限从 between cdate('2024-3-5') and cdate('2024-3-5'))"),
                                                      S("order by 上游客户,运输单号")}
                                       << QStringList{S("C1")};
    QTest::newRow("orders: customer and route with a quote")
        << S("N55") << QStringList{S("DBComboBoxEh3= 武汉 "), S("Edit3=O'")}
        << QStringList{orders, S(" where (上游客户 like '%武汉%')and(运输动态 like '%O''%')"), S("order by 上游客户,运输单号")}
        << QStringList{S("C2")};
    // The dispatch strips: carrier, plate, route and departure day; completed
    // and settled orders are found too.
    QTest::newRow("dispatch: nothing typed") << S("N45") << QStringList{} << QStringList{orders, S("order by 承运单位,运输期限从")}
                                             << QStringList{S("C1"), S("C3"), S("C4"), S("C2")};
    QTest::newRow("payment: carrier and plate")
        << S("N34") << QStringList{S("DBComboBoxEh3=长江"), S("Edit1=鄂A")}
        << QStringList{orders, S(" where (承运单位 like '%长江%')and(车牌号 like '%鄂A%')"), S("order by 承运单位,运输期限从")}
        << QStringList{S("C4"), S("C2")};
    QTest::newRow("completion: nothing found")
        << S("N36") << QStringList{S("Edit1=无此车")}
        << QStringList{orders, S(" where (车牌号 like '%无此车%')"), S("order by 承运单位,运输期限从")} << QStringList{};
}

void TstContainerDispatch::quickSearch()
{
    QFETCH(QString, item);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, sql);
    QFETCH(QStringList, found);
    TestDb t;
    seed(t);
    t.exec(S("update 集装箱运输单 set 运输动态 = 'O''Hare-武汉' where 运输单号 = 'C2'"));
    MessageScript ms;
    const bool orderStrip = item == S("N24") || item == S("N38") || item == S("N55");
    runMenu(item.toLatin1().constData(), [&](QDialog *d) {
        for (const QString &f : typed)
            retype(child(d, f.section(QLatin1Char('='), 0, 0).toLatin1().constData()), f.section(QLatin1Char('='), 1));
        // Enter in the date runs the order strips' search; the dispatch strips leave it to the button.
        const QStringList opening = Dm1->q_container_ysd->sql();
        QTest::keyClick(child(d, "DBDateTimeEditEh3"), Qt::Key_Return);
        QCOMPARE(Dm1->q_container_ysd->sql() != opening, orderStrip);
        if (!orderStrip)
            click(d, "SpeedButton2");
        QCOMPARE(Dm1->q_container_ysd->sql(), sql);
        QCOMPARE(column("运输单号"), found);
    });
    QCOMPARE(ms.texts(), found.isEmpty() ? QStringList{S("没有找到合适的记录！")} : QStringList{});
    if (found.isEmpty())
        QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
}

void TstContainerDispatch::panelStatesEnterAndInputMethod_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("writable");   // panel editors writable while editing, none while browsing
    QTest::addColumn<QStringList>("enter");      // focus after 编辑, then after each Enter
    QTest::addColumn<QStringList>("chinese");    // editors given the operator's input method
    const auto l = [](std::initializer_list<const char *> names) {
        QStringList out;
        for (const char *n : names)
            out << QString::fromLatin1(n);
        return out;
    };
    QTest::newRow("order entry")
        << S("N24")
        << l({"DBComboBoxEh2", "DBEdit6", "DBDateTimeEditEh1", "DBDateTimeEditEh2", "DBEdit7", "DBComboBoxEh1",
              "DBNumberEditEh1", "DBEdit8", "DBNumberEditEh2", "DBEdit1", "DBEdit3", "DBEdit9", "DBMemo1"})
        << l({"DBComboBoxEh2", "DBEdit6", "DBDateTimeEditEh1", "DBDateTimeEditEh2", "DBEdit7", "DBComboBoxEh1",
              "DBNumberEditEh1", "DBEdit8", "DBNumberEditEh2", "DBEdit1", "DBEdit3", "DBMemo1", "DBComboBoxEh2"})
        << l({"Edit3", "DBEdit1", "DBEdit3", "DBComboBoxEh2", "DBComboBoxEh3", "DBEdit8", "DBEdit9", "DBMemo1"});
    QTest::newRow("receipt") << S("N38") << l({"DBComboBoxEh4", "DBDateTimeEditEh2", "DBEdit1", "DBMemo1"})
                             << l({"DBComboBoxEh4", "DBDateTimeEditEh2", "DBEdit1", "DBComboBoxEh4"})
                             << l({"Edit3", "DBEdit1", "DBComboBoxEh3", "DBMemo1"});
    QTest::newRow("collection") << S("N55")
                                << l({"DBNumberEditEh1", "DBComboBoxEh4", "DBDateTimeEditEh2", "DBEdit1", "DBMemo1"})
                                << l({"DBComboBoxEh4", "DBDateTimeEditEh2", "DBEdit1", "DBMemo1", "DBNumberEditEh1",
                                      "DBComboBoxEh4"})
                                << l({"Edit3", "DBEdit1", "DBComboBoxEh3", "DBMemo1"});
    const QStringList dispatchIme = l({"Edit3", "DBComboBoxEh3", "DBEdit8", "DBEdit9", "DBMemo1"});
    QTest::newRow("dispatch") << S("N45") << l({"DBEdit6", "DBNumberEditEh2", "DBEdit9", "DBMemo1"})
                              << l({"DBEdit6", "DBNumberEditEh2", "DBEdit9", "DBMemo1", "DBEdit6"}) << dispatchIme;
    // The chain ends on the read-only dispatch number: Enter there goes nowhere.
    QTest::newRow("completion") << S("N36") << l({"DBDateTimeEditEh4", "DBComboBoxEh5", "DBMemo1"})
                                << l({"DBDateTimeEditEh4", "DBComboBoxEh5", "DBMemo1", "DBEdit6", "DBEdit6"})
                                << dispatchIme;
    QTest::newRow("payment")
        << S("N34")
        << l({"DBNumberEditEh3", "DBNumberEditEh4", "DBNumberEditEh5", "DBNumberEditEh6", "DBNumberEditEh7",
              "DBNumberEditEh1", "DBComboBoxEh4", "DBDateTimeEditEh2", "DBEdit2", "DBMemo1"})
        << l({"DBComboBoxEh4", "DBDateTimeEditEh2", "DBEdit2", "DBMemo1", "DBNumberEditEh3", "DBNumberEditEh4",
              "DBNumberEditEh5", "DBNumberEditEh6", "DBNumberEditEh7", "DBNumberEditEh1", "DBComboBoxEh4"})
        << dispatchIme;
}

void TstContainerDispatch::panelStatesEnterAndInputMethod()
{
    QFETCH(QString, item);
    QFETCH(QStringList, writable);
    QFETCH(QStringList, enter);
    QFETCH(QStringList, chinese);
    TestDb t;
    seed(t);
    runMenu(item.toLatin1().constData(), [&](QDialog *d) {
        const QList<QWidget *> editors = dbctrls::dataAwareChildren(d);
        QVERIFY(!editors.isEmpty());
        const auto check = [&](bool editing) {
            for (QWidget *w : editors) {
                const bool expected = editing && writable.contains(w->objectName());
                QVERIFY2(::writable(w) == expected, qPrintable(w->objectName() + (editing ? S(" editing") : S(" browsing"))));
                if (!expected && mustBeOffWhenLocked(w))
                    QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
            }
        };
        check(false);
        Dm1->q_container_ysd->first();
        click(d, "bitbtn_edit");
        check(true);
        QStringList path{focused(d)};
        for (int i = 1; i < enter.size(); ++i) {
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            path << focused(d);
        }
        QCOMPARE(path, enter);
        click(d, "bitbtn_cancel");
        check(false);

        QStringList ime;
        for (QWidget *w : d->findChildren<QWidget *>())
            if (dbctrls::isChineseText(w) && !w->objectName().isEmpty() && !w->objectName().startsWith(S("qt_")))
                ime << w->objectName();
        QCOMPARE(sorted(ime), sorted(chinese));
    });
}

// One order from entry to the carrier's payment, each stage through the
// window the main menu opens, each saved by another clerk.
void TstContainerDispatch::orderWalksThroughEveryWindow()
{
    TestDb t;
    seed(t);
    t.exec(S("insert into 收货单位 (单位名称, 上游客户) values ('青山库', '武汉港'), ('阳逻库', '武汉港'), ('汉口库', '阳逻')"));
    MessageScript ms;
    const auto stage = [&](const char *clerk, const char *item, const std::function<void(QDialog *)> &work) {
        velorin::operator_name = S(clerk);
        runMenu(item, [&](QDialog *d) {
            QVERIFY2(Dm1->q_container_ysd->locate(S("运输单号"), S("Y100")), item);   // listed
            work(d);
            click(d, "bitbtn_save");
        });
        QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
        ms.clear();
    };
    const auto row = [&](const char *columns) {
        return t.scalar(S("select %1 from 集装箱运输单 where 运输单号='Y100'").arg(S(columns)));
    };

    // Entry: a new order; the consignee picked from the customer's own consignees.
    velorin::operator_name = S("录单员");
    runMenu("N24", [&](QDialog *d) {
        click(d, "bitbtn_add");
        retype(child(d, "DBComboBoxEh2"), S("武汉港"));
        retype(child(d, "DBEdit6"), S("Y100"));
        retype(child(d, "DBDateTimeEditEh1"), S("2024-3-5"));
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-8"));
        retype(child(d, "DBEdit7"), S("TGHU1234567"));
        retype(child(d, "DBComboBoxEh1"), S("40"));
        retype(child(d, "DBNumberEditEh1"), S("2"));
        retype(child(d, "DBNumberEditEh2"), S("3000"));
        retype(child(d, "DBEdit1"), S("武汉"));
        retype(child(d, "DBEdit3"), S("上海"));
        QStringList offered;
        ModalDriver picker([&](QDialog *list) {
            db::Query *q = Dm1->q_deliveryinfo;
            for (int r = 0; r < q->recordCount(); ++r)
                offered << q->displayText(r, q->fieldIndex(S("单位名称")));
            QVERIFY(q->locate(S("单位名称"), S("阳逻库")));
            click(list, "SpeedButton3");
        });
        click(d, "choose_shr");
        QCOMPARE(offered, QStringList({S("青山库"), S("阳逻库")}));   // by pinyin: qing, yang
        QCOMPARE(static_cast<QLineEdit *>(child(d, "DBEdit9"))->text(), S("阳逻库"));
        click(d, "bitbtn_save");
    });
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    ms.clear();
    QCOMPARE(row("运输动态 || '/' || 收货人 || '/' || 数量 || '/' || 应收运费 || '/' || 操作员"),
             t.onServer() ? S("武汉-上海/阳逻库/2/30000000/录单员") : S("武汉-上海/阳逻库/2.0/30000000/录单员"));   // a real number as each engine writes it

    // Dispatch: the vehicle list copies carrier, plate and driver.
    stage("调度员", "N45", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        retype(child(d, "DBEdit6"), S("dd-7"));
        ModalDriver picker([&](QDialog *list) {
            QVERIFY(Dm1->q_carinfo->locate(S("车牌号"), S("鄂A1001")));
            click(list, "SpeedButton1");
        });
        click(d, "choose_shr");
        retype(child(d, "DBNumberEditEh2"), S("1800"));
    });
    QCOMPARE(row("调度单编号 || '/' || 承运单位 || '/' || 车牌号 || '/' || 驾驶员 || '/' || 运输金额 || '/' || "
                 "调度单操作员 || '/' || 操作员"),
             S("DD-7/长江运输/鄂A1001/王五/18000000/调度员/录单员"));

    stage("调度员", "N36", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        retype(child(d, "DBDateTimeEditEh4"), S("2024-3-8"));
        retype(child(d, "DBComboBoxEh5"), S("是"));
    });
    stage("单证员", "N38", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        retype(child(d, "DBComboBoxEh4"), S("是"));
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-10"));
        retype(child(d, "DBEdit1"), S("王五"));
    });
    stage("出纳", "N55", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        retype(child(d, "DBNumberEditEh1"), S("3000"));
        retype(child(d, "DBComboBoxEh4"), S("是"));
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-12"));
        retype(child(d, "DBEdit1"), S("钱会计"));
    });
    stage("会计", "N34", [&](QDialog *d) {
        click(d, "bitbtn_edit");
        retype(child(d, "DBNumberEditEh3"), S("120"));
        retype(child(d, "DBNumberEditEh4"), S("300"));
        retype(child(d, "DBNumberEditEh1"), S("1380"));
        retype(child(d, "DBComboBoxEh4"), S("是"));
        retype(child(d, "DBDateTimeEditEh2"), S("2024-3-15"));
        retype(child(d, "DBEdit2"), S("孙出纳"));
    });
    QCOMPARE(row("到达时间 || '/' || 执行完结 || '/' || 回单返回 || '/' || 回单返回时间 || '/' || 交单人 || '/' || "
                 "帐款结清 || '/' || 实收运费 || '/' || 收款日期 || '/' || 收款人 || '/' || 操作员"),
             S("2024-03-08 00:00:00/是/是/2024-03-10 00:00:00/王五/是/30000000/2024-03-12 00:00:00/钱会计/出纳"));
    QCOMPARE(row("应付运费 || '/' || 实付运费 || '/' || 下游帐款结清 || '/' || 付款日期 || '/' || 付款人 || '/' || "
                 "调度单操作员 || '/' || 调度单编号"),
             S("13800000/13800000/是/2024-03-15 00:00:00/孙出纳/会计/DD-7"));

    // With the other orders finished too, every stage list is empty and only
    // the entry list shows the order. 编辑 on an empty list has nothing to
    // edit: no bare order row can come of it.
    t.exec(S("update 集装箱运输单 set 执行完结='是', 回单返回='是', 帐款结清='是', 下游帐款结清='是'"));
    runMenu("N24", [&](QDialog *) { QVERIFY(column("运输单号").contains(S("Y100"))); });
    for (const char *item : {"N38", "N55", "N45", "N36", "N34"})
        runMenu(item, [&](QDialog *d) {
            QVERIFY2(column("运输单号").isEmpty(), item);
            click(d, "bitbtn_edit");
            QVERIFY2(!d->findChild<QPushButton *>(S("bitbtn_save"))->isEnabled(), item);
            QVERIFY2(!d->findChild<QWidget *>(S("DBMemo1"))->isEnabled() ||
                         static_cast<QPlainTextEdit *>(d->findChild<QWidget *>(S("DBMemo1")))->isReadOnly(),
                     item);
        });
    QCOMPARE(t.scalar(S("select count(*) from 集装箱运输单")), S("5"));
    QVERIFY(ms.texts().isEmpty());
}

QTEST_MAIN(TstContainerDispatch)
#include "tst_container_dispatch.moc"
