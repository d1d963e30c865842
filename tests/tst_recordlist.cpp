// The record list window pattern: states, save shape, delete, layout reset,
// print colours, quick search, search dialog and memo window.
#include "data/bulkmark.h"
#include "data/genericlist.h"
#include "grid/export.h"
#include "grid/gridtoolbar.h"
#include "data/memowindow.h"
#include "data/savestep.h"
#include "data/searchdialog.h"
#include "data/session.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/gridmodel.h"
#include "grid/designwidth.h"
#include "grid/gridtoolbar.h"
#include "grid/sorting.h"
#include "grid/print.h"
#include "testsupport.h"
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace data;

namespace {

// A small panel window over 上游客户, declared the way real windows are.
class PanelWindow : public RecordListWindow {
public:
    explicit PanelWindow(TDm1 *dm, const std::function<void(ListDecl &)> &tweak = {}) : RecordListWindow(nullptr)
    {
        ListDecl d;
        d.caption = QStringLiteral("测试");
        d.module = QStringLiteral("testpanel");
        d.query = dm->q_guestinfo;
        d.search = dm->q_search;
        d.columns = {{QStringLiteral("客户名称"), QStringLiteral("客户名称"), 120, true, true, grid::FooterKind::Text, QStringLiteral("记录数")},
                     {QStringLiteral("行业"), QStringLiteral("行业"), 80, true, true, grid::FooterKind::Count},
                     {QStringLiteral("类别"), QStringLiteral("类别")},
                     {QStringLiteral("区域"), QStringLiteral("区域")},
                     {QStringLiteral("联系人"), QStringLiteral("联系人")},
                     {QStringLiteral("联系电话"), QStringLiteral("联系电话")},
                     {QStringLiteral("操作员"), QStringLiteral("操作员")}};
        d.printTitle = QStringLiteral("测试打印清单");
        d.exportName = QStringLiteral("测试");
        d.buttons = {{Role::Add, QStringLiteral("bitbtn_add"), QStringLiteral("增加")},
                     {Role::Edit, QStringLiteral("bitbtn_edit"), QStringLiteral("编辑")},
                     {Role::Delete, QStringLiteral("bitbtn_delete"), QStringLiteral("删除")},
                     {Role::Save, QStringLiteral("bitbtn_save"), QStringLiteral("存盘")},
                     {Role::Cancel, QStringLiteral("bitbtn_cancel"), QStringLiteral("取消")},
                     {Role::Print, QStringLiteral("bitbtn_print"), QStringLiteral("打印")},
                     {Role::Export, QStringLiteral("bitbtn_out"), QStringLiteral("导出")},
                     {Role::ResetLayout, QStringLiteral("SpeedButton1"), QStringLiteral("初始界面")},
                     {Role::Search, QStringLiteral("SpeedButton2"), QStringLiteral("查找")},
                     {Role::Close, QStringLiteral("SpeedButton4"), QStringLiteral("返回")}};
        d.editors = {{QStringLiteral("客户名称"), QStringLiteral("客户名称："), EditorKind::Edit, QStringLiteral("DBEdit2"), {}, true},
                     {QStringLiteral("行业"), QStringLiteral("行业："), EditorKind::Combo, QStringLiteral("DBComboBoxEh1")},
                     {QStringLiteral("备注"), QStringLiteral("备注："), EditorKind::Memo, QStringLiteral("DBMemo1"), {}, true}};
        d.enterRing = {QStringLiteral("客户名称"), QStringLiteral("行业"), QStringLiteral("备注")};
        d.quickSearch = {{QStringLiteral("Edit3"), QStringLiteral("客户名称："), QStringLiteral("客户名称")}};
        d.quickSearchHead = {QStringLiteral("select * from 上游客户 ")};
        d.quickSearchOrder = QStringLiteral("order by 客户名称");
        d.memoField = QStringLiteral("备注");
        if (tweak)
            tweak(d);
        build(d);
    }
    bool checks() override
    {
        if (!requireText(QStringLiteral("客户名称"), QStringLiteral("客户名称不能为空,请重新输入!")))
            return false;
        if (isDuplicate({QStringLiteral("select * from 上游客户 "),
                         QStringLiteral("where 客户名称='") + db::q(editorText(QStringLiteral("客户名称"))) + QStringLiteral("'")},
                        {QStringLiteral("客户名称")}))
            return fail(QStringLiteral("客户名称重复,请重新输入!"), QStringLiteral("客户名称"), msg::Icon::Information);
        return true;
    }
};

void openGuests(TDm1 *dm)
{
    dm->q_guestinfo->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 客户名称")});
}

void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QAbstractButton *>(QString::fromLatin1(name));
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

} // namespace

