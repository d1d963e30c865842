// Login, switch of operator and change of password, driven through the menu.
#include "app/enter.h"
#include "app/main.h"
#include "app/password.h"
#include "data/session.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Steps of one login window: choose a name (empty: none), type, press 确认.
struct Attempt {
    QString name;
    QString typed;
};

void attempt(TForm_Enter *e, const Attempt &a)
{
    if (a.name.isEmpty())
        e->DBLookupComboBox1->setCurrentIndex(-1);
    else
        e->DBLookupComboBox1->setCurrentText(a.name);
    e->Edit1->clear();
    QTest::keyClicks(e->Edit1, a.typed);
    e->bitbtn_ok->click();
}

} // namespace

class TstLogin : public QObject {
    Q_OBJECT
private slots:
    void init();
    void passwordCheck_data();
    void passwordCheck();
    void sharedNameChecksFirstRow_data();
    void sharedNameChecksFirstRow();
    void editMasksAndUpperCases();
    void enterMovesThroughLogin();
    void failuresShareOneCounter_data();
    void failuresShareOneCounter();
    void counterRestartsOnReopen();
    void cancelledSwitchKeepsOperator();
    void switchOperatorUpdatesStatus();
    void emptyOperatorTable();
    void passwordChecksInOrder_data();
    void passwordChecksInOrder();
    void secondChangeExpectsNewPassword();
    void passwordFieldsLimitAndEnter();
    void failingPasswordPostKeepsOldPassword();

private:
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TForm_main> m_main;
    void loggedInAs(const QString &name, const QString &password);
};

void TstLogin::init()
{
    m_main.reset();
    m_db.reset();   // one data module at a time: it is the process-wide Dm1
    m_db = std::make_unique<TestDb>();
    m_db->exec(QStringLiteral("insert into 权限表 (姓名, 操作口令, 输入法) values ('张三', 'abc', '拼音'), ('李四', '', '五笔'), "
                              "('王五', 'Mix9z', '')"));
    m_main = std::make_unique<TForm_main>();
    velorin::operator_name.clear();
    velorin::operator_ime.clear();
    velorin::login_password.clear();
    velorin::startup_done = false;
}

void TstLogin::loggedInAs(const QString &name, const QString &password)
{
    velorin::operator_name = name;
    velorin::login_password = password;
    velorin::startup_done = true;
    m_main->setStatusPanelText(0, QStringLiteral("操作员：") + name);
}

void TstLogin::passwordCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("ime");
    QTest::newRow("lower-case stored, typed lower") << "张三" << "abc" << true << "拼音";
    QTest::newRow("lower-case stored, typed upper") << "张三" << "ABC" << true << "拼音";
    QTest::newRow("mixed stored, typed mixed") << "王五" << "mIX9Z" << true << "";
    QTest::newRow("empty stored, nothing typed") << "李四" << "" << true << "五笔";
    QTest::newRow("empty stored, something typed") << "李四" << "x" << false << "";
    QTest::newRow("wrong password") << "张三" << "abd" << false << "";
    QTest::newRow("empty typed for a set password") << "张三" << "" << false << "";
}

void TstLogin::passwordCheck()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, ime);
    MessageScript messages;
    bool stillOpen = true;
    ModalDriver driver([&](QDialog *d) {
        attempt(static_cast<TForm_Enter *>(d), {name, typed});
        stillOpen = d->isVisible();
    });
    m_main->FormActivate();
    QCOMPARE(!stillOpen, accepted);
    if (accepted) {
        QVERIFY(messages.seen().isEmpty());
        QCOMPARE(velorin::operator_name, name);
        QCOMPARE(velorin::operator_ime, ime);
        QCOMPARE(velorin::login_password, typed.toUpper());
        QCOMPARE(m_main->statusPanelText(0), QStringLiteral("操作员：") + name);
    } else {
        QCOMPARE(messages.texts(), QStringList({QStringLiteral("密码不对，第1次！  ")}));
        QCOMPARE(messages.seen()[0].caption, QStringLiteral("提示"));
        QCOMPARE(messages.seen()[0].icon, msg::Icon::Exclamation);
        QVERIFY(velorin::operator_name.isEmpty());
    }
}

void TstLogin::sharedNameChecksFirstRow_data()
{
    QTest::addColumn<bool>("firstRowsPassword");
    QTest::newRow("password of the first row with the name") << true;
    QTest::newRow("password of the later row with the name") << false;
}

