// Goods orders: the order list and editor with its lines (chooser, line
// editor, order display), the search dialog, receipt return and collection.
#include "app/main.h"
#include "data/session.h"
#include "db/connection.h"
#include "formhelpers.h"
#include "goods/freight_mxb_edit.h"
#include "goods/freight_ysd.h"
#include "goods/freight_ysd_cx.h"
#include "goods/freight_ysd_edit.h"
#include "goods/freight_ysd_fh.h"
#include "goods/freight_ysd_list.h"
#include "goods/freight_ysd_sk.h"
#include "goods/rules.h"
#include "goods/xzfreight.h"
#include "grid/dbgrideh.h"
#include "spine_driver.h"
#include "db/quote.h"
#include <QGroupBox>

namespace {

void openOrders(TDm1 *dm, const char *where = nullptr)
{
    QStringList lines{S("select * from 普通货物运输单")};
    if (where)
        lines << S(where);
    dm->q_freight_ysd->reopenWith(lines << S("order by 发货日期,运输单号"));
}

// The editor as the list's 编辑 opens it: lines of the current order loaded.
struct Editor {
    explicit Editor(TDm1 *dm) : w(nullptr)
    {
        dm->q_freight_mxb->reopenWith(goods::orderLines(
            dm->q_freight_ysd->isEmpty() ? QString() : dm->q_freight_ysd->field(S("运输单号")).asString(), true));
        w.show();
    }
    TForm_freight_ysd_edit w;
};

void typeHeader(QWidget *w, const QStringList &v)   // customer, number, 发货日期, 到货日期, 起始地, 目的地
{
    const char *names[] = {"DBComboBoxEh2", "DBEdit6", "DBDateTimeEditEh1", "DBDateTimeEditEh2", "DBEdit1", "DBEdit3"};
    for (int i = 0; i < v.size(); ++i)
        put(w, names[i], v[i]);
}

QString rows(const TestDb &t, const char *table, const char *expr)
{
    return t.scalar(S("select group_concat(%1, ',') from (select * from %2 order by rowid)").arg(S(expr), S(table)));
}

bool enabled(QWidget *w, const char *name)
{
    auto *b = w->findChild<QWidget *>(S(name));
    return b && b->isEnabled();
}

QString navState(QWidget *w)
{
    QString s;
    for (const char *n : {"first", "prior", "next", "last"})
        s += enabled(w, n) ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

const char *const orderSeed =
    "insert into 普通货物运输单 (上游客户, 运输单号, 发货日期, 到货日期, 起始地, 目的地) values "
    "('甲', 'A1', '2024-03-01 00:00:00', '2024-03-03 00:00:00', '武汉', '长沙'), "
    "('乙', 'O''2', '2024-03-02 00:00:00', null, '武汉', '上海'), "
    "('甲', 'A3', '2024-03-04 00:00:00', null, '孝感', '南昌')";
const char *const lineSeed =
    "insert into 普通货物运输单明细 (运输单号, 上游客户, 货物名称, 数量, 应收运费) values "
    "('A1', '甲', '钢材', 2, 1000000), ('A1', '甲', '铁丝', 3.5, 2500000), ('O''2', '乙', '药品', 1, 500000)";

} // namespace

class TstGoodsOrders : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("王五"); }
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void browseEditCancelAndNavigate();
    void linesFollowTheirOrder();
    void orderSaveCarriesLines_data();
    void orderSaveCarriesLines();
    void chooserAndLineEditor();
    void searchDialog();
    void stageWindows_data();
    void stageWindows();
    void allReturnedAndQuickSearch();
    void menuOpensListAndEditor();
};