class TstRecordList : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = QStringLiteral("张三"); }
    void statesFollowAddSaveCancel();
    void saveChecksAndDuplicateRule();
    void failedPostIsReportedAndCancelled();
    void saveStepOutcomes_data();
    void saveStepOutcomes();
    void deleteAsksWithNoAsDefault();
    void closingWhileEditingCancels();
    void resetLayoutRemovesStoredLayout();
    void printTurnsTwoToneBackOn();
    void quickSearchAndEmptyResult();
    void genericListOverAnyQuery();
    void searchWhileEditingLeavesEditing();
    void stripEnterModes_data();
    void stripEnterModes();
    void searchDialogChecksAndLoop();
    void badDatesAndEngineErrorsInSearches();
    void memoWindowEditsTheSameRow();
    void markEveryRowIsAllOrNothing();
    void editFocusAndStripWithoutEnter();
    void longListReadsBehindItsFirstScreen();
};

void TstRecordList::statesFollowAddSaveCancel()
{
    TestDb t;
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    auto *name = w.findChild<QLineEdit *>(QStringLiteral("DBEdit2"));
    QVERIFY(name->isReadOnly());
    QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("bitbtn_save"))->isEnabled());
    click(&w, "bitbtn_add");
    QVERIFY(w.editing());
    QVERIFY(!name->isReadOnly());
    QVERIFY(!w.grid()->isEnabled());
    QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("bitbtn_add"))->isEnabled());
    QCOMPARE(t.dm()->q_guestinfo->state(), db::Query::Insert);
    typeText(name, QStringLiteral("武汉客户"));
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), QStringLiteral("保存完毕！"));
    QVERIFY(!w.editing());
    QVERIFY(name->isReadOnly());
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 || '/' || 操作员 from 上游客户")), QStringLiteral("武汉客户/张三"));
    click(&w, "bitbtn_edit");
    typeText(name, QStringLiteral("X"));
    click(&w, "bitbtn_cancel");
    QVERIFY(!w.editing());
    QCOMPARE(name->text(), QStringLiteral("武汉客户"));
}

void TstRecordList::saveChecksAndDuplicateRule()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲'), ('O''Brien')"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    auto *name = w.findChild<QLineEdit *>(QStringLiteral("DBEdit2"));
    click(&w, "bitbtn_add");
    typeText(name, QStringLiteral("   "));
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), QStringLiteral("客户名称不能为空,请重新输入!"));
    QVERIFY(w.editing());
    name->clear();
    typeText(name, QStringLiteral("O'Brien"));
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), QStringLiteral("客户名称重复,请重新输入!"));
    QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    QVERIFY(w.editing());
    click(&w, "bitbtn_cancel");
    // Editing a row without changing its name is no duplicate.
    t.dm()->q_guestinfo->locate(QStringLiteral("客户名称"), QStringLiteral("甲"));
    click(&w, "bitbtn_edit");
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), QStringLiteral("保存完毕！"));
    // Renaming it to another customer's name is.
    click(&w, "bitbtn_edit");
    name->clear();
    typeText(name, QStringLiteral("O'Brien"));
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), QStringLiteral("客户名称重复,请重新输入!"));
}