void TstLogin::sharedNameChecksFirstRow()
{
    QFETCH(bool, firstRowsPassword);
    m_db->exec(QStringLiteral("insert into 权限表 (姓名, 操作口令, 输入法) values ('张三', 'other', '五笔')"));
    MessageScript messages;
    QString first, later, firstIme;
    bool stillOpen = true;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        db::Query *q = m_db->dm()->q_qxb;
        for (int row = 0; row < q->recordCount(); ++row) {
            if (q->displayText(row, q->fieldIndex(QStringLiteral("姓名"))) != QStringLiteral("张三"))
                continue;
            const QString password = q->displayText(row, q->fieldIndex(QStringLiteral("操作口令")));
            if (first.isEmpty()) {
                first = password;
                firstIme = q->displayText(row, q->fieldIndex(QStringLiteral("输入法")));
            } else {
                later = password;
            }
        }
        // The list shows the name twice; the later entry is the one picked.
        const int picked = e->DBLookupComboBox1->findText(QStringLiteral("张三")) + 1;
        QCOMPARE(e->DBLookupComboBox1->itemText(picked), QStringLiteral("张三"));
        e->DBLookupComboBox1->setCurrentIndex(picked);
        QTest::keyClicks(e->Edit1, firstRowsPassword ? first : later);
        e->bitbtn_ok->click();
        stillOpen = d->isVisible();
    });
    m_main->FormActivate();
    QVERIFY(!first.isEmpty() && !later.isEmpty() && first != later);
    QCOMPARE(stillOpen, !firstRowsPassword);
    if (firstRowsPassword) {
        QCOMPARE(velorin::operator_name, QStringLiteral("张三"));
        QCOMPARE(velorin::operator_ime, firstIme);
    } else {
        QCOMPARE(messages.texts(), QStringList({QStringLiteral("密码不对，第1次！  ")}));
    }
}

void TstLogin::editMasksAndUpperCases()
{
    TForm_Enter e(m_main.get());
    QCOMPARE(e.windowTitle(), QStringLiteral("系统登录"));
    QCOMPARE(e.Edit1->echoMode(), QLineEdit::Password);
    QTest::keyClicks(e.Edit1, QStringLiteral("ab1C"));
    QCOMPARE(e.Edit1->text(), QStringLiteral("AB1C"));
    QCOMPARE(e.DBLookupComboBox1->maxVisibleItems(), 8);
    QCOMPARE(e.bitbtn_ok->text(), QStringLiteral("确认"));
    QCOMPARE(e.bitbtn_cancel->text(), QStringLiteral("终止"));
    // No title-bar buttons: only the caption.
    QVERIFY(!(e.windowFlags() & Qt::WindowCloseButtonHint));
}

void TstLogin::enterMovesThroughLogin()
{
    MessageScript messages;
    QString focusAfterEnter;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        QCOMPARE(d->focusWidget(), e->DBLookupComboBox1);
        e->DBLookupComboBox1->setCurrentText(QStringLiteral("张三"));
        QTest::keyClick(e->DBLookupComboBox1, Qt::Key_Return);
        focusAfterEnter = d->focusWidget() ? d->focusWidget()->objectName() : QString();
        QTest::keyClicks(e->Edit1, QStringLiteral("abc"));
        QTest::keyClick(e->Edit1, Qt::Key_Enter);
    });
    m_main->FormActivate();
    QCOMPARE(focusAfterEnter, QStringLiteral("Edit1"));
    QVERIFY(messages.seen().isEmpty());
    QCOMPARE(velorin::operator_name, QStringLiteral("张三"));
}

void TstLogin::failuresShareOneCounter_data()
{
    QTest::addColumn<bool>("atStartup");
    QTest::newRow("at start-up: the program ends") << true;
    QTest::newRow("switching operator: the operator stays") << false;
}