void TstGoodsOrders::saveChecksInOrder_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString ok = S("保存完毕！");
    QTest::newRow("no customer") << QStringList{" ", "N1", "", "", "", ""} << S("上游客户不能为空,请重新输入!") << "DBComboBoxEh2";
    QTest::newRow("no number") << QStringList{"丙", " ", "2024-3-1", "", "", ""} << S("运输单号不能为空,请重新输入!") << "DBEdit6";
    QTest::newRow("no dispatch date") << QStringList{"丙", "N1", "", "2024-3-1", "", ""} << S("发货日期不能为空,请重新输入!")
                                      << "DBDateTimeEditEh1";
    QTest::newRow("arrival before dispatch") << QStringList{"丙", "N1", "2024-3-5", "2024-3-4", "A", "B"}
                                             << S("到货时间不能小于发货日期,请重新输入!") << "DBDateTimeEditEh2";
    QTest::newRow("no origin") << QStringList{"丙", "N1", "2024-3-5", "", " ", "B"} << S("起始地不能为空,请重新输入!") << "DBEdit1";
    QTest::newRow("no destination") << QStringList{"丙", "N1", "2024-3-5", "", "A", ""} << S("目的地不能为空,请重新输入!") << "DBEdit3";
    QTest::newRow("another customer's number") << QStringList{"丙", "o'2", "2024-3-5", "", "A", "B"}
                                               << S("运输单号不能重复,请重新输入!") << "DBEdit6";
    QTest::newRow("no arrival yet") << QStringList{"丙", "N'1", "2024-3-5", "", "A", "B"} << ok << "";
    QTest::newRow("arrival on the day") << QStringList{"丙", "N1", "2024-3-5", "2024-3-5", "A", "B"} << ok << "";
}

void TstGoodsOrders::saveChecksInOrder()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    t.exec(S(orderSeed));
    MessageScript ms;
    openOrders(t.dm());
    Editor e(t.dm());
    QCOMPARE(navState(&e.w), S("1111"));
    click(&e.w, "bitbtn_add");
    QVERIFY(e.w.editing() && !enabled(&e.w, "bitbtn_add") && enabled(&e.w, "choose_freight"));
    QCOMPARE(navState(&e.w), S("0000"));
    QCOMPARE(focusName(&e.w), S("DBComboBoxEh2"));
    typeHeader(&e.w, typed);
    click(&e.w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(e.w.editing(), !focus.isEmpty());
    if (!focus.isEmpty()) {
        QCOMPARE(focusName(&e.w), focus);
        if (message.contains(S("重复")))
            QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
        QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单")), S("3"));
        return;
    }
    // Saved with its route and stamp; every stage and the dispatch choice see it at once.
    QCOMPARE(t.scalar(S("select 上游客户 || ' ' || 运输动态 || ' ' || 操作员 from 普通货物运输单 where 运输单号=")
                      + db::lit(typed[1])), S("丙 A-B 王五"));
    for (const char *stage : {"回单返回='否'", "帐款结清='否'", "(执行完结='否')and(调度单号='')"})
        QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单 where %1 and 运输单号=%2")
                              .arg(S(stage), db::lit(typed[1]))), S("1"));
    QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单明细")), S("0"));   // no line without a chosen goods
    QCOMPARE(navState(&e.w), S("1111"));
}