void TstRecordList::failedPostIsReportedAndCancelled()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    t.exec(QStringLiteral("create trigger refuse before update on 上游客户 begin select raise(abort, 'disk full'); end"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    click(&w, "bitbtn_edit");
    auto *name = w.findChild<QLineEdit *>(QStringLiteral("DBEdit2"));
    typeText(name, QStringLiteral("乙"));
    click(&w, "bitbtn_save");
    QVERIFY(ms.last().contains(QStringLiteral("disk full")));
    QVERIFY(!ms.texts().contains(QStringLiteral("保存完毕！")));
    QVERIFY(!w.editing());
    QCOMPARE(t.dm()->q_guestinfo->state(), db::Query::Browse);
    QCOMPARE(name->text(), QStringLiteral("甲"));
    QCOMPARE(t.scalar(QStringLiteral("select 客户名称 from 上游客户")), QStringLiteral("甲"));
}

void TstRecordList::saveStepOutcomes_data()
{
    QTest::addColumn<bool>("append");      // a new row 丙, else 甲 renamed 甲2
    QTest::addColumn<QString>("failAt");   // check, post, after (a write after the post), or nothing
    QTest::addColumn<bool>("wholeList");   // the save also rewrites 乙's 备注 in the list
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("listed");   // 客户名称/备注 of the listed rows, then the state
    QTest::addColumn<QString>("stored");   // 客户名称/备注/stamp
    const QString untouched = S("甲/备甲/,乙/备乙/");
    const auto saved = int(SaveOutcome::Saved), failed = int(SaveOutcome::Failed), stopped = int(SaveOutcome::Stopped);
    QTest::newRow("edit saved") << false << S("") << false << saved << S("甲2/备甲,乙/备乙 Browse")
                                << S("甲2/备甲/张三1,乙/备乙/");
    QTest::newRow("check refuses") << false << S("check") << false << stopped << S("甲2/备甲,乙/备乙 Edit") << untouched;
    QTest::newRow("post refused") << false << S("post") << false << failed << S("甲/备甲,乙/备乙 Browse") << untouched;
    QTest::newRow("refused after the post") << false << S("after") << false << failed << S("甲/备甲,乙/备乙 Browse") << untouched;
    QTest::newRow("new row saved") << true << S("") << false << saved << S("甲/备甲,乙/备乙,丙/ Browse")
                                   << S("甲/备甲/,乙/备乙/,丙//张三1");
    QTest::newRow("new row refused") << true << S("post") << false << failed << S("甲/备甲,乙/备乙 Browse") << untouched;
    QTest::newRow("new row refused after the post") << true << S("after") << false << failed << S("甲/备甲,乙/备乙 Browse")
                                                    << untouched;
    QTest::newRow("list rewritten") << false << S("") << true << saved << S("甲2/备甲,乙/改 Browse")
                                    << S("甲2/备甲/张三1,乙/改/");
    QTest::newRow("list rewritten, refused after") << false << S("after") << true << failed << S("甲/备甲,乙/备乙 Browse")
                                                   << untouched;
}

// The one save step on its own: what is stored, what the list shows and
// what the user is told, for each way a save can end.
void TstRecordList::saveStepOutcomes()
{
    QFETCH(bool, append);
    QFETCH(QString, failAt);
    QFETCH(bool, wholeList);
    QFETCH(int, outcome);
    QFETCH(QString, listed);
    QFETCH(QString, stored);
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称, 备注) values ('甲', '备甲'), ('乙', '备乙')"));
    if (failAt == S("post"))
        t.exec(S("create trigger refuse before %1 on 上游客户 begin select raise(abort, 'refused here'); end")
                   .arg(append ? S("insert") : S("update")));
    if (failAt == S("after"))
        t.exec(S("create trigger refuse before insert on 下游运输商 begin select raise(abort, 'refused here'); end"));
    MessageScript ms;
    db::Query *q = t.dm()->q_guestinfo;
    openGuests(t.dm());
    if (!append)
        q->field(S("客户名称")).setAsString(S("甲2"));   // as typed into its editor
    const SaveOutcome result = saveRow(
        nullptr, {.query = q,
                  .appendRow = append,
                  .checks =
                      [&] {
                          if (failAt != S("check"))
                              return true;
                          msg::hint(nullptr, S("客户名称不对,请重新输入!"));
                          return false;
                      },
                  .beforePost =
                      [&] {
                          if (append)
                              q->field(S("客户名称")).setAsString(S("丙"));
                      },
                  .afterPost =
                      [&] {
                          if (wholeList)
                              q->writeColumn(q->fieldIndex(S("备注")), {{1, S("改")}});
                          t.dm()->q_search->execWith({S("insert into 下游运输商 (单位名称) values ('x')")});
                      },
                  .rereadList = wholeList});
    QCOMPARE(int(result), outcome);
    QStringList rows;
    for (int r = 0; r < q->recordCount(); ++r)
        rows << q->displayText(r, q->fieldIndex(S("客户名称"))) + S("/") + q->displayText(r, q->fieldIndex(S("备注")));
    QCOMPARE(rows.join(QLatin1Char(',')) + S(" ") + QString::fromLatin1(QMetaEnum::fromType<db::Query::State>().valueToKey(q->state())),
             listed);
    QCOMPARE(t.scalar(S("select group_concat(客户名称 || '/' || ifnull(备注, '') || '/' || ifnull(操作员 || (case when 操作日期 is not null then 1 else 0 end), ''), ',') "
                        "from (select * from 上游客户 order by rowid)")),
             stored);
    if (result == SaveOutcome::Failed) {
        QCOMPARE(ms.seen().size(), 1);
        QCOMPARE(ms.seen()[0].icon, msg::Icon::Error);
        QVERIFY2(ms.last().startsWith(S("保存失败，修改已取消：\n")) && ms.last().contains(S("refused here")),
                 qPrintable(ms.last()));
    } else {
        QCOMPARE(ms.texts(), QStringList{result == SaveOutcome::Saved ? S("保存完毕！") : S("客户名称不对,请重新输入!")});
    }
}

