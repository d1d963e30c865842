// Data-aware editors, navigator and Enter ring over real queries, offscreen.
#include "data/session.h"
#include "db/query.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/plaininput.h"
#include "testsupport.h"
#include <QCalendarWidget>
#include <QMimeData>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace dbctrls;
using db::Query;

namespace {

// A shown, active window holding the editors under test.
struct Panel {
    QWidget w;
    QVBoxLayout *lay = new QVBoxLayout(&w);

    template <class T> T *add(T *e, const QString &name = QString())
    {
        if (!name.isEmpty())
            e->setObjectName(name);
        lay->addWidget(e);
        return e;
    }
    bool show()
    {
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }
};

// The shared queries opened as their windows open them.
Query *guests(const TestDb &t)
{
    Query *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")});
    return q;
}

Query *cars(const TestDb &t)
{
    Query *q = t.dm()->q_carinfo;
    q->reopenWith({QStringLiteral("select * from 承运车辆 "), QStringLiteral("order by 车牌号")});
    return q;
}

Query *orders(const TestDb &t)
{
    Query *q = t.dm()->q_container_ysd;
    q->reopenWith({QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输期限从,运输单号")});
    return q;
}

template <class T> T *bound(Panel &p, T *e, Query *q, const QString &field)
{
    p.add(e);
    e->setDataSource(q, field);
    return e;
}


// Check and radio buttons take clicks on their indicator and text only.
void clickIndicator(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// Replaces a line editor's text as the user would.
void retype(QWidget *e, const QString &text)
{
    e->setFocus();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    if (!text.isEmpty())
        typeText(e, text);
}

} // namespace

class TstDbCtrls : public QObject {
    Q_OBJECT
private slots:
    void typingEditsTheRowAndPostStoresIt();
    void typingIntoAnEmptyQueryAddsARow();
    void cancelShowsTheStoredValueAgain();
    void movingTheCursorUpdatesEveryEditorKind();
    void nonEditableEditorsDoNotChangeTheRow();
    void upperCaseAndMaxLength();
    void dateEditor_data();
    void dateEditor();
    void invalidDateIsRefused();
    void calendarPickAndUnboundDates();
    void numberModes_data();
    void numberModes();
    void checkBoxOnYesNoAndTextColumns();
    void radioGroup();
    void comboWithItemsAndFreeText();
    void navigatorFollowsTheCursor();
    void enterRingOrderAndPredicate();
    void enterRingFinalActionAndJumps();
    void inputMethodMarks();
    void memoDoubleClickOnlyWhenWritable();
    void memoWindowEditsTheSameRow();
    void controlCharactersNeverReachTheRow();
};

void TstDbCtrls::typingEditsTheRowAndPostStoresIt()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 联系人) values ('甲', '张')"));
    Query *q = guests(t);
    Panel p;
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    auto *contact = bound(p, new DBEdit, q, QStringLiteral("联系人"));
    QVERIFY(p.show());
    QCOMPARE(name->text(), QStringLiteral("甲"));
    QCOMPARE(q->state(), Query::Browse);

    name->setFocus();
    name->end(false);
    typeText(name, QStringLiteral("乙"));
    QCOMPARE(q->state(), Query::Edit);
    QVERIFY(name->hasPendingChange());
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("甲"));   // pending until pushed
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 from 上游客户")), QStringLiteral("甲乙"));
    QCOMPARE(name->text(), QStringLiteral("甲乙"));
    QVERIFY(!name->hasPendingChange());

    // Leaving the editor pushes its text into the row (still pending in the row).
    contact->setFocus();
    contact->end(false);
    typeText(contact, QStringLiteral("三"));
    name->setFocus();
    QTRY_COMPARE(q->field(QStringLiteral("联系人")).asString(), QStringLiteral("张三"));
    QCOMPARE(q->state(), Query::Edit);
    QCOMPARE(t.scalar(QStringLiteral("select 联系人 from 上游客户")), QStringLiteral("张"));

    // A window's updateRecord() before its checks takes the text too.
    typeText(name, QStringLiteral("丙"));
    QVERIFY(dbctrls::updateRecord(q));
    QCOMPARE(q->field(QStringLiteral("客户名称")).asString(), QStringLiteral("甲乙丙"));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称||联系人 from 上游客户")), QStringLiteral("甲乙丙张三"));
}

void TstDbCtrls::typingIntoAnEmptyQueryAddsARow()
{
    TestDb t;
    Query *q = guests(t);
    Panel p;
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    QVERIFY(p.show());
    name->setFocus();
    typeText(name, QStringLiteral("新客户"));
    QCOMPARE(q->state(), Query::Insert);
    QCOMPARE(name->text(), QStringLiteral("新客户"));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 from 上游客户")), QStringLiteral("新客户"));
}