void TstGoodsOrders::browseEditCancelAndNavigate()
{
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S(lineSeed));
    MessageScript ms;
    openOrders(t.dm());
    Editor e(t.dm());
    db::Query *q = t.dm()->q_freight_ysd, *lines = t.dm()->q_freight_mxb;
    // Browsing: text editors read-only, drop-down and amount disabled, choices off.
    QVERIFY(qobject_cast<QLineEdit *>(e.w.editorFor(S("运输单号")))->isReadOnly());
    QVERIFY(!e.w.editorFor(S("上游客户"))->isEnabled() && !e.w.editorFor(S("应收运费"))->isEnabled());
    QVERIFY(!enabled(&e.w, "bitbtn_save") && !enabled(&e.w, "choose_delivery") && enabled(&e.w, "SpeedButton6"));
    const auto where = [&] { return q->field(S("运输单号")).asString() + S(":") + columnOf(lines, "货物名称"); };
    QCOMPARE(where(), S("A1:钢材,铁丝"));
    click(&e.w, "next");
    QCOMPARE(where() + navState(&e.w), S("O'2:药品1111"));
    click(&e.w, "last");
    QCOMPARE(where() + navState(&e.w), S("A3:1100"));
    click(&e.w, "prior");
    click(&e.w, "first");
    QCOMPARE(where() + navState(&e.w), S("A1:钢材,铁丝0011"));
    click(&e.w, "next");
    click(&e.w, "next");
    click(&e.w, "next");   // past the end: next and last rest
    QCOMPARE(where() + navState(&e.w), S("A3:1100"));
    click(&e.w, "first");
    click(&e.w, "next");
    click(&e.w, "prior");
    QCOMPARE(navState(&e.w), S("1111"));
    click(&e.w, "prior");  // at the beginning: first and prior rest
    QCOMPARE(where() + navState(&e.w), S("A1:钢材,铁丝0011"));

    // Editing a saved order: its own number is no duplicate, another's is.
    click(&e.w, "next");
    click(&e.w, "bitbtn_edit");
    QVERIFY(enabled(&e.w, "bitbtn_add") && !enabled(&e.w, "bitbtn_edit"));
    QCOMPARE(focusName(&e.w), S("DBComboBoxEh2"));
    put(&e.w, "DBEdit9", S("上海一库"));
    click(&e.w, "bitbtn_save");
    click(&e.w, "bitbtn_edit");
    put(&e.w, "DBEdit6", S("a1"));
    click(&e.w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList({S("保存完毕！"), S("运输单号不能重复,请重新输入!")}));
    // 取消 after 编辑: the stored values again, the first order current, its lines shown.
    put(&e.w, "DBEdit1", S("十堰"));
    click(&e.w, "bitbtn_cancel");
    QVERIFY(!e.w.editing());
    QCOMPARE(where(), S("A1:钢材,铁丝"));
    QCOMPARE(rows(t, "普通货物运输单", "运输单号 || 起始地 || ifnull(收货人, '')"), S("A1武汉,O'2武汉上海一库,A3孝感"));
    // 新增 during an edit drops the edit and starts a new order.
    click(&e.w, "bitbtn_edit");
    put(&e.w, "DBEdit1", S("十堰"));
    click(&e.w, "bitbtn_add");
    QVERIFY(!enabled(&e.w, "bitbtn_add") && q->state() == db::Query::Insert);
    QCOMPARE(columnOf(lines, "货物名称"), QString());
    click(&e.w, "bitbtn_close");
    QCOMPARE(rows(t, "普通货物运输单", "运输单号 || 起始地"), S("A1武汉,O'2武汉,A3孝感"));
}