void TstRecordList::deleteAsksWithNoAsDefault()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲'), ('乙')"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    ms.answer(QMessageBox::No);
    click(&w, "bitbtn_delete");
    QCOMPARE(ms.seen().last().text, QStringLiteral("要删除当前记录吗? "));
    QCOMPARE(ms.seen().last().caption, QStringLiteral("请选择"));
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QStringLiteral("2"));
    ms.answer(QMessageBox::Yes);
    click(&w, "bitbtn_delete");
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QStringLiteral("1"));
}

void TstRecordList::closingWhileEditingCancels()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲')"));
    MessageScript ms;
    openGuests(t.dm());
    {
        PanelWindow w(t.dm());
        w.show();
        click(&w, "bitbtn_add");
        typeText(w.findChild<QLineEdit *>(QStringLiteral("DBEdit2")), QStringLiteral("新客户"));
        click(&w, "SpeedButton4");
    }
    QCOMPARE(t.dm()->q_guestinfo->state(), db::Query::Browse);
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), 1);
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QStringLiteral("1"));
}

void TstRecordList::resetLayoutRemovesStoredLayout()
{
    TestDb t;
    MessageScript ms;
    openGuests(t.dm());
    const QString ini = t.dir() + QStringLiteral("/testpanel.ini");
    {
        PanelWindow w(t.dm());
        w.show();
        w.grid()->setColumnWidth(0, 333);
        w.close();
    }
    QVERIFY(QFile::exists(ini));
    {
        PanelWindow w(t.dm());
        w.show();
        QCOMPARE(w.grid()->columnWidth(0), 333);   // remembered
        click(&w, "SpeedButton1");
        QCOMPARE(ms.last(), QStringLiteral("界面初始化完毕！"));
        w.close();
    }
    QVERIFY(!QFile::exists(ini));
    PanelWindow w(t.dm());
    w.show();
    // The design width again: the declared 120 widened for a company name.
    const int design = grid::designWidth(w.grid()->column(0), w.grid()->fontMetrics());
    QVERIFY(design > 120);
    QCOMPARE(w.grid()->columnWidth(0), design);
}

void TstRecordList::printTurnsTwoToneBackOn()
{
    TestDb t;
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    auto *two = w.findChild<QCheckBox *>(QStringLiteral("cbDichromatic"));
    two->setChecked(false);
    bool offWhilePrinting = false;
    QString caption;
    grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        offWhilePrinting = !two->isChecked();
        caption = dlg.windowTitle();
    });
    click(&w, "bitbtn_print");
    grid::setPreviewRunner(nullptr);
    QVERIFY(offWhilePrinting);
    QVERIFY(two->isChecked());
    QCOMPARE(caption, QStringLiteral("打印预览"));
}

void TstRecordList::quickSearchAndEmptyResult()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('武汉长江'), ('杨泗港'), ('50%公司')"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    auto *edit = w.findChild<QLineEdit *>(QStringLiteral("Edit3"));
    typeText(edit, QStringLiteral("长江"));
    click(&w, "SpeedButton2");
    QCOMPARE(t.dm()->q_guestinfo->sql(), QStringList({QStringLiteral("select * from 上游客户 "),
                                                      QStringLiteral(" where (客户名称 like '%长江%')"),
                                                      QStringLiteral("order by 客户名称")}));
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), 1);
    edit->setText(QStringLiteral("没有'这个"));
    QTest::keyClick(edit, Qt::Key_Return);   // Enter in the last field runs the search
    QCOMPARE(ms.last(), QStringLiteral("没有找到合适的记录！"));
    QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), 0);
    edit->clear();
    click(&w, "SpeedButton2");
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), 3);
    QCOMPARE(t.dm()->q_guestinfo->sql().size(), 2);
}