void TstDbCtrls::cancelShowsTheStoredValueAgain()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 承运车辆 (车牌号, 类别, 备注, 停用) values ('A1', '自有车辆', '旧', 0)"));
    Query *q = cars(t);
    Panel p;
    auto *plate = bound(p, new DBEdit, q, QStringLiteral("车牌号"));
    auto *memo = bound(p, new DBMemo, q, QStringLiteral("备注"));
    auto *stop = bound(p, new DBCheckBox(QStringLiteral("停止运输")), q, QStringLiteral("停用"));
    QVERIFY(p.show());

    retype(plate, QStringLiteral("B2"));
    memo->setFocus();
    typeText(memo, QStringLiteral("新"));
    stop->click();
    QVERIFY(q->isEditing());
    QVERIFY(q->field(QStringLiteral("停用")).asBoolean());   // a click writes at once
    q->cancel();
    QCOMPARE(plate->text(), QStringLiteral("A1"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("旧"));
    QVERIFY(!stop->isChecked());
    QVERIFY(!plate->hasPendingChange());
    QVERIFY(!memo->hasPendingChange());
    // Nothing left to push: a later post of another change leaves them alone.
    q->edit();
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 车牌号||备注 from 承运车辆")), QStringLiteral("A1旧"));
}

void TstDbCtrls::movingTheCursorUpdatesEveryEditorKind()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 承运车辆 (车牌号, 所属单位, 类别, 保险购买时间, 二保里程, 备注, 停用) values "
                          "('A1', '运输甲', '自有车辆', '2024-02-01 00:00:00', 1000, '备注一', 1), "
                          "('B2', '运输乙', '社会车辆', NULL, NULL, '备注二', 0)"));
    Query *q = cars(t);
    Panel p;
    auto *plate = bound(p, new DBEdit, q, QStringLiteral("车牌号"));
    auto *owner = bound(p, new DBComboBox, q, QStringLiteral("所属单位"));
    owner->addItems({QStringLiteral("运输乙"), QStringLiteral("运输甲")});
    auto *kind = new DBRadioGroup(QStringLiteral("车辆类别"));
    kind->setItems({QStringLiteral("自有车辆"), QStringLiteral("社会车辆")});
    bound(p, kind, q, QStringLiteral("类别"));
    auto *insured = bound(p, new DBDateEdit, q, QStringLiteral("保险购买时间"));
    auto *km = bound(p, new DBNumberEdit(DBNumberEdit::Whole), q, QStringLiteral("二保里程"));
    auto *memo = bound(p, new DBMemo, q, QStringLiteral("备注"));
    auto *stop = bound(p, new DBCheckBox, q, QStringLiteral("停用"));

    auto expectRow = [&](const QString &pl, const QString &ow, int k, const QString &date, const QString &n,
                         const QString &m, bool s) {
        QCOMPARE(plate->text(), pl);
        QCOMPARE(owner->currentText(), ow);
        QCOMPARE(kind->itemIndex(), k);
        QCOMPARE(insured->text(), date);
        QCOMPARE(km->text(), n);
        QCOMPARE(memo->toPlainText(), m);
        QCOMPARE(stop->isChecked(), s);
    };
    expectRow(QStringLiteral("A1"), QStringLiteral("运输甲"), 0, QStringLiteral("2024-2-1"), QStringLiteral("1000"),
              QStringLiteral("备注一"), true);
    q->next();
    expectRow(QStringLiteral("B2"), QStringLiteral("运输乙"), 1, QString(), QString(), QStringLiteral("备注二"), false);
    q->first();
    expectRow(QStringLiteral("A1"), QStringLiteral("运输甲"), 0, QStringLiteral("2024-2-1"), QStringLiteral("1000"),
              QStringLiteral("备注一"), true);
    QCOMPARE(q->state(), Query::Browse);   // showing values is no edit

    // A closed query leaves the editors empty and disabled.
    q->close();
    expectRow(QString(), QString(), -1, QString(), QString(), QString(), false);
    for (QWidget *w : dataAwareChildren(&p.w))
        QVERIFY2(!w->isEnabled(), w->metaObject()->className());
    q->open();
    q->last();
    expectRow(QStringLiteral("B2"), QStringLiteral("运输乙"), 1, QString(), QString(), QStringLiteral("备注二"), false);
    for (QWidget *w : dataAwareChildren(&p.w))
        QVERIFY2(w->isEnabled(), w->metaObject()->className());

    // Suspended display: the editors catch up when controls come back.
    q->disableControls();
    q->first();
    QCOMPARE(plate->text(), QStringLiteral("B2"));
    q->enableControls();
    QCOMPARE(plate->text(), QStringLiteral("A1"));

    // A change made through the field shows at once.
    q->field(QStringLiteral("备注")).setAsString(QStringLiteral("改"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("改"));
    QVERIFY(!memo->hasPendingChange());
    q->cancel();
}