void TstGoodsOrders::linesFollowTheirOrder()
{
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S(lineSeed));
    t.exec(S("insert into 货物信息 (客户名称, 货物名称, 类别, 型号规格, 计量单位) values ('甲', '钢材', '金属', 'Q235', '吨')"));
    MessageScript ms;
    openOrders(t.dm());
    const char *lineCols = "运输单号 || '/' || 货物名称 || '/' || ifnull(cast(发货日期 as text), '')";
    {
        Editor e(t.dm());
        // Renumbered and re-dated, the order keeps its lines and they follow it.
        click(&e.w, "bitbtn_edit");
        put(&e.w, "DBEdit6", S("A'1"));
        put(&e.w, "DBDateTimeEditEh1", S("2024-2-28"));
        click(&e.w, "bitbtn_save");
        QCOMPARE(columnOf(t.dm()->q_freight_mxb, "运输单号"), S("A'1,A'1"));
        QCOMPARE(rows(t, "普通货物运输单明细", lineCols),
                 S("A'1/钢材/2024-02-28 00:00:00,A'1/铁丝/2024-02-28 00:00:00,O'2/药品/"));

        // A new order given up after two lines were chosen leaves no line behind.
        ModalDriver chooser([](QDialog *d) {
            click(d, "SpeedButton2");
            click(d, "SpeedButton2");
        });
        click(&e.w, "bitbtn_add");
        typeHeader(&e.w, {S("甲"), S("N1"), S("2024-3-9")});
        click(&e.w, "choose_freight");
        QCOMPARE(columnOf(t.dm()->q_freight_mxb, "运输单号"), S("N1,N1"));
        QCOMPARE(e.w.attachedGrid()->footerText(4), S("0"));
        click(&e.w, "bitbtn_cancel");
        QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单明细 where 运输单号='N1'")), S("0"));
        QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单明细")), S("3"));

        // Kept when saved, under the number the order was saved with.
        click(&e.w, "bitbtn_add");
        typeHeader(&e.w, {S("甲"), S("N2"), S("2024-3-9"), QString(), S("A"), S("B")});
        click(&e.w, "choose_freight");
        put(&e.w, "DBEdit6", S("N3"));
        click(&e.w, "bitbtn_save");
        QCOMPARE(t.scalar(S("select group_concat(运输单号) from 普通货物运输单明细 where 货物名称='钢材'")), S("A'1,N3,N3"));
        QCOMPARE(columnOf(t.dm()->q_freight_mxb, "货物名称"), S("钢材,钢材"));
    }
    // Deleting an order in the list deletes its lines with it.
    TForm_freight_ysd list(nullptr);
    list.show();
    t.dm()->q_freight_ysd->locate(S("运输单号"), S("A'1"));
    click(&list, "bitbtn_delete");
    QCOMPARE(ms.seen().last().text, S("要删除当前记录吗? "));
    QCOMPARE(rows(t, "普通货物运输单明细", "运输单号"), S("O'2,N3,N3"));
    QCOMPARE(columnOf(t.dm()->q_freight_ysd, "运输单号"), S("O'2,A3,N3"));
}

void TstGoodsOrders::orderSaveCarriesLines_data()
{
    QTest::addColumn<QString>("order");          // the order edited; empty: a new one
    QTest::addColumn<QStringList>("typed");      // 运输单号, 上游客户, 发货日期, 到货日期 ("" keeps the value)
    QTest::addColumn<int>("chosen");             // lines chosen during the entry under "N1"
    QTest::addColumn<QString>("expected");       // 运输单号/上游客户/发货日期/到货日期 of every line
    const QString d5 = S("2024-03-05 00:00:00"), d3 = S("2024-03-03 00:00:00");
    QTest::newRow("renumbered and re-dated")
        << S("A1") << QStringList{"A9", "丙", "2024-3-5", ""} << 0
        << S("A9/丙/%1/%2,A9/丙/%1/%2,O'2/乙//").arg(d5, d3);
    QTest::newRow("quoted number, arrival only")
        << S("O'2") << QStringList{"", "", "", "2024-3-6"} << 0
        << S("A1/甲//,A1/甲//,O'2/乙/2024-03-02 00:00:00/2024-03-06 00:00:00");
    QTest::newRow("new, under the number typed first")
        << QString() << QStringList{"N2", "丁", "2024-3-5", "2024-3-3"} << 2
        << S("A1/甲//,A1/甲//,O'2/乙//,N2/丁/%1/%2,N2/丁/%1/%2").arg(d5, d3);
    QTest::newRow("new, nothing chosen") << QString() << QStringList{"N2", "丁", "2024-3-5", ""} << 0
                                         << S("A1/甲//,A1/甲//,O'2/乙//");
}