void TstLogin::failuresShareOneCounter()
{
    QFETCH(bool, atStartup);
    if (!atStartup)
        loggedInAs(QStringLiteral("李四"), QString());
    MessageScript messages;
    bool closedByThird = false;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        attempt(e, {QStringLiteral("张三"), QStringLiteral("x")});
        attempt(e, {QStringLiteral("张三"), QStringLiteral("y")});
        QVERIFY(d->isVisible());
        QCOMPARE(e->Edit1->text(), QString());   // cleared after each wrong password
        attempt(e, {QString(), QStringLiteral("abc")});   // third failure, of the other kind
        closedByThird = !d->isVisible();
    });
    if (atStartup)
        m_main->FormActivate();
    else
        m_main->menuAction(QStringLiteral("N4"))->trigger();
    QVERIFY(closedByThird);
    QCOMPARE(messages.texts(), QStringList({QStringLiteral("密码不对，第1次！  "), QStringLiteral("密码不对，第2次！  ")}));
    QCOMPARE(m_main->isEnded(), atStartup);
    QCOMPARE(velorin::startup_done, !atStartup);
    QCOMPARE(velorin::operator_name, atStartup ? QString() : QStringLiteral("李四"));
    QCOMPARE(m_main->statusPanelText(0), atStartup ? QString() : QStringLiteral("操作员：李四"));
    QCOMPARE(m_db->dm()->ADO_system->isOpen(), !atStartup);
    QVERIFY(!m_db->dm()->q_qxb->isActive());
}

void TstLogin::counterRestartsOnReopen()
{
    loggedInAs(QStringLiteral("李四"), QString());
    MessageScript messages;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        attempt(e, {QString(), QString()});
        attempt(e, {QStringLiteral("张三"), QStringLiteral("bad")});
        e->bitbtn_cancel->click();
    });
    m_main->menuAction(QStringLiteral("N4"))->trigger();
    m_main->menuAction(QStringLiteral("N4"))->trigger();
    QCOMPARE(messages.texts(), QStringList({QStringLiteral("请选择操作人员！  "), QStringLiteral("密码不对，第2次！  "),
                                            QStringLiteral("请选择操作人员！  "), QStringLiteral("密码不对，第2次！  ")}));
    QCOMPARE(driver.shown.size(), 2);
    QVERIFY(!m_main->isEnded());
}

void TstLogin::cancelledSwitchKeepsOperator()
{
    loggedInAs(QStringLiteral("张三"), QStringLiteral("ABC"));
    velorin::operator_ime = QStringLiteral("拼音");
    QStringList sqlSeen;
    ModalDriver driver([&](QDialog *d) {
        sqlSeen = m_db->dm()->q_qxb->sql();
        auto *e = static_cast<TForm_Enter *>(d);
        e->DBLookupComboBox1->setCurrentText(QStringLiteral("李四"));   // chosen, then cancelled
        e->bitbtn_cancel->click();
    });
    m_main->menuAction(QStringLiteral("N4"))->trigger();
    QCOMPARE(sqlSeen, QStringList({QStringLiteral("select * from 权限表 order by 姓名")}));
    QVERIFY(!m_main->isEnded());
    QCOMPARE(velorin::operator_name, QStringLiteral("张三"));
    QCOMPARE(velorin::operator_ime, QStringLiteral("拼音"));
    QCOMPARE(velorin::login_password, QStringLiteral("ABC"));
    QCOMPARE(m_main->statusPanelText(0), QStringLiteral("操作员：张三"));
    QVERIFY(!m_db->dm()->q_qxb->isActive());
    QVERIFY(m_db->dm()->ADO_system->isOpen());
    // Escape is "终止" too: it never logs anybody in.
    driver.setAct([](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
    m_main->menuAction(QStringLiteral("N4"))->trigger();
    QCOMPARE(velorin::operator_name, QStringLiteral("张三"));
    QVERIFY(!m_main->isEnded());
}

void TstLogin::switchOperatorUpdatesStatus()
{
    loggedInAs(QStringLiteral("张三"), QStringLiteral("ABC"));
    QStringList listed;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        for (int i = 0; i < e->DBLookupComboBox1->count(); ++i)
            listed << e->DBLookupComboBox1->itemText(i);
        QCOMPARE(e->DBLookupComboBox1->currentText(), QString());   // nothing chosen yet
        attempt(e, {QStringLiteral("李四"), QString()});
    });
    m_main->menuAction(QStringLiteral("N4"))->trigger();
    QCOMPARE(listed.size(), 4);
    QVERIFY(listed.contains(QStringLiteral("系统管理员")));
    QCOMPARE(velorin::operator_name, QStringLiteral("李四"));
    QCOMPARE(velorin::operator_ime, QStringLiteral("五笔"));
    QCOMPARE(velorin::login_password, QString());
    QCOMPARE(m_main->statusPanelText(0), QStringLiteral("操作员：李四"));
}