void TstDbCtrls::nonEditableEditorsDoNotChangeTheRow()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 承运车辆 (车牌号, 所属单位, 类别, 二保里程, 备注, 停用) values "
                          "('A1', '运输甲', '自有车辆', 5, '备注', 0)"));
    Query *q = cars(t);
    Panel p;
    auto *plate = bound(p, new DBEdit, q, QStringLiteral("车牌号"));
    auto *owner = bound(p, new DBComboBox, q, QStringLiteral("所属单位"));
    auto *kind = new DBRadioGroup(QStringLiteral("车辆类别"));
    kind->setItems({QStringLiteral("自有车辆"), QStringLiteral("社会车辆")});
    bound(p, kind, q, QStringLiteral("类别"));
    auto *km = bound(p, new DBNumberEdit, q, QStringLiteral("二保里程"));
    auto *memo = bound(p, new DBMemo, q, QStringLiteral("备注"));
    auto *stop = bound(p, new DBCheckBox, q, QStringLiteral("停用"));
    auto *date = bound(p, new DBDateEdit, q, QStringLiteral("年审时间"));
    auto *status = bound(p, new DBEdit, q, QStringLiteral("车型"));
    status->setAlwaysReadOnly(true);
    auto *filter = p.add(new DBComboBox, QStringLiteral("DBComboBoxEh3"));   // unbound search combo
    QVERIFY(p.show());

    QCOMPARE(dataAwareChildren(&p.w).size(), 8);
    QVERIFY(!dataAwareChildren(&p.w).contains(filter));

    setEditable(&p.w, false);
    QVERIFY(plate->isReadOnly() && km->isReadOnly() && memo->isReadOnly() && date->isReadOnly());
    QVERIFY(plate->isEnabled());
    QVERIFY(!owner->isEnabled() && !kind->isEnabled() && !stop->isEnabled() && !km->isEnabled());
    QVERIFY(filter->isEnabled());

    plate->setFocus();
    typeText(plate, QStringLiteral("X"));
    memo->setFocus();
    typeText(memo, QStringLiteral("X"));
    km->setFocus();
    typeText(km, QStringLiteral("7"));
    clickIndicator(stop);
    clickIndicator(kind->button(1));
    date->showCalendar();
    QCOMPARE(plate->text(), QStringLiteral("A1"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("备注"));
    QCOMPARE(km->text(), QStringLiteral("5"));
    QVERIFY(!stop->isChecked());
    QCOMPARE(kind->itemIndex(), 0);
    QCOMPARE(q->state(), Query::Browse);

    setEditable(&p.w, true);
    QVERIFY(!plate->isReadOnly() && owner->isEnabled() && kind->isEnabled() && stop->isEnabled());
    QVERIFY(km->isEnabled() && !km->isReadOnly());
    QVERIFY(status->isReadOnly());   // pinned read-only stays so
    clickIndicator(kind->button(1));
    QCOMPARE(q->state(), Query::Edit);
    QCOMPARE(q->field(QStringLiteral("类别")).asString(), QStringLiteral("社会车辆"));
    q->cancel();
    QCOMPARE(kind->itemIndex(), 0);

    // A query that cannot be changed keeps its editors read-only.
    Query *s = t.dm()->q_search;
    s->reopenWith({QStringLiteral("select 车牌号 from 承运车辆")});
    auto *ro = bound(p, new DBEdit, s, QStringLiteral("车牌号"));
    QVERIFY(ro->isReadOnly());
    QCOMPARE(ro->text(), QStringLiteral("A1"));
}

void TstDbCtrls::upperCaseAndMaxLength()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 箱号) values ('甲', 'old')"));
    Query *q = orders(t);
    Panel p;
    auto *box = bound(p, new DBEdit, q, QStringLiteral("箱号"));
    box->setCharCaseUpper(true);
    box->setMaxLength(11);
    auto *plain = p.add(new DBEdit);
    plain->setCharCaseUpper(true);
    QVERIFY(p.show());
    QCOMPARE(box->text(), QStringLiteral("old"));   // stored text is shown as it is

    retype(box, QStringLiteral("abcu1234567xyz"));
    QCOMPARE(box->text(), QStringLiteral("ABCU1234567"));
    plain->setFocus();
    typeText(plain, QStringLiteral("ab中c"));
    QCOMPARE(plain->text(), QStringLiteral("AB中C"));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 箱号 from 集装箱运输单")), QStringLiteral("ABCU1234567"));
}