// What an order's save writes into its lines, without its window.
void TstGoodsOrders::orderSaveCarriesLines()
{
    QFETCH(QString, order);
    QFETCH(QStringList, typed);
    QFETCH(int, chosen);
    QFETCH(QString, expected);
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S(lineSeed));
    QStringList keys;
    for (int i = 0; i < chosen; ++i) {
        t.exec(S("insert into 普通货物运输单明细 (运输单号, 上游客户, 货物名称) values ('N1', '丁', 'g')"));
        keys << t.scalar(S("select max(rowid) from 普通货物运输单明细"));
    }
    db::Connection *c = t.dm()->ADO_system;
    db::Query row(c, S("order")), run(c, S("run"));
    row.reopenWith({S("select * from 普通货物运输单"), S("order by rowid")});
    if (order.isEmpty()) {
        row.append();
        row.field(S("起始地")).setAsString(S("黄石"));
        row.field(S("目的地")).setAsString(S("九江"));
    } else {
        QVERIFY(row.locate(S("运输单号"), order));
        row.edit();
    }
    const char *fields[] = {"运输单号", "上游客户", "发货日期", "到货日期"};
    for (int i = 0; i < typed.size(); ++i)
        if (!typed[i].isEmpty())
            row.field(S(fields[i])).setAsString(typed[i]);
    const QString read = goods::numberAsRead(row, S("运输单号"));
    QCOMPARE(read, order);
    goods::setRoute(row);
    const QString route = row.field(S("运输动态")).asString();
    db::Transaction tx(*c);
    row.post();
    goods::carryOrderToLines(run, row, read, keys.join(QLatin1Char(',')));
    tx.commit();
    QCOMPARE(rows(t, "普通货物运输单明细", "运输单号 || '/' || 上游客户 || '/' || ifnull(cast(发货日期 as text), '') || '/' || ifnull(cast(到货日期 as text), '')"),
             expected);
    QCOMPARE(route, order == S("O'2") ? S("武汉-上海") : order.isEmpty() ? S("黄石-九江") : S("武汉-长沙"));
}