namespace {
// Two strip fields over 上游客户, Enter handled in the given way.
class StripWindow : public RecordListWindow {
public:
    StripWindow(TDm1 *dm, StripEnter mode) : RecordListWindow(nullptr)
    {
        ListDecl d;
        d.caption = QStringLiteral("测试");
        d.module = QStringLiteral("teststrip");
        d.layoutStore = false;
        d.query = dm->q_guestinfo;
        d.columns = {{QStringLiteral("客户名称"), QStringLiteral("客户名称")}};
        d.buttons = {{Role::Search, QStringLiteral("SpeedButton2"), QStringLiteral("查找")}};
        d.quickSearch = {{QStringLiteral("Edit1"), QStringLiteral("客户名称："), QStringLiteral("客户名称")},
                         {QStringLiteral("Edit2"), QStringLiteral("行业："), QStringLiteral("行业")}};
        d.quickSearchHead = {QStringLiteral("select * from 上游客户 ")};
        d.quickSearchOrder = QStringLiteral("order by 客户名称");
        d.quickSearchEnter = mode;
        build(d);
    }
};
} // namespace

void TstRecordList::stripEnterModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("firstRuns");
    QTest::addColumn<QString>("focusAfterFirst");
    QTest::addColumn<bool>("lastRuns");
    QTest::newRow("moves, runs in the last") << int(StripEnter::Moves) << false << "Edit2" << true;
    QTest::newRow("each field runs") << int(StripEnter::EachRuns) << true << "Edit1" << true;
    QTest::newRow("left to the control") << int(StripEnter::Nothing) << false << "Edit1" << false;
}

void TstRecordList::stripEnterModes()
{
    QFETCH(int, mode);
    QFETCH(bool, firstRuns);
    QFETCH(QString, focusAfterFirst);
    QFETCH(bool, lastRuns);
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 行业) values ('甲', '钢铁'), ('乙', '钢铁'), ('丙', '化工')"));
    MessageScript ms;
    openGuests(t.dm());
    StripWindow w(t.dm(), StripEnter(mode));
    w.show();
    auto *first = w.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    auto *last = w.findChild<QLineEdit *>(QStringLiteral("Edit2"));
    first->setText(QStringLiteral("甲"));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), firstRuns ? 1 : 3);
    QCOMPARE(w.focusWidget() ? w.focusWidget()->objectName() : QString(), focusAfterFirst);
    first->clear();
    last->setText(QStringLiteral("钢铁"));
    QTest::keyClick(last, Qt::Key_Return);
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), lastRuns ? 2 : (firstRuns ? 1 : 3));
    QVERIFY(ms.seen().isEmpty());
}

namespace {
class OrderSearch : public SearchDialog {
public:
    OrderSearch(TDm1 *dm) : SearchDialog(nullptr)
    {
        SearchDecl d;
        d.target = dm->q_container_ysd;
        d.table = QStringLiteral("集装箱运输单");
        d.orderLine = QStringLiteral("order by 运输期限从");
        d.fields = {{QStringLiteral("DBComboBoxEh4"), QStringLiteral("上游客户："), QStringLiteral("上游客户"), TermKind::Like, EditorKind::Combo},
                    {QStringLiteral("Edit3"), QStringLiteral("运输单号："), QStringLiteral("运输单号"), TermKind::Exact, EditorKind::Edit, {}, false, true},
                    {QStringLiteral("DBDateTimeEditEh1"), QStringLiteral("运输期限 从："), QStringLiteral("运输期限从"), TermKind::Range,
                     EditorKind::Date, {}, false, false, QStringLiteral("DBDateTimeEditEh2"), QStringLiteral("到")}};
        d.enterOrder = {QStringLiteral("DBComboBoxEh4"), QStringLiteral("Edit3"), QStringLiteral("DBDateTimeEditEh1"),
                        QStringLiteral("DBDateTimeEditEh2")};
        d.msgIncomplete = QStringLiteral("必须输入完整的运输期限,请重新输入!");
        d.msgOrder = QStringLiteral("运输期限从不能大于运输期限到,请重新输入!");
        build(d);
    }
};
} // namespace