void TstDbCtrls::dateEditor_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("short form") << "2024-2-1" << "2024-02-01 00:00:00" << "2024-2-1";
    QTest::newRow("leading zeros") << "2024-02-01" << "2024-02-01 00:00:00" << "2024-2-1";
    QTest::newRow("leap day") << "2024-2-29" << "2024-02-29 00:00:00" << "2024-2-29";
    QTest::newRow("emptied") << "" << "NULL" << "";
    QTest::newRow("blanks") << "  " << "NULL" << "";
}

void TstDbCtrls::dateEditor()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 运输期限从) values ('甲', '2023-05-06 00:00:00')"));
    Query *q = orders(t);
    Panel p;
    auto *from = bound(p, new DBDateEdit, q, QStringLiteral("运输期限从"));
    QVERIFY(p.show());
    QCOMPARE(from->text(), QStringLiteral("2023-5-6"));
    retype(from, typed);
    QCOMPARE(q->state(), Query::Edit);
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select ifnull(运输期限从, 'NULL') from 集装箱运输单")), stored);
    QCOMPARE(from->text(), shown);
}

void TstDbCtrls::invalidDateIsRefused()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 运输期限从) values ('甲', '2023-05-06 00:00:00')"));
    Query *q = orders(t);
    Panel p;
    auto *from = bound(p, new DBDateEdit, q, QStringLiteral("运输期限从"));
    auto *other = bound(p, new DBEdit, q, QStringLiteral("上游客户"));
    QVERIFY(p.show());
    MessageScript ms;

    retype(from, QStringLiteral("abc"));   // not even typeable
    QCOMPARE(from->text(), QString());
    retype(from, QStringLiteral("2024-13-1"));
    other->setFocus();
    QTRY_COMPARE(ms.texts(), QStringList{QStringLiteral("'2024-13-1'不是有效的日期")});
    QCOMPARE(ms.seen().first().caption, QStringLiteral("提示"));
    QTRY_COMPARE(QApplication::focusWidget(), from);
    QCOMPARE(from->text(), QStringLiteral("2024-13-1"));   // kept for correction
    QCOMPARE(q->field(QStringLiteral("运输期限从")).asString(), QStringLiteral("2023-5-6"));

    // A window's save: the refusal stops it; post would not store garbage either,
    // and the same refusal is not shown twice for one action.
    ms.clear();
    QVERIFY(!dbctrls::updateRecord(q));
    q->post();
    QCOMPARE(ms.texts().size(), 1);
    QCOMPARE(t.scalar(QStringLiteral("select 运输期限从 from 集装箱运输单")), QStringLiteral("2023-5-6"));
    QTest::qWait(0);

    // Corrected, it goes through.
    retype(from, QStringLiteral("2024-12-1"));
    QVERIFY(dbctrls::updateRecord(q));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 运输期限从 from 集装箱运输单")), QStringLiteral("2024-12-1"));
    QCOMPARE(ms.texts().size(), 1);
}

void TstDbCtrls::calendarPickAndUnboundDates()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户) values ('甲')"));
    Query *q = orders(t);
    Panel p;
    auto *to = bound(p, new DBDateEdit, q, QStringLiteral("运输期限到"));
    auto *from = p.add(new DBDateEdit, QStringLiteral("DBDateTimeEditEh1"));
    QVERIFY(p.show());

    // Unbound: a search dialog's date.
    QVERIFY(from->isEmpty());
    QVERIFY(!from->date().isValid());
    QVERIFY(from->hasValidText());
    from->setDate(QDate(2024, 3, 5));
    QCOMPARE(from->text(), QStringLiteral("2024-3-5"));
    QCOMPARE(from->date(), QDate(2024, 3, 5));
    retype(from, QStringLiteral("2024-02-30"));
    QVERIFY(!from->isEmpty());
    QVERIFY(!from->date().isValid());
    QVERIFY(!from->hasValidText());
    from->setDate(QDate());
    QVERIFY(from->isEmpty());

    // Bound: a pick from the calendar writes the column at once.
    QSignalSpy picked(to, &DBDateEdit::datePicked);
    to->showCalendar();
    QVERIFY(to->calendar()->isVisible());
    emit to->calendar()->clicked(QDate(2024, 4, 9));
    QVERIFY(!to->calendar()->isVisible());
    QCOMPARE(picked.size(), 1);
    QCOMPARE(to->text(), QStringLiteral("2024-4-9"));
    QCOMPARE(q->state(), Query::Edit);
    QCOMPARE(q->field(QStringLiteral("运输期限到")).asDate(), QDate(2024, 4, 9));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 运输期限到 from 集装箱运输单")), QStringLiteral("2024-4-9"));
}