void TstGoodsOrders::chooserAndLineEditor()
{
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S("insert into 货物信息 (客户名称, 货物名称, 类别, 型号规格, 计量单位) values "
             "('O''Neil', '50%棉纱', '纺织', '32S', '包'), ('O''Neil', '涤纶', '纺织', '150D', '包'), ('甲', '钢材', '', '', '吨')"));
    MessageScript ms;
    openOrders(t.dm());
    Editor e(t.dm());
    int chooserShown = 0;
    QString group, listed, searched;
    ModalDriver driver([&](QDialog *d) {
        if (auto *c = qobject_cast<TForm_xzfreight *>(d)) {
            ++chooserShown;
            group = c->findChild<QGroupBox *>()->title();
            listed = columnOf(Dm1->q_woodinfo, "货物名称");
            put(d, "Edit3", S("50%"));
            click(d, "bitbtn_seek");
            searched = columnOf(Dm1->q_woodinfo, "货物名称");
            ms.answer(QMessageBox::No);
            click(d, "SpeedButton2");                        // the question answered No: nothing stored
            doubleClickFirstRow(c->findChild<QAbstractItemView *>(S("DBGrideh1")));
            click(d, "SpeedButton2");                        // the same goods twice: two lines
            Dm1->q_freight_mxb->first();
            ms.answer(QMessageBox::No);
            click(d, "SpeedButton1");
        } else if (qobject_cast<TForm_freight_mxb_edit *>(d)) {
            QCOMPARE(focusName(d), S("DBNumberEditEh1"));
            QVERIFY(qobject_cast<QLineEdit *>(d->findChild<QWidget *>(S("DBEdit1")))->isReadOnly());
            put(d, "DBNumberEditEh1", S("2.5"));
            put(d, "DBNumberEditEh3", S("-30"));
            put(d, "DBEditEh4", S("ab"));
            QTest::keyClick(d->findChild<QWidget *>(S("DBEditEh4")), Qt::Key_Return);   // Enter in 备注 saves
            QVERIFY(d->isVisible());                                                     // and the editor stays
        }
    });
    click(&e.w, "bitbtn_add");
    // The chooser's checks, in order, before it opens.
    const auto choose = [&] {
        ms.clear();
        click(&e.w, "choose_freight");
        return ms.last() + S("|") + focusName(&e.w);
    };
    QCOMPARE(choose(), S("上游客户不能为空,请输入!|DBComboBoxEh2"));
    put(&e.w, "DBComboBoxEh2", S("O'Neil"));
    QCOMPARE(choose(), S("运输单号不能为空,请输入!|DBEdit6"));
    put(&e.w, "DBEdit6", S("A3"));
    QCOMPARE(choose(), S("发货日期不能为空,请输入!|DBDateTimeEditEh1"));
    put(&e.w, "DBDateTimeEditEh1", S("2024-3-8"));
    QCOMPARE(choose(), S("运输单号不能重复,请重新输入!|DBEdit6"));
    put(&e.w, "DBEdit6", S("N'9"));
    put(&e.w, "DBComboBoxEh2", S("丁"));
    QCOMPARE(choose(), S("该客户没有录入货物,请先增加！|DBComboBoxEh2"));
    QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    QCOMPARE(chooserShown, 0);
    put(&e.w, "DBComboBoxEh2", S("O'Neil"));
    put(&e.w, "DBDateTimeEditEh2", S("2024-3-10"));
    click(&e.w, "choose_freight");
    QCOMPARE(group, S("O'Neil"));
    QCOMPARE(listed, S("50%棉纱,涤纶"));
    QCOMPARE(searched, S("50%棉纱"));
    // Lines carry the order's values as typed, unsaved; kept until the order is.
    QCOMPARE(rows(t, "普通货物运输单明细", "运输单号 || 上游客户 || 货物名称 || 型号规格 || 计量单位 || 发货日期 || 到货日期 || 操作员"),
             S("N'9O'Neil50%棉纱32S包2024-03-08 00:00:002024-03-10 00:00:00王五,"
               "N'9O'Neil50%棉纱32S包2024-03-08 00:00:002024-03-10 00:00:00王五"));
    QCOMPARE(columnOf(t.dm()->q_freight_mxb, "货物名称"), S("50%棉纱,50%棉纱"));

    // The line editor: quantity, amount and remarks of the current line; no checks.
    click(&e.w, "SpeedButton6");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(t.scalar(S("select 数量 || '|' || 应收运费 || '|' || 备注 from 普通货物运输单明细 where 备注 is not null")),
             S("2.5|-300000|AB"));
    QCOMPARE(e.w.attachedGrid()->footerText(4), S("2.5"));
    // 删除当前货物 asks with No as the default.
    ms.answer(QMessageBox::No);
    click(&e.w, "SpeedButton5");
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    click(&e.w, "SpeedButton5");
    QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单明细")), S("1"));
    click(&e.w, "SpeedButton5");
    click(&e.w, "SpeedButton5");   // no line left: nothing asked
    QCOMPARE(ms.texts().count(S("确实要删除当前记录?")), 3);
    click(&e.w, "bitbtn_cancel");

    // The read-only order display of one order with its lines.
    t.exec(S(lineSeed));
    t.dm()->q_freight_ysd->first();
    t.dm()->q_freight_mxb->reopenWith(goods::orderLines(S("A1"), true));
    TForm_freight_ysd_list show(nullptr);
    show.show();
    QCOMPARE(textOf(&show, "DBEdit6") + textOf(&show, "DBEdit1"), S("A1武汉"));
    QVERIFY(qobject_cast<QLineEdit *>(show.findChild<QWidget *>(S("DBEdit6")))->isReadOnly());
    QCOMPARE(show.attachedGrid()->footerText(5), S("350.00"));
}