void TstLogin::emptyOperatorTable()
{
    m_db->exec(QStringLiteral("delete from 权限表"));
    MessageScript messages;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        QCOMPARE(e->DBLookupComboBox1->count(), 0);
        for (int i = 0; i < 3; ++i)
            attempt(e, {QString(), QString()});
    });
    m_main->FormActivate();
    QCOMPARE(messages.texts(), QStringList({QStringLiteral("请选择操作人员！  "), QStringLiteral("请选择操作人员！  ")}));
    QVERIFY(m_main->isEnded());
}

void TstLogin::passwordChecksInOrder_data()
{
    QTest::addColumn<QString>("oldTyped");
    QTest::addColumn<QString>("newTyped");
    QTest::addColumn<QString>("confirmTyped");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("old wrong, others wrong too") << "abd" << "x" << "y" << "旧操作口令不正确,请重新输入!" << "MaskEdit3";
    QTest::newRow("confirmation differs") << "abc" << "new1" << "new2" << "两次输入的操作口令不一致,请重新输入!" << "MaskEdit1";
    QTest::newRow("new empty") << "abc" << "" << "" << "没有输入新操作口令,请重新输入!" << "MaskEdit1";
    QTest::newRow("new only spaces") << "abc" << "   " << "   " << "没有输入新操作口令,请重新输入!" << "MaskEdit1";
    QTest::newRow("accepted, typed in lower case") << "abc" << "new1" << "NEW1" << "已经成功的修改了操作口令,请牢记!" << "";
}

void TstLogin::passwordChecksInOrder()
{
    QFETCH(QString, oldTyped);
    QFETCH(QString, newTyped);
    QFETCH(QString, confirmTyped);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    loggedInAs(QStringLiteral("张三"), QStringLiteral("ABC"));
    MessageScript messages;
    QString nameShown, focus;
    bool open = true;
    ModalDriver driver([&](QDialog *d) {
        auto *p = static_cast<TForm_password *>(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("修改当前操作员口令"));
        nameShown = p->Label_name->text();
        QTest::keyClicks(p->MaskEdit3, oldTyped);
        QTest::keyClicks(p->MaskEdit1, newTyped);
        QTest::keyClicks(p->MaskEdit2, confirmTyped);
        p->MaskEdit2->setFocus();
        p->bitbtn_ok->click();
        open = d->isVisible();
        focus = d->focusWidget() ? d->focusWidget()->objectName() : QString();
    });
    m_main->menuAction(QStringLiteral("N3"))->trigger();
    QCOMPARE(nameShown, QStringLiteral("张三"));
    QCOMPARE(messages.texts(), QStringList({message}));
    QCOMPARE(messages.seen()[0].caption, QStringLiteral("提示"));
    const bool success = focused.isEmpty();
    QCOMPARE(messages.seen()[0].icon, success ? msg::Icon::Information : msg::Icon::Exclamation);
    QCOMPARE(open, !success);
    if (!success)
        QCOMPARE(focus, focused);
    QCOMPARE(m_db->scalar(QStringLiteral("select 操作口令 from 权限表 where 姓名='张三'")),
             success ? QStringLiteral("NEW1") : QStringLiteral("abc"));
    QCOMPARE(velorin::login_password, success ? QStringLiteral("NEW1") : QStringLiteral("ABC"));
    QVERIFY(!m_db->dm()->q_qxb->isActive());
    // Other operators' passwords are untouched.
    QCOMPARE(m_db->scalar(QStringLiteral("select 操作口令 from 权限表 where 姓名='王五'")), QStringLiteral("Mix9z"));
}