void TstDbCtrls::numberModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");     // the editor's text after typing
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("money") << int(DBNumberEdit::Money) << "应收运费" << "12.5" << "12.5" << "125000" << "12.50";
    QTest::newRow("money separators") << int(DBNumberEdit::Money) << "应收运费" << "1,234.5" << "1,234.5"
                                      << "12345000" << "1234.50";
    QTest::newRow("money four decimals") << int(DBNumberEdit::Money) << "应收运费" << "0.123456" << "0.1234"
                                         << "1234" << "0.1234";
    QTest::newRow("money empty") << int(DBNumberEdit::Money) << "应收运费" << "" << "" << "NULL" << "";
    QTest::newRow("decimal") << int(DBNumberEdit::Decimal) << "数量" << "2.5" << "2.5" << "2.5" << "2.5";
    QTest::newRow("decimal negative") << int(DBNumberEdit::Decimal) << "数量" << "-0.75" << "-0.75" << "-0.75" << "-0.75";
    QTest::newRow("whole drops the point") << int(DBNumberEdit::Whole) << "数量" << "1.5" << "15" << "15" << "15";
    QTest::newRow("letters refused") << int(DBNumberEdit::Whole) << "数量" << "3x" << "3" << "3" << "3";
    QTest::newRow("whole empty") << int(DBNumberEdit::Whole) << "数量" << "" << "" << "NULL" << "";
}

void TstDbCtrls::numberModes()
{
    QFETCH(int, mode);
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 数量, 应收运费) values ('甲', 9, 90000)"));
    Query *q = orders(t);
    Panel p;
    auto *e = bound(p, new DBNumberEdit(DBNumberEdit::Mode(mode)), q, column);
    QVERIFY(p.show());
    QVERIFY(e->alignment() & Qt::AlignRight);
    QVERIFY(!e->testAttribute(Qt::WA_InputMethodEnabled));
    retype(e, typed);
    QCOMPARE(e->text(), field);
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select ifnull(%1, 'NULL') from 集装箱运输单").arg(column)), stored);
    QCOMPARE(e->text(), shown);
}

void TstDbCtrls::checkBoxOnYesNoAndTextColumns()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户) values ('甲')"));
    Query *g = guests(t);
    Query *c = orders(t);
    Panel p;
    auto *stop = bound(p, new DBCheckBox(QStringLiteral("停止使用：")), g, QStringLiteral("停用"));
    auto *back = new DBCheckBox(QStringLiteral("回单返回"));
    back->setValueTexts(QStringLiteral("是"), QStringLiteral("否"));
    bound(p, back, c, QStringLiteral("回单返回"));
    QVERIFY(p.show());

    QVERIFY(!stop->isChecked());
    clickIndicator(stop);
    QCOMPARE(g->state(), Query::Edit);
    g->post();
    QCOMPARE(t.scalar(QStringLiteral("select ifnull(停用, 'NULL') from 上游客户")), QStringLiteral("1"));
    QVERIFY(stop->isChecked());
    clickIndicator(stop);
    g->post();
    QCOMPARE(t.scalar(QStringLiteral("select ifnull(停用, 'NULL') from 上游客户")), QStringLiteral("0"));

    QVERIFY(!back->isChecked());   // the table's default "否"
    clickIndicator(back);
    c->post();
    QCOMPARE(t.scalar(QStringLiteral("select 回单返回 from 集装箱运输单")), QStringLiteral("是"));
    clickIndicator(back);
    c->post();
    QCOMPARE(t.scalar(QStringLiteral("select 回单返回 from 集装箱运输单")), QStringLiteral("否"));
}