void TstRecordList::searchDialogChecksAndLoop()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从) values "
                          "('甲', 'A1', '2024-03-05 00:00:00'), ('甲', 'A2', '2024-03-06 00:00:00')"));
    MessageScript ms;
    OrderSearch d(t.dm());
    d.show();
    auto *from = static_cast<dbctrls::DBDateEdit *>(d.fieldWidget(QStringLiteral("DBDateTimeEditEh1")));
    auto *to = static_cast<dbctrls::DBDateEdit *>(d.fieldWidget(QStringLiteral("DBDateTimeEditEh2")));
    d.seek();
    QCOMPARE(ms.last(), QStringLiteral("查询条件没有输入,请确认!"));
    to->setDate(QDate(2024, 3, 5));
    d.seek();
    QCOMPARE(ms.last(), QStringLiteral("必须输入完整的运输期限,请重新输入!"));
    from->setDate(QDate(2024, 3, 6));
    d.seek();
    QCOMPARE(ms.last(), QStringLiteral("运输期限从不能大于运输期限到,请重新输入!"));
    QVERIFY(!t.dm()->q_container_ysd->isActive());
    // A one-day period; the order number is upper-cased and matched exactly.
    from->setDate(QDate(2024, 3, 5));
    typeText(static_cast<QLineEdit *>(d.fieldWidget(QStringLiteral("Edit3"))), QStringLiteral("a9"));
    ms.answer(QMessageBox::Yes);
    d.seek();
    QCOMPARE(ms.last(), QStringLiteral("没有找到合适的记录,是否重新查找!!"));
    QVERIFY(d.isVisible());                        // Yes: try again
    QCOMPARE(t.dm()->q_container_ysd->sql(),
             QStringList({QStringLiteral("select * from 集装箱运输单"),
                          QStringLiteral(" where (运输单号 = 'A9')and(运输期限从 between cvdate('2024-3-5 0:0:0') and cvdate('2024-3-5 23:59:59'))"),
                          QStringLiteral("order by 运输期限从")}));
    static_cast<QLineEdit *>(d.fieldWidget(QStringLiteral("Edit3")))->clear();
    d.seek();
    QCOMPARE(t.dm()->q_container_ysd->recordCount(), 1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void TstRecordList::badDatesAndEngineErrorsInSearches()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲'), ('乙')"));
    MessageScript ms;
    openGuests(t.dm());
    // A strip with a day field: text that is no date is refused, not dropped
    // from the condition (which would list every row).
    PanelWindow w(t.dm(), [](ListDecl &d) {
        d.quickSearch << SearchField{QStringLiteral("DBDateTimeEditEh3"), QStringLiteral("操作日期："),
                                     QStringLiteral("操作日期"), TermKind::Day, EditorKind::Date};
    });
    w.show();
    typeText(w.findChild<QLineEdit *>(QStringLiteral("Edit3")), QStringLiteral("甲"));
    const QStringList before = t.dm()->q_guestinfo->sql();
    w.findChild<QLineEdit *>(QStringLiteral("DBDateTimeEditEh3"))->setText(QStringLiteral("2024-13-1"));
    click(&w, "SpeedButton2");
    QCOMPARE(ms.texts(), QStringList{QStringLiteral("'2024-13-1'不是有效的日期")});
    QCOMPARE(t.dm()->q_guestinfo->sql(), before);
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), 2);

    // The dialog refuses such a date before its period checks.
    ms.clear();
    OrderSearch d(t.dm());
    d.show();
    auto *from = static_cast<dbctrls::DBDateEdit *>(d.fieldWidget(QStringLiteral("DBDateTimeEditEh1")));
    auto *to = static_cast<dbctrls::DBDateEdit *>(d.fieldWidget(QStringLiteral("DBDateTimeEditEh2")));
    from->setText(QStringLiteral("2024-3-5"));
    to->setText(QStringLiteral("2024-2-30"));
    d.seek();
    QCOMPARE(ms.texts(), QStringList{QStringLiteral("'2024-2-30'不是有效的日期")});
    QVERIFY(!t.dm()->q_container_ysd->isActive());
    QVERIFY(d.isVisible());

    // An engine error reaches the caller, and the busy animation stops.
    from->clear();
    to->clear();
    typeText(static_cast<QLineEdit *>(d.fieldWidget(QStringLiteral("Edit3"))), QStringLiteral("A1"));
    t.exec(QStringLiteral("drop table 集装箱运输单"));
    bool thrown = false;
    try {
        d.seek();
    } catch (const db::DbError &) {
        thrown = true;
    }
    QVERIFY(thrown);
    QVERIFY(!d.findChild<QProgressBar *>(QStringLiteral("Animate1"))->isVisible());
    QVERIFY(d.isVisible());
}