void TstLogin::secondChangeExpectsNewPassword()
{
    loggedInAs(QStringLiteral("张三"), QStringLiteral("ABC"));
    MessageScript messages;
    const auto change = [&](const QString &from, const QString &to) {
        ModalDriver driver([&](QDialog *d) {
            auto *p = static_cast<TForm_password *>(d);
            QTest::keyClicks(p->MaskEdit3, from);
            QTest::keyClicks(p->MaskEdit1, to);
            QTest::keyClicks(p->MaskEdit2, to);
            p->bitbtn_ok->click();
            if (d->isVisible())
                p->bitbtn1->click();   // 返回
        });
        m_main->menuAction(QStringLiteral("N3"))->trigger();
    };
    change(QStringLiteral("abc"), QStringLiteral("second"));
    change(QStringLiteral("abc"), QStringLiteral("third"));     // the old one no longer counts
    change(QStringLiteral("second"), QStringLiteral("third"));
    QCOMPARE(messages.texts(), QStringList({QStringLiteral("已经成功的修改了操作口令,请牢记!"), QStringLiteral("旧操作口令不正确,请重新输入!"),
                                            QStringLiteral("已经成功的修改了操作口令,请牢记!")}));
    QCOMPARE(m_db->scalar(QStringLiteral("select 操作口令 from 权限表 where 姓名='张三'")), QStringLiteral("THIRD"));
    // And the next login takes it, in any case.
    messages.clear();
    ModalDriver driver([](QDialog *d) { attempt(static_cast<TForm_Enter *>(d), {QStringLiteral("张三"), QStringLiteral("third")}); });
    velorin::operator_name.clear();
    m_main->menuAction(QStringLiteral("N4"))->trigger();
    QCOMPARE(velorin::operator_name, QStringLiteral("张三"));
    QVERIFY(messages.seen().isEmpty());
}

void TstLogin::passwordFieldsLimitAndEnter()
{
    loggedInAs(QStringLiteral("张三"), QStringLiteral("ABC"));
    MessageScript messages;
    QStringList focusTrail;
    ModalDriver driver([&](QDialog *d) {
        auto *p = static_cast<TForm_password *>(d);
        for (auto *e : {p->MaskEdit3, p->MaskEdit1, p->MaskEdit2}) {
            QCOMPARE(e->echoMode(), QLineEdit::Password);
            QCOMPARE(e->maxLength(), 10);
        }
        focusTrail << d->focusWidget()->objectName();
        QTest::keyClicks(p->MaskEdit3, QStringLiteral("abc"));
        QTest::keyClick(p->MaskEdit3, Qt::Key_Return);
        focusTrail << d->focusWidget()->objectName();
        QTest::keyClicks(p->MaskEdit1, QStringLiteral("abcdefghijkl"));   // twelve typed, ten kept
        QTest::keyClick(p->MaskEdit1, Qt::Key_Return);
        focusTrail << d->focusWidget()->objectName();
        QTest::keyClicks(p->MaskEdit2, QStringLiteral("abcdefghij"));
        QTest::keyClick(p->MaskEdit2, Qt::Key_Return);   // presses 保存
    });
    m_main->menuAction(QStringLiteral("N3"))->trigger();
    QCOMPARE(focusTrail, QStringList({QStringLiteral("MaskEdit3"), QStringLiteral("MaskEdit1"), QStringLiteral("MaskEdit2")}));
    QCOMPARE(messages.texts(), QStringList({QStringLiteral("已经成功的修改了操作口令,请牢记!")}));
    QCOMPARE(m_db->scalar(QStringLiteral("select 操作口令 from 权限表 where 姓名='张三'")), QStringLiteral("ABCDEFGHIJ"));
}

void TstLogin::failingPasswordPostKeepsOldPassword()
{
    loggedInAs(QStringLiteral("张三"), QStringLiteral("ABC"));
    m_db->exec(QStringLiteral("create trigger no_change before update on 权限表 begin select raise(abort, 'locked by test'); end"));
    MessageScript messages;
    bool open = false;
    ModalDriver driver([&](QDialog *d) {
        auto *p = static_cast<TForm_password *>(d);
        QTest::keyClicks(p->MaskEdit3, QStringLiteral("abc"));
        QTest::keyClicks(p->MaskEdit1, QStringLiteral("zz"));
        QTest::keyClicks(p->MaskEdit2, QStringLiteral("zz"));
        p->bitbtn_ok->click();
        open = d->isVisible();
        p->bitbtn1->click();
    });
    m_main->menuAction(QStringLiteral("N3"))->trigger();
    QCOMPARE(messages.seen().size(), 1);   // the engine's error, not the success message
    QCOMPARE(messages.seen()[0].icon, msg::Icon::Error);
    QVERIFY(messages.seen()[0].text.contains(QStringLiteral("locked by test")));
    QVERIFY(open);
    QCOMPARE(velorin::login_password, QStringLiteral("ABC"));
    QCOMPARE(m_db->scalar(QStringLiteral("select 操作口令 from 权限表 where 姓名='张三'")), QStringLiteral("abc"));
}

QTEST_MAIN(TstLogin)
#include "tst_login.moc"