void TstDbCtrls::radioGroup()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 承运车辆 (车牌号, 类别) values ('A1', '自有车辆'), ('B2', '其他'), ('C3', NULL)"));
    Query *q = cars(t);
    Panel p;
    auto *kind = new DBRadioGroup(QStringLiteral("车辆类别"));
    kind->setItems({QStringLiteral("自有车辆"), QStringLiteral("社会车辆")});
    kind->setColumns(2);
    bound(p, kind, q, QStringLiteral("类别"));
    QVERIFY(p.show());
    QCOMPARE(kind->title(), QStringLiteral("车辆类别"));
    QCOMPARE(kind->itemIndex(), 0);
    QCOMPARE(kind->value(), QStringLiteral("自有车辆"));
    q->next();
    QCOMPARE(kind->itemIndex(), -1);   // a text outside the items checks none
    QCOMPARE(kind->value(), QString());
    clickIndicator(kind->button(1));
    QCOMPARE(q->field(QStringLiteral("类别")).asString(), QStringLiteral("社会车辆"));
    q->next();   // moving off posts the change
    QCOMPARE(kind->itemIndex(), -1);
    QCOMPARE(t.scalar(QStringLiteral("select 类别 from 承运车辆 where 车牌号='B2'")), QStringLiteral("社会车辆"));
    q->first();
    QCOMPARE(kind->itemIndex(), 0);
}

void TstDbCtrls::comboWithItemsAndFreeText()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户) values ('甲')"));
    Query *q = orders(t);
    Panel p;
    auto *guest = bound(p, new DBComboBox, q, QStringLiteral("上游客户"));
    guest->setObjectName(QStringLiteral("DBComboBoxEh2"));
    auto *filter = p.add(new DBComboBox, QStringLiteral("DBComboBoxEh3"));
    QVERIFY(p.show());

    // A main-window handler fills it as a plain QComboBox.
    QComboBox *asCombo = p.w.findChild<QComboBox *>(QStringLiteral("DBComboBoxEh2"));
    QCOMPARE(asCombo, guest);
    asCombo->clear();
    asCombo->addItem(QStringLiteral("乙"));
    asCombo->addItem(QStringLiteral("甲"));
    QCOMPARE(guest->currentText(), QStringLiteral("甲"));   // the list does not change the value
    QCOMPARE(guest->currentIndex(), 1);
    QCOMPARE(q->state(), Query::Browse);
    filter->clear();
    filter->addItems({QStringLiteral("乙"), QStringLiteral("甲")});
    QCOMPARE(filter->currentText(), QString());   // a filter starts empty

    // Free text.
    retype(guest, QStringLiteral("丙公司"));
    QCOMPARE(q->state(), Query::Edit);
    QCOMPARE(guest->count(), 2);   // typing adds no item
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 上游客户 from 集装箱运输单")), QStringLiteral("丙公司"));
    QCOMPARE(guest->currentIndex(), -1);

    // Choosing an item writes at once.
    guest->setFocus();
    QTest::keyClick(guest, Qt::Key_Down);
    QCOMPARE(guest->currentText(), QStringLiteral("乙"));
    QCOMPARE(q->field(QStringLiteral("上游客户")).asString(), QStringLiteral("乙"));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 上游客户 from 集装箱运输单")), QStringLiteral("乙"));

    // The unbound filter is typed into freely and touches no query.
    retype(filter, QStringLiteral("甲"));
    QCOMPARE(filter->currentText(), QStringLiteral("甲"));
    QCOMPARE(q->state(), Query::Browse);
}

void TstDbCtrls::navigatorFollowsTheCursor()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲'), ('乙'), ('丙')"));
    Query *q = guests(t);
    Panel p;
    auto *nav = p.add(new DBNavigator, QStringLiteral("DBNavigator1"));
    nav->setDataSource(q);
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    QVERIFY(p.show());
    auto state = [nav] {
        QString s;
        for (auto b : {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last})
            s += nav->button(b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };
    QCOMPARE(nav->findChild<QToolButton *>(QStringLiteral("nbNext")), nav->button(DBNavigator::Next));
    QCOMPARE(state(), QStringLiteral("0011"));
    nav->button(DBNavigator::Next)->click();
    QCOMPARE(q->recNo(), 2);
    QCOMPARE(state(), QStringLiteral("1111"));
    nav->button(DBNavigator::Last)->click();
    QCOMPARE(q->recNo(), 3);
    QCOMPARE(state(), QStringLiteral("1100"));
    nav->button(DBNavigator::Prior)->click();
    QCOMPARE(state(), QStringLiteral("1111"));
    nav->button(DBNavigator::First)->click();
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(state(), QStringLiteral("0011"));
    q->last();   // moved by code: the navigator follows
    QCOMPARE(state(), QStringLiteral("1100"));

    // Moving with a pending change takes the editor's text and posts it.
    retype(name, QStringLiteral("丁"));
    nav->button(DBNavigator::First)->click();
    QCOMPARE(q->state(), Query::Browse);
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户 where 客户名称='丁'")), QStringLiteral("1"));

    q->reopenWith({QStringLiteral("select * from 上游客户 where 客户名称='无'"), QStringLiteral("order by 客户名称")});
    QCOMPARE(state(), QStringLiteral("0000"));
    q->close();
    QCOMPARE(state(), QStringLiteral("0000"));
}