void TstRecordList::memoWindowEditsTheSameRow()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 备注) values ('甲', '旧')"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    click(&w, "bitbtn_edit");
    {
        TForm_bz memo(&w, t.dm()->q_guestinfo, QStringLiteral("备注"));
        QCOMPARE(memo.windowTitle(), QStringLiteral("备忘录"));
        auto *ed = memo.findChild<QPlainTextEdit *>(QStringLiteral("DBMemo1"));
        QCOMPARE(ed->toPlainText(), QStringLiteral("旧"));
        ed->selectAll();
        typeText(ed, QStringLiteral("新的备注"));
        memo.findChild<QPushButton *>(QStringLiteral("bitbtn_close"))->click();
    }
    QCOMPARE(t.dm()->q_guestinfo->field(QStringLiteral("备注")).asString(), QStringLiteral("新的备注"));
    click(&w, "bitbtn_save");
    QCOMPARE(t.scalar(QStringLiteral("select 备注 from 上游客户")), QStringLiteral("新的备注"));
}

void TstRecordList::markEveryRowIsAllOrNothing()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 运输单号) values ('甲', 'A1'), ('甲', 'A2'), ('甲', 'A3')"));
    MessageScript ms;
    db::Query *q = t.dm()->q_container_ysd;
    q->reopenWith({QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输单号")});
    const auto mark = [](db::Query &r) { r.field(QStringLiteral("回单返回")).setAsString(QStringLiteral("是")); };
    const auto describe = [](db::Query &r) { return r.field(QStringLiteral("运输单号")).asString(); };
    const auto marked = [&] {
        QStringList l;
        for (int row = 0; row < q->recordCount(); ++row)
            l << q->displayText(row, q->fieldIndex(QStringLiteral("回单返回")));
        return l.join(QLatin1Char(','));
    };

    // The third row fails: the first two are neither stored nor shown as marked.
    t.exec(QStringLiteral("create trigger refuse before update on 集装箱运输单 when old.运输单号 = 'A3' "
                          "begin select raise(abort, 'row locked'); end"));
    QVERIFY(!markEveryRow(nullptr, q, QStringLiteral("全部返回"), mark, describe));
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 集装箱运输单 where 回单返回='是'")), QStringLiteral("0"));
    QCOMPARE(marked(), QStringLiteral("否,否,否"));
    QCOMPARE(q->state(), db::Query::Browse);
    QCOMPARE(q->recNo(), 3);                       // left on the row that failed
    QCOMPARE(ms.seen().size(), 1);
    QVERIFY(ms.last().contains(QStringLiteral("全部返回")));
    QVERIFY(ms.last().contains(QStringLiteral("第3行（A3）")));
    QVERIFY(ms.last().contains(QStringLiteral("row locked")));

    t.exec(QStringLiteral("drop trigger refuse"));
    QVERIFY(markEveryRow(nullptr, q, QStringLiteral("全部返回"), mark, describe));
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 集装箱运输单 where 回单返回='是'")), QStringLiteral("3"));
    QCOMPARE(marked(), QStringLiteral("是,是,是"));
    QCOMPARE(q->recNo(), 1);
    QCOMPARE(ms.seen().size(), 1);
}

void TstRecordList::editFocusAndStripWithoutEnter()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲'), ('乙')"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm(), [](ListDecl &d) {
        d.editFocus = QStringLiteral("行业");
        d.quickSearchEnter = StripEnter::Nothing;
    });
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    click(&w, "bitbtn_edit");
    QCOMPARE(QApplication::focusWidget(), w.editorFor(QStringLiteral("行业")));
    click(&w, "bitbtn_cancel");
    // Without Enter handling the strip's Enter neither searches nor moves.
    auto *edit = w.findChild<QLineEdit *>(QStringLiteral("Edit3"));
    edit->setFocus();
    typeText(edit, QStringLiteral("甲"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), 2);
    QVERIFY(ms.seen().isEmpty());
    QCOMPARE(QApplication::focusWidget(), edit);
}