void TstGoodsOrders::searchDialog()
{
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S("insert into 普通货物运输单 (上游客户, 运输单号, 发货日期, 运输动态) values "
             "('O''Brien', 'B1', '2024-03-05 00:00:00', '武汉-上海'), ('O''Brien', 'B2', '2024-03-05 23:59:59', '武汉-上海'), "
             "('O''Brien', 'B3', '2024-03-06 00:00:00', '武汉-上海')"));
    t.exec(S("insert into 上游客户 (客户名称) values ('O''Brien'), ('甲')"));
    MessageScript ms;
    openOrders(t.dm());
    TForm_freight_ysd list(nullptr);
    list.show();
    QStringList sql;
    ModalDriver driver([&](QDialog *d) {
        QCOMPARE(itemsOf(d, "DBComboBoxEh4"), QStringList({S("O'Brien"), S("甲")}));
        put(d, "DBDateTimeEditEh2", S("2024-3-5"));
        click(d, "bitbtn_seek");                          // the to-date alone
        put(d, "DBDateTimeEditEh1", S("2024-3-6"));
        click(d, "bitbtn_seek");                          // from after to
        put(d, "DBDateTimeEditEh1", S("2024-3-5"));
        put(d, "DBComboBoxEh4", S("O'Brien"));
        put(d, "Edit4", S("武汉-上海"));
        put(d, "DBComboBoxEh3", S("是"));
        ms.answer(QMessageBox::Yes);                       // nothing found: search again
        click(d, "bitbtn_seek");
        sql << Dm1->q_freight_ysd->sql();
        put(d, "DBComboBoxEh3", QString());
        // Enter: from-date -> to-date -> 运输动态 ...; 备注 runs the search.
        QTest::keyClick(d->findChild<QWidget *>(S("DBDateTimeEditEh1")), Qt::Key_Return);
        QCOMPARE(focusName(d), S("DBDateTimeEditEh2"));
        QTest::keyClick(d->findChild<QWidget *>(S("DBDateTimeEditEh2")), Qt::Key_Return);
        QCOMPARE(focusName(d), S("Edit4"));
        QTest::keyClick(d->findChild<QWidget *>(S("Edit2")), Qt::Key_Return);
    });
    click(&list, "bitbtn_seek");
    QCOMPARE(ms.texts(), QStringList({S("必须输入完整的发车日期,请重新输入!"), S("发车日期从不能大于发车日期到,请重新输入!"),
                                      S("没有找到合适的记录,是否重新查找!!")}));
    QCOMPARE(sql.value(1), S(" where (上游客户 like '%O''Brien%')and(运输动态 like  '%武汉-上海%')and(发货日期 between "
                            "cvdate('2024-3-5 0:0:0') and cvdate('2024-3-5 23:59:59'))and(执行完结 = '是')"));
    QCOMPARE(sql.value(2), S("order by 发货日期"));
    QCOMPARE(columnOf(t.dm()->q_freight_ysd, "运输单号"), S("B1,B2"));   // the whole day, shown in the list
    // Nothing typed: the condition is missing.
    ms.clear();
    driver.setAct([&](QDialog *d) {
        click(d, "bitbtn_seek");
        QCOMPARE(focusName(d), S("DBComboBoxEh4"));
        click(d, "bitbtn_close");
    });
    click(&list, "bitbtn_seek");
    QCOMPARE(ms.texts(), QStringList{S("查询条件没有输入,请确认!")});
}

void TstGoodsOrders::stageWindows_data()
{
    QTest::addColumn<bool>("collection");
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");
    const QString ok = S("保存完毕！");
    QTest::newRow("receipt: empty") << false << "" << "" << S("回单返回为是或否,请重新输入!");
    QTest::newRow("receipt: before arrival") << false << S("是") << "2024-3-2" << S("回单返回时间不能小于到货日期,请重新输入!");
    QTest::newRow("receipt: on arrival") << false << S("是") << "2024-3-3" << ok;
    QTest::newRow("collection: other text") << true << S("否 ") << "" << S("帐款结清为是或否,请重新输入!");
    QTest::newRow("collection: before arrival") << true << S("是") << "2024-3-1" << S("收款日期不能小于到到货日期,请重新输入!");
    QTest::newRow("collection: more than owed") << true << S("是") << "2024-3-9" << ok;
}