void TstDbCtrls::enterRingOrderAndPredicate()
{
    Panel p;
    auto *a = p.add(new DBEdit, QStringLiteral("a"));
    auto *combo = p.add(new DBComboBox, QStringLiteral("combo"));
    auto *skipped = p.add(new DBEdit, QStringLiteral("skipped"));
    auto *b = p.add(new DBEdit, QStringLiteral("b"));
    auto *memo = p.add(new DBMemo, QStringLiteral("memo"));
    auto *outside = p.add(new DBEdit, QStringLiteral("outside"));
    bool editing = true;
    new EnterRing({a, combo, skipped, b, memo}, [&editing] { return editing; }, {}, &p.w);
    skipped->setEnabled(false);
    QVERIFY(p.show());

    a->setFocus();
    QTest::keyClick(a, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), combo);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Enter, Qt::KeypadModifier);   // the combo's own line edit
    QCOMPARE(QApplication::focusWidget(), b);                                // disabled member skipped
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), memo);
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), a);   // wraps
    QCOMPARE(memo->toPlainText(), QString());   // swallowed: no new line
    QCOMPARE(combo->count(), 0);

    // Not a member: Enter left alone.
    outside->setFocus();
    QSignalSpy outsidePressed(outside, &QLineEdit::returnPressed);
    QTest::keyClick(outside, Qt::Key_Return);
    QCOMPARE(outsidePressed.size(), 1);
    QCOMPARE(QApplication::focusWidget(), outside);

    // Browse state: Enter goes to the control.
    editing = false;
    a->setFocus();
    QSignalSpy pressed(a, &QLineEdit::returnPressed);
    QTest::keyClick(a, Qt::Key_Return);
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(QApplication::focusWidget(), a);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(memo->toPlainText(), QStringLiteral("\n"));
}

void TstDbCtrls::enterRingFinalActionAndJumps()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    Query *q = guests(t);
    Panel p;
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    auto *from = p.add(new DBDateEdit);
    auto *status = p.add(new DBEdit);
    auto *remark = bound(p, new DBMemo, q, QStringLiteral("备注"));
    auto *save = p.add(new QPushButton(QStringLiteral("存盘")), QStringLiteral("bitbtn_save"));
    auto *ring = new EnterRing({name, from, remark}, nullptr);
    ring->setFinalButton(save);
    ring->addJump(status, remark);
    QCOMPARE(ring->parent(), name);
    QCOMPARE(ring->widgets().size(), 3);
    QString savedName;
    connect(save, &QPushButton::clicked, &p.w, [&] {
        q->post();
        savedName = t.scalar(QStringLiteral("select 客户名称 from 上游客户"));
    });
    QVERIFY(p.show());

    retype(name, QStringLiteral("乙"));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), from);
    status->setFocus();
    QTest::keyClick(status, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), remark);
    typeText(remark, QStringLiteral("备"));
    QTest::keyClick(remark, Qt::Key_Return);   // last editor: the save button
    QCOMPARE(savedName, QStringLiteral("乙"));
    QCOMPARE(t.scalar(QStringLiteral("select 备注 from 上游客户")), QStringLiteral("备"));
    QCOMPARE(QApplication::focusWidget(), remark);

    save->setEnabled(false);   // a disabled button is not pressed
    savedName.clear();
    QTest::keyClick(remark, Qt::Key_Return);
    QCOMPARE(savedName, QString());
}