void TstRecordList::genericListOverAnyQuery()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 应收运费) values "
                          "('甲', 'A2', '2024-03-05 00:00:00', 125000), ('乙', 'A1', '2024-03-04 00:00:00', 2500)"));
    MessageScript ms;
    auto *q = t.dm()->q_container_ysd;
    GenericListWindow w(nullptr, q, QStringLiteral("集装箱运输单录入"), QStringLiteral("container_ysd"));
    q->reopenWith({QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输期限从,运输单号")});
    w.show();
    // Columns come from the query once it is open; footer and money sum.
    auto *g = w.grid();
    QCOMPARE(g->columnCount(), q->fieldCount());
    QCOMPARE(g->footerText(0), QStringLiteral("记录数"));
    QCOMPARE(g->footerText(1), QStringLiteral("2"));
    QCOMPARE(g->footerText(q->fieldIndex(QStringLiteral("应收运费"))), QStringLiteral("12.75"));
    // Title sort rewrites the order-by line.
    g->toggleSortMarker(q->fieldIndex(QStringLiteral("运输单号")));
    QCOMPARE(q->sql().last(), QStringLiteral(" ORDER BY 运输单号"));
    QCOMPARE(q->field(QStringLiteral("运输单号")).asString(), QStringLiteral("A1"));
    // Hiding stops at five visible columns.
    auto *tools = w.findChild<grid::GridToolBar *>();
    for (int i = 0; i < 100; ++i)
        tools->hideRightmost();
    QCOMPARE(g->visibleColumnCount(), 5);
    // Export writes every row under the window's name.
    QString proposed;
    grid::setSaveDialogHook([&](QWidget *, const QString &name, const QStringList &, int) {
        proposed = name;
        return std::optional<grid::SaveChoice>(grid::SaveChoice{t.dir() + QStringLiteral("/out"), 2});
    });
    click(&w, "bitbtn_out");
    grid::setSaveDialogHook(nullptr);
    QCOMPARE(proposed, QStringLiteral("集装箱运输单录入"));
    QFile f(t.dir() + QStringLiteral("/out.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(f.readAll());
    QVERIFY(csv.contains(QStringLiteral("A1")) && csv.contains(QStringLiteral("A2")));
}

void TstRecordList::searchWhileEditingLeavesEditing()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称) values ('甲'), ('乙')"));
    MessageScript ms;
    openGuests(t.dm());
    PanelWindow w(t.dm());
    w.show();
    click(&w, "bitbtn_add");
    typeText(w.findChild<QLineEdit *>(QStringLiteral("DBEdit2")), QStringLiteral("丙"));
    click(&w, "SpeedButton2");
    // The list was reloaded: no half-entered row, and the buttons match it.
    QVERIFY(!w.editing());
    QCOMPARE(t.dm()->q_guestinfo->state(), db::Query::Browse);
    QVERIFY(w.findChild<QPushButton *>(QStringLiteral("bitbtn_add"))->isEnabled());
    QVERIFY(!w.findChild<QPushButton *>(QStringLiteral("bitbtn_save"))->isEnabled());
    QVERIFY(w.findChild<QLineEdit *>(QStringLiteral("DBEdit2"))->isReadOnly());
    QCOMPARE(t.scalar(QStringLiteral("select count(*) from 上游客户")), QStringLiteral("2"));
}

// The busy bar runs and the count grows while the rest is read; closing the
// list or its window stops the read and the bar.
void TstRecordList::longListReadsBehindItsFirstScreen()
{
    TestDb t;
    const int customers = 3 * db::Query::FirstChunk;
    t.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM n WHERE x<%1) "
                          "INSERT INTO 上游客户 (客户名称, 行业) SELECT '客户' || substr('0000' || x, length('0000' || x) - 3), '运输' FROM n").arg(customers));
    PanelWindow w(t.dm());
    w.show();
    auto *bar = w.findChild<QProgressBar *>(QStringLiteral("ProgressBarReading"));
    QVERIFY(bar);
    QVERIFY(!bar->isVisibleTo(&w));
    openGuests(t.dm());
    QVERIFY(bar->isVisibleTo(&w));
    QCOMPARE(w.grid()->gridModel()->footerShown(1), QString::number(db::Query::FirstChunk));
    QTRY_VERIFY(!bar->isVisibleTo(&w));
    QCOMPARE(w.grid()->gridModel()->footerShown(1), QString::number(customers));

    openGuests(t.dm());
    QVERIFY(bar->isVisibleTo(&w));
    t.dm()->q_guestinfo->close();
    QVERIFY(!bar->isVisibleTo(&w));
    QVERIFY(!t.dm()->q_guestinfo->isReading());

    // Closing the window stops a read nobody will look at; a whole list stays.
    openGuests(t.dm());
    w.reject();
    QVERIFY(!t.dm()->q_guestinfo->isReading());
    QVERIFY(!t.dm()->q_guestinfo->isActive());
    PanelWindow again(t.dm());
    openGuests(t.dm());
    t.dm()->q_guestinfo->fetchAll();
    again.reject();
    QCOMPARE(t.dm()->q_guestinfo->recordCount(), customers);
}

QTEST_MAIN(TstRecordList)
#include "tst_recordlist.moc"