void TstGoodsOrders::stageWindows()
{
    QFETCH(bool, collection);
    QFETCH(QString, flag);
    QFETCH(QString, date);
    QFETCH(QString, message);
    TestDb t;
    t.exec(S(orderSeed));
    MessageScript ms;
    openOrders(t.dm(), collection ? "where 帐款结清='否'" : "where 回单返回='否'");
    std::unique_ptr<data::RecordListWindow> w;
    if (collection)
        w = std::make_unique<TForm_freight_ysd_sk>(nullptr);
    else
        w = std::make_unique<TForm_freight_ysd_fh>(nullptr);
    w->show();
    QVERIFY(!w->editorFor(S("上游客户"))->isEnabled() || qobject_cast<QLineEdit *>(w->editorFor(S("上游客户")))->isReadOnly());
    // A double click on the grid is 编辑.
    doubleClickFirstRow(w->grid());
    QVERIFY(w->editing());
    QCOMPARE(focusName(w.get()), S("DBComboBoxEh4"));
    if (collection)
        put(w.get(), "DBNumberEditEh1", S("9999"));
    put(w.get(), "DBComboBoxEh4", flag);
    put(w.get(), "DBDateTimeEditEh2", date);
    click(w.get(), "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(w->editing(), message != S("保存完毕！"));
    const char *col = collection ? "帐款结清" : "回单返回";
    QCOMPARE(rows(t, "普通货物运输单", col).section(QLatin1Char(','), 0, 0), w->editing() ? S("否") : flag);
    QCOMPARE(w->query()->recordCount(), 3);   // stays listed until the list is loaded again
}

void TstGoodsOrders::allReturnedAndQuickSearch()
{
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S("update 普通货物运输单 set 驾驶员='张师傅' where 运输单号='A1'"));
    MessageScript ms;
    openOrders(t.dm(), "where 回单返回='否'");
    TForm_freight_ysd_fh w(nullptr);
    w.show();
    ms.answer(QMessageBox::No);
    click(&w, "SpeedButton6");
    QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
    QCOMPARE(t.scalar(S("select count(*) from 普通货物运输单 where 回单返回='是'")), S("0"));
    click(&w, "SpeedButton6");
    QCOMPARE(rows(t, "普通货物运输单", "运输单号 || 回单返回 || ifnull(cast(回单返回时间 as text), '') || ifnull(交单人, '')"),
             S("A1是2024-03-03 00:00:00张师傅,O'2是,A3是"));
    // The quick search lists matches whatever their receipt state, a quote included.
    put(&w, "DBComboBoxEh3", S("乙"));
    put(&w, "Edit1", S("O'"));
    click(&w, "SpeedButton2");
    QCOMPARE(columnOf(w.query(), "运输单号"), S("O'2"));
    QCOMPARE(w.query()->sql().value(1), S(" where (上游客户 like '%乙%')and(运输单号 like '%O''%')"));
    put(&w, "Edit1", S("X"));
    click(&w, "SpeedButton2");
    QCOMPARE(ms.last(), S("没有找到合适的记录！"));
}

void TstGoodsOrders::menuOpensListAndEditor()
{
    TestDb t;
    t.exec(S(orderSeed));
    t.exec(S(lineSeed));
    t.exec(S("insert into 上游客户 (客户名称) values ('甲'), ('丙')"));
    MessageScript ms;
    TForm_main main;
    QString seen;
    ModalDriver driver([&](QDialog *d) {
        if (qobject_cast<TForm_freight_ysd *>(d)) {
            QCOMPARE(d->findChild<QAbstractButton *>(S("bitbtn_add")), nullptr);   // orders are added in the editor
            click(d, "bitbtn_edit");
        } else if (qobject_cast<TForm_freight_ysd_edit *>(d)) {
            seen = itemsOf(d, "DBComboBoxEh2").join(QLatin1Char(',')) + S("|") + columnOf(Dm1->q_freight_mxb, "货物名称");
        }
    });
    main.menuAction(S("N53"))->trigger();
    QCOMPARE(driver.shown, QStringList({S("TForm_freight_ysd"), S("TForm_freight_ysd_edit")}));
    QCOMPARE(seen, S("丙,甲|钢材,铁丝"));
    QVERIFY(!t.dm()->q_freight_ysd->isActive() && !t.dm()->q_freight_mxb->isActive());
    for (const char *item : {"N19", "N43"})
        main.menuAction(S(item))->trigger();
    QCOMPARE(driver.shown.mid(2), QStringList({S("TForm_freight_ysd_fh"), S("TForm_freight_ysd_sk")}));
}

QTEST_MAIN(TstGoodsOrders)
#include "tst_goods_orders.moc"