void TstDbCtrls::inputMethodMarks()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    Query *q = guests(t);
    const QString oldIme = velorin::operator_ime;
    velorin::operator_ime = QStringLiteral("中文(简体) - 微软拼音");
    Panel p;
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    auto *trade = bound(p, new DBComboBox, q, QStringLiteral("行业"));
    auto *memo = bound(p, new DBMemo, q, QStringLiteral("备注"));
    auto *account = bound(p, new DBEdit, q, QStringLiteral("银行帐号"));
    auto *search = p.add(new QLineEdit, QStringLiteral("Edit3"));
    auto *date = p.add(new DBDateEdit);
    auto *number = p.add(new DBNumberEdit);
    for (QWidget *w : QList<QWidget *>{name, trade, memo, search})
        dbctrls::setChineseText(w, true);
    account->setChineseText(false);
    velorin::operator_ime = QStringLiteral("搜狗拼音");   // the operator logged in meanwhile
    applyInputMethod(&p.w);

    for (QWidget *w : QList<QWidget *>{name, trade, trade->lineEdit(), memo, search}) {
        QCOMPARE(w->property("imeName").toString(), QStringLiteral("搜狗拼音"));
        QVERIFY(w->testAttribute(Qt::WA_InputMethodEnabled));
    }
    for (QWidget *w : QList<QWidget *>{account, date, number}) {
        QVERIFY(!isChineseText(w));
        QVERIFY(!w->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(w->property("imeName").toString(), QString());
    }
    // Switching between browse and editing keeps the marks.
    setEditable(&p.w, false);
    QVERIFY(!name->testAttribute(Qt::WA_InputMethodEnabled));
    setEditable(&p.w, true);
    QVERIFY(name->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(!account->testAttribute(Qt::WA_InputMethodEnabled));
    velorin::operator_ime = oldIme;
}

void TstDbCtrls::memoDoubleClickOnlyWhenWritable()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 备注) values ('甲', '长文本')"));
    Query *q = guests(t);
    Panel p;
    auto *memo = bound(p, new DBMemo, q, QStringLiteral("备注"));
    QVERIFY(p.show());
    QSignalSpy dbl(memo, &DBMemo::doubleClicked);
    memo->setEditable(false);
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton);
    QCOMPARE(dbl.size(), 0);
    memo->setEditable(true);
    QTest::mouseDClick(memo->viewport(), Qt::LeftButton);
    QCOMPARE(dbl.size(), 1);
    QCOMPARE(q->state(), Query::Browse);   // selecting a word is no edit
}

void TstDbCtrls::memoWindowEditsTheSameRow()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 备注) values ('甲', '短')"));
    Query *q = guests(t);
    Panel p;
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    auto *memo = bound(p, new DBMemo, q, QStringLiteral("备注"));
    QVERIFY(p.show());
    retype(name, QStringLiteral("乙"));

    // The memo window: its own editor on the opener's row, freed after it closes.
    auto *dlg = new QDialog(&p.w);
    auto *big = new DBMemo(dlg);
    big->setDataSource(q, QStringLiteral("备注"));
    dlg->show();
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dlg));
    QCOMPARE(big->toPlainText(), QStringLiteral("短"));
    big->setFocus();
    big->moveCursor(QTextCursor::End);
    typeText(big, QStringLiteral("而长的备注"));
    dlg->close();
    delete dlg;

    QCOMPARE(q->state(), Query::Edit);
    QCOMPARE(q->field(QStringLiteral("备注")).asString(), QStringLiteral("短而长的备注"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("短而长的备注"));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称||备注 from 上游客户")), QStringLiteral("乙短而长的备注"));
}

// Exposes the memo's paste path, which Qt reaches from its context menu and Ctrl+V.
class PastingMemo : public DBMemo {
public:
    using DBMemo::insertFromMimeData;
};

void TstDbCtrls::controlCharactersNeverReachTheRow()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    Query *q = guests(t);
    Panel p;
    auto *name = bound(p, new DBEdit, q, QStringLiteral("客户名称"));
    auto *area = bound(p, new DBComboBox, q, QStringLiteral("区域"));
    auto *memo = bound(p, new PastingMemo, q, QStringLiteral("备注"));
    auto *filter = p.add(new DBComboBox);   // an unbound search field
    QVERIFY(p.show());
    const QString nul(QChar(0));
    // What a paste does to a line edit: one insert of the clipboard's text.
    name->setFocus();
    name->selectAll();
    name->insert(QStringLiteral("武") + nul + QStringLiteral("汉\x01\x1b钢铁"));
    QCOMPARE(name->text(), QStringLiteral("武汉钢铁"));
    area->lineEdit()->insert(QStringLiteral("华") + nul + QStringLiteral("中\r\n"));
    QCOMPARE(area->currentText(), QStringLiteral("华中"));
    filter->lineEdit()->insert(QStringLiteral("O'") + nul);
    QCOMPARE(filter->currentText(), QStringLiteral("O'"));
    // The memo keeps its line breaks and tabs, and nothing else of the kind.
    memo->setFocus();
    QMimeData clip;
    clip.setText(QStringLiteral("第一行") + nul + QStringLiteral("\n\t第二行\x07"));
    memo->insertFromMimeData(&clip);
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("x") + nul + QStringLiteral("y"));
    QApplication::sendEvent(memo, &typed);
    QCOMPARE(memo->toPlainText(), QStringLiteral("第一行\n\t第二行xy"));
    q->post();
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 || '|' || 区域 || '|' || 备注 from 上游客户")),
             QStringLiteral("武汉钢铁|华中|第一行\n\t第二行xy"));
}

QTEST_MAIN(TstDbCtrls)
#include "tst_dbctrls.moc"
