// Customers, consignees, carriers, routes and goods, each opened through its menu item:
// save checks in order, the duplicate rule, in-use refusal, searches, Enter
// rings, the memo window and the list services.
#include "app/main.h"
#include "db/text.h"
#include "data/memowindow.h"
#include "data/recordlist.h"
#include "data/session.h"
#include "grid/dbgrideh.h"
#include "grid/export.h"
#include "grid/print.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using data::RecordListWindow;

namespace {


// Opens the window of a menu item as the operator 张三 and runs act on it
// while it is shown; 返回 closes it afterwards.
void viaMenu(const QString &item, const std::function<void(RecordListWindow *)> &act)
{
    TForm_main main;
    velorin::operator_name = S("张三");
    velorin::startup_done = true;
    ModalDriver driver([&](QDialog *d) {
        auto *w = qobject_cast<RecordListWindow *>(d);
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        act(w);
        if (w->isVisible())
            w->findChild<QPushButton *>(S("SpeedButton4"))->click();
    });
    main.menuAction(item)->trigger();
    QCOMPARE(driver.shown.size(), 1);
}

void click(QWidget *w, const QString &name)
{
    auto *b = w->findChild<QAbstractButton *>(name);
    QVERIFY2(b && b->isEnabled(), qPrintable(name));
    b->click();
}

// Types into an edit, drop-down or number box, replacing what it shows.
void put(QWidget *w, const QString &name, const QString &text)
{
    QWidget *e = w->findChild<QWidget *>(name);
    QVERIFY2(e, qPrintable(name));
    if (auto *c = qobject_cast<QComboBox *>(e))
        e = c->lineEdit();
    auto *l = qobject_cast<QLineEdit *>(e);
    QVERIFY2(l, qPrintable(name));
    l->setFocus();
    l->selectAll();
    if (text.isEmpty())
        QTest::keyClick(l, Qt::Key_Backspace);
    else
        typeText(l, text);
}

QString focusName(QWidget *w)
{
    QWidget *f = w->focusWidget();
    if (f && qobject_cast<QComboBox *>(f->parentWidget()))
        f = f->parentWidget();
    return f ? f->objectName() : QString();
}

// Rows of the five tables; the search tests rely on the codes and owners.
void seed(const TestDb &t)
{
    t.exec(S("insert into 上游客户 (客户名称) values ('甲'), ('乙'), ('O''Brien')"));
    t.exec(S("insert into 收货单位 (单位名称, 上游客户) values ('汉口仓库', '甲'), ('青山码头', '甲'), ('十堰仓库', '乙')"));
    t.exec(S("insert into 下游运输商 (单位名称, 单位代码) values ('顺达运输', '2'), ('长江车队', '1'), ('长江物流', '3')"));
    t.exec(S("insert into 公路里程 (起点, 终点, 运输动态, 公路里程) values "
             "('武汉', '杨泗港', '武汉-杨泗港', 20), ('武汉', '汉口', '武汉-汉口', 15)"));
    t.exec(S("insert into 货物信息 (客户名称, 货物名称, 所属单位) values "
             "('甲', '钢材', 'b'), ('甲', '木材', 'a'), ('乙', '木材', 'c'), ('O''Brien', '水泥', 'a')"));
}

// The columns that tell the rows of a window apart.
QString keyOf(const QString &item)
{
    static const QHash<QString, QString> keys = {{S("N12"), S("客户名称")}, {S("N33"), S("单位名称")}, {S("N13"), S("单位名称")},
                                                 {S("N14"), S("运输动态")}, {S("N11"), S("客户名称/货物名称")}};
    return keys.value(item);
}

} // namespace

class TstMasterData : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_ime.clear(); }
    void saveChecks_data();
    void saveChecks();
    void inUseRowsAreNotDeleted_data();
    void inUseRowsAreNotDeleted();
    void searches_data();
    void searches();
    void enterRings_data();
    void enterRings();
    void memoWindowOnlyWhileWritable_data();
    void memoWindowOnlyWhileWritable();
    void listServices_data();
    void listServices();
    void routeNameAndWholeMileage();
    void goodsCustomerListsFilledByOpener();
    void renamedCustomerLeavesCopiesAlone();
};

void TstMasterData::saveChecks_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("editRow");     // "column=value" to edit; empty: 增加
    QTest::addColumn<QStringList>("inputs");  // "objectName=text"
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const auto row = [&](const char *name, const char *item, const char *table, const char *edit,
                         std::initializer_list<const char *> inputs, const char *message, const char *focus = "") {
        QStringList in;
        for (const char *i : inputs)
            in << S(i);
        QTest::newRow(name) << S(item) << S(table) << S(edit) << in << S(message) << S(focus);
    };
    const char *custEmpty = "客户名称不能为空,请重新输入!", *custDup = "客户名称重复,请重新输入!";
    row("customer of blanks only", "N12", "上游客户", "", {"DBEdit2=   "}, custEmpty, "DBEdit2");
    row("customer with an apostrophe, twice", "N12", "上游客户", "", {"DBEdit2=O'Brien"}, custDup, "DBEdit2");
    row("customer with blanks around is a new name", "N12", "上游客户", "", {"DBEdit2= 甲 "}, "保存完毕！");
    row("new customer with an apostrophe", "N12", "上游客户", "", {"DBEdit2=D'Arcy", "DBComboBoxEh1=钢铁"}, "保存完毕！");
    row("customer edited, name unchanged", "N12", "上游客户", "客户名称=甲", {"DBEdit6=武汉市"}, "保存完毕！");
    row("customer renamed onto another", "N12", "上游客户", "客户名称=甲", {"DBEdit2=乙"}, custDup, "DBEdit2");
    row("carrier without name", "N13", "下游运输商", "", {"DBComboBoxEh2=A"}, "单位名称不能为空,请重新输入!", "DBEdit2");
    row("carrier twice", "N13", "下游运输商", "", {"DBEdit2=顺达运输"}, "单位名称重复,请重新输入!", "DBEdit2");
    row("carrier renamed onto another", "N13", "下游运输商", "单位名称=长江车队", {"DBEdit2=顺达运输"},
        "单位名称重复,请重新输入!", "DBEdit2");
    row("carrier renamed", "N13", "下游运输商", "单位名称=长江车队", {"DBEdit2=长江快运"}, "保存完毕！");
    row("route without ends: origin first", "N14", "公路里程", "", {}, "起点不能为空,请重新输入!", "DBComboBoxEh3");
    row("route without destination", "N14", "公路里程", "", {"DBComboBoxEh3=武汉"}, "终点不能为空,请重新输入!",
        "DBComboBoxEh1");
    row("route to itself", "N14", "公路里程", "", {"DBComboBoxEh3=杨泗港", "DBComboBoxEh1=杨泗港"},
        "起点不能等于终点,请重新输入!", "DBComboBoxEh1");
    row("route twice", "N14", "公路里程", "", {"DBComboBoxEh3=武汉", "DBComboBoxEh1=汉口"}, "运输动态重复,请重新输入!",
        "DBComboBoxEh3");
    row("route edited onto another's destination", "N14", "公路里程", "运输动态=武汉-汉口", {"DBComboBoxEh1=杨泗港"},
        "运输动态重复,请重新输入!", "DBComboBoxEh3");
    row("route reversed is new", "N14", "公路里程", "", {"DBComboBoxEh3=杨泗港", "DBComboBoxEh1=武汉"}, "保存完毕！");
    row("route edited, ends kept", "N14", "公路里程", "运输动态=武汉-汉口", {"DBNumberEditEh1=16"}, "保存完毕！");
    row("goods without anything: customer first", "N11", "货物信息", "", {}, "客户名称不能为空,请重新输入!", "DBComboBoxEh2");
    row("goods without name", "N11", "货物信息", "", {"DBComboBoxEh2=乙"}, "货物名称不能为空,请重新输入!", "DBEdit2");
    row("goods name another customer has", "N11", "货物信息", "", {"DBEdit2=钢材", "DBComboBoxEh2=乙"}, "保存完毕！");
    row("goods twice for one customer", "N11", "货物信息", "", {"DBEdit2=钢材", "DBComboBoxEh2=甲"},
        "货物名称重复,请重新输入!", "DBEdit2");
    row("goods moved to a customer who has them", "N11", "货物信息", "客户名称=乙", {"DBComboBoxEh2=甲"},
        "货物名称重复,请重新输入!", "DBEdit2");
}

void TstMasterData::saveChecks()
{
    QFETCH(QString, item);
    QFETCH(QString, table);
    QFETCH(QString, editRow);
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    seed(t);
    const QString rowsBefore = t.scalar(S("select count(*) from ") + table);
    MessageScript ms;
    viaMenu(item, [&](RecordListWindow *w) {
        if (editRow.isEmpty()) {
            click(w, S("bitbtn_add"));
        } else {
            QVERIFY(w->query()->locate(editRow.section('=', 0, 0), editRow.section('=', 1)));
            click(w, S("bitbtn_edit"));
        }
        for (const QString &in : inputs)
            put(w, in.section('=', 0, 0), in.section('=', 1));
        click(w, S("bitbtn_save"));
        QCOMPARE(ms.texts(), QStringList{message});
        const msg::Request &r = ms.seen().last();
        QCOMPARE(r.caption, S("提示"));
        if (message == S("保存完毕！")) {
            QVERIFY(!w->editing());
            QCOMPARE(r.icon, msg::Icon::Exclamation);
            // The saved row carries the stamp.
            QCOMPARE(t.scalar(S("select count(*) from ") + table + S(" where 操作员='张三' and 操作日期 is not null")), S("1"));
            QCOMPARE(t.scalar(S("select count(*) from ") + table).toInt(),
                     rowsBefore.toInt() + (editRow.isEmpty() ? 1 : 0));
        } else {
            QVERIFY(w->editing());
            QCOMPARE(r.icon, message.contains(S("重复")) ? msg::Icon::Information : msg::Icon::Exclamation);
            QCOMPARE(focusName(w), focus);
            QCOMPARE(t.scalar(S("select count(*) from ") + table + S(" where 操作员 is not null")), S("0"));
            QVERIFY(!Dm1->q_search->isActive());
        }
    });
    // The typed name is stored as typed, blanks and apostrophes included.
    if (QTest::currentDataTag() == QLatin1String("customer with blanks around is a new name"))
        QCOMPARE(t.scalar(S("select count(*) from 上游客户 where 客户名称=' 甲 '")), S("1"));
    if (QTest::currentDataTag() == QLatin1String("new customer with an apostrophe"))
        QCOMPARE(t.scalar(S("select 行业 from 上游客户 where 客户名称='D''Arcy'")), S("钢铁"));
}

void TstMasterData::inUseRowsAreNotDeleted_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");
    QTest::newRow("customers") << "N12" << "上游客户" << "客户名称" << "该客户已经有记录,不能删除!";
    QTest::newRow("carriers") << "N13" << "下游运输商" << "单位名称" << "该单位已经有记录,不能删除!";
    QTest::newRow("routes") << "N14" << "公路里程" << "运输动态" << "该客户已经有记录,不能删除!";
    QTest::newRow("goods") << "N11" << "货物信息" << "货物名称" << "该客户已经有记录,不能删除!";
}

void TstMasterData::inUseRowsAreNotDeleted()
{
    QFETCH(QString, item);
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QString, message);
    TestDb t;
    t.exec(QStringLiteral("insert into %1 (%2, 开始使用) values ('在用', '是'), ('未用', '否'), ('空', null)").arg(table, key));
    MessageScript ms;
    const auto count = [&] { return t.scalar(S("select group_concat(") + key + S(", ' ') from (select * from ") + table +
                                             S(" order by ") + key + S(")")); };
    viaMenu(item, [&](RecordListWindow *w) {
        QVERIFY(w->query()->locate(key, S("在用")));
        click(w, S("bitbtn_delete"));
        QCOMPARE(ms.texts(), QStringList{message});   // refused before any question
        QCOMPARE(ms.seen().last().icon, msg::Icon::Exclamation);
        QVERIFY(w->query()->locate(key, S("未用")));
        ms.answer(QMessageBox::No);
        click(w, S("bitbtn_delete"));
        QCOMPARE(ms.last(), S("要删除当前记录吗? "));
        QCOMPARE(count(), S("空 未用 在用"));   // kong, wei, zai
        ms.answer(QMessageBox::Yes);
        click(w, S("bitbtn_delete"));
        QVERIFY(w->query()->locate(key, S("空")));
        ms.answer(QMessageBox::Yes);
        click(w, S("bitbtn_delete"));
        QCOMPARE(count(), S("在用"));
        QCOMPARE(w->query()->recordCount(), 1);
    });
}

void TstMasterData::searches_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("enterIn");      // press Enter there instead of clicking 查找
    QTest::addColumn<QString>("shown");        // key columns of the rows, in order
    QTest::addColumn<QStringList>("sql");      // empty: not compared
    const auto L = [](std::initializer_list<const char *> l) {
        QStringList r;
        for (const char *s : l)
            r << S(s);
        return r;
    };
    QTest::newRow("customers containing, apostrophe") << "N12" << L({"Edit3=O'B"}) << "" << "O'Brien"
        << L({"select * from 上游客户 ", " where (客户名称 like '%O''B%')", "order by 客户名称"});
    QTest::newRow("customers: blank box lists all by name, Enter searches") << "N12" << L({"Edit3=  "}) << "Edit3"
        << "O'Brien 甲 乙" << L({"select * from 上游客户 ", "order by 客户名称"});
    QTest::newRow("customers: none found") << "N12" << L({"Edit3=无此客户"}) << "" << "" << QStringList();
    // Enter in either box of the consignee strip searches at once.
    QTest::newRow("consignees of a customer, Enter in the customer box") << "N33" << L({"DBComboBoxEh3=甲"})
        << "DBComboBoxEh3" << "汉口仓库 青山码头"
        << L({"select * from 收货单位 ", " where (上游客户 like '%甲%')", "order by 单位名称"});
    QTest::newRow("consignees by both, Enter in the name box") << "N33" << L({"DBComboBoxEh3=甲", "Edit3=仓"}) << "Edit3"
        << "汉口仓库" << L({"select * from 收货单位 ", " where (上游客户 like '%甲%')and(单位名称 like '%仓%')", "order by 单位名称"});
    QTest::newRow("consignees: both blank list all by name") << "N33" << QStringList() << "" << "汉口仓库 青山码头 十堰仓库"
        << L({"select * from 收货单位 ", "order by 单位名称"});
    QTest::newRow("carriers ordered by code, not name") << "N13" << L({"Edit3=长江"}) << "Edit3" << "长江车队 长江物流"
        << L({"select * from 下游运输商 ", " where (单位名称 like '%长江%')", "order by 单位代码"});
    QTest::newRow("routes containing") << "N14" << L({"Edit3=杨泗"}) << "" << "武汉-杨泗港"
        << L({"select * from 公路里程 ", " where (运输动态 like '%杨泗%')", "order by 运输动态"});
    QTest::newRow("routes: Enter does not search") << "N14" << L({"Edit3=杨泗"}) << "Edit3" << "武汉-汉口 武汉-杨泗港"
        << L({"select * from 公路里程", "order by 运输动态"});
    QTest::newRow("goods of a customer, by owner then name") << "N11" << L({"DBComboBoxEh3=甲"}) << "DBComboBoxEh3"
        << "甲/木材 甲/钢材" << L({"select * from 货物信息 ", " where (客户名称 like '%甲%')", "order by 所属单位,货物名称"});
    QTest::newRow("goods by both") << "N11" << L({"DBComboBoxEh3=甲", "Edit3=木"}) << "DBComboBoxEh3" << "甲/木材"
        << L({"select * from 货物信息 ", " where (客户名称 like '%甲%')and(货物名称 like '%木%')", "order by 所属单位,货物名称"});
    QTest::newRow("goods by name") << "N11" << L({"Edit3=木"}) << "Edit3" << "甲/木材 乙/木材" << QStringList();
}

void TstMasterData::searches()
{
    QFETCH(QString, item);
    QFETCH(QStringList, inputs);
    QFETCH(QString, enterIn);
    QFETCH(QString, shown);
    QFETCH(QStringList, sql);
    TestDb t;
    seed(t);
    MessageScript ms;
    viaMenu(item, [&](RecordListWindow *w) {
        for (const QString &in : inputs)
            put(w, in.section('=', 0, 0), in.section('=', 1));
        if (enterIn.isEmpty()) {
            click(w, S("SpeedButton2"));
        } else {
            QWidget *e = w->findChild<QWidget *>(enterIn);
            if (auto *c = qobject_cast<QComboBox *>(e))
                e = c->lineEdit();
            QTest::keyClick(e, Qt::Key_Return);
        }
        db::Query *q = w->query();
        const QStringList key = keyOf(item).split('/');
        QStringList rows;
        for (q->first(); !q->eof(); q->next()) {
            QStringList parts;
            for (const QString &k : key)
                parts << q->field(k).asString();
            rows << parts.join('/');
        }
        QCOMPARE(rows.join(' '), shown);
        if (shown.isEmpty()) {
            QCOMPARE(ms.texts(), QStringList{S("没有找到合适的记录！")});
            QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
            QCOMPARE(q->recordCount(), 0);
        } else {
            QVERIFY(ms.seen().isEmpty());
        }
        if (!sql.isEmpty())
            QCOMPARE(q->sql(), sql);
    });
}

void TstMasterData::enterRings_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("ring");
    const auto L = [](const char *names) { return S(names).split(' '); };
    QTest::newRow("customers") << "N12"
        << L("DBEdit2 DBComboBoxEh1 DBComboBoxEh2 DBComboBoxEh3 DBEdit6 DBEdit7 DBEdit8 DBEdit1 DBEdit3 DBEdit5 DBMemo1");
    QTest::newRow("consignees") << "N33" << L("DBEdit2 DBComboBoxEh1 DBEdit7 DBComboBoxEh2 DBEdit6 DBEdit8 DBMemo1");
    QTest::newRow("carriers") << "N13"
        << L("DBEdit2 DBComboBoxEh2 DBComboBoxEh3 DBEdit6 DBEdit7 DBEdit5 DBEdit8 DBMemo1 DBEdit1 DBEdit3");
    QTest::newRow("routes") << "N14" << L("DBComboBoxEh3 DBComboBoxEh1 DBNumberEditEh1 DBMemo2 DBMemo1");
    QTest::newRow("goods") << "N11" << L("DBEdit2 DBComboBoxEh1 DBEdit1 DBComboBoxEh2 DBEdit7 DBMemo1");
}

void TstMasterData::enterRings()
{
    QFETCH(QString, item);
    QFETCH(QStringList, ring);
    TestDb t;
    seed(t);
    MessageScript ms;
    viaMenu(item, [&](RecordListWindow *w) {
        // Browsing: Enter is left to the control (drop-downs are disabled then).
        for (const QString &name : ring) {
            QWidget *e = w->findChild<QWidget *>(name);
            if (!e->isEnabled())
                continue;
            e->setFocus();
            QTest::keyClick(e, Qt::Key_Return);
            QCOMPARE(focusName(w), name);
            break;
        }
        click(w, S("bitbtn_add"));
        QCOMPARE(focusName(w), ring.first());
        click(w, S("bitbtn_cancel"));
        click(w, S("bitbtn_edit"));
        QCOMPARE(focusName(w), ring.first());
        for (int i = 1; i <= ring.size(); ++i) {
            QTest::keyClick(w->focusWidget(), Qt::Key_Return);
            QCOMPARE(focusName(w), ring[i % ring.size()]);
        }
        // Swallowed: no line break in the memo, nothing changed in the row.
        QVERIFY(!w->query()->isModified());
        QVERIFY(ms.seen().isEmpty());
    });
}

void TstMasterData::memoWindowOnlyWhileWritable_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("table");
    QTest::newRow("customers") << "N12" << "DBMemo1" << "上游客户";
    QTest::newRow("consignees") << "N33" << "DBMemo1" << "收货单位";
    QTest::newRow("carriers") << "N13" << "DBMemo1" << "下游运输商";
    QTest::newRow("routes, remarks") << "N14" << "DBMemo1" << "公路里程";
    QTest::newRow("routes, description opens the remarks") << "N14" << "DBMemo2" << "公路里程";
    QTest::newRow("goods") << "N11" << "DBMemo1" << "货物信息";
}

void TstMasterData::memoWindowOnlyWhileWritable()
{
    QFETCH(QString, item);
    QFETCH(QString, memo);
    QFETCH(QString, table);
    TestDb t;
    seed(t);
    MessageScript ms;
    viaMenu(item, [&](RecordListWindow *w) {
        auto *editor = w->findChild<QPlainTextEdit *>(memo);
        int opened = 0;
        const auto doubleClick = [&](const QString &typed) {
            // Runs inside the memo window's own loop, or finds none.
            QTimer::singleShot(0, w, [&opened, typed] {
                for (QWidget *top : QApplication::topLevelWidgets())
                    if (auto *bz = qobject_cast<TForm_bz *>(top); bz && bz->isVisible()) {
                        ++opened;
                        auto *ed = bz->findChild<QPlainTextEdit *>(S("DBMemo1"));
                        ed->selectAll();
                        typeText(ed, typed);
                        bz->findChild<QPushButton *>(S("bitbtn_close"))->click();
                    }
            });
            QTest::mouseDClick(editor->viewport(), Qt::LeftButton);
            QCoreApplication::processEvents();
        };
        doubleClick(S("不该写入"));
        QCOMPARE(opened, 0);
        click(w, S("bitbtn_edit"));
        doubleClick(S("长文本备注"));
        QCOMPARE(opened, 1);
        QCOMPARE(w->query()->field(S("备注")).asString(), S("长文本备注"));
        click(w, S("bitbtn_save"));
        QCOMPARE(ms.last(), S("保存完毕！"));
    });
    QCOMPARE(t.scalar(S("select count(*) from ") + table + S(" where 备注='长文本备注'")), S("1"));
    if (memo == QLatin1String("DBMemo2"))
        QCOMPARE(t.scalar(S("select count(*) from 公路里程 where 运行轨迹 is not null")), S("0"));
}

void TstMasterData::listServices_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("printTitle");
    QTest::addColumn<QString>("exportName");
    QTest::newRow("customers") << "N12" << "guestinfo" << "上游客户资料明细表打印清单" << "上游客户资料明细表";
    QTest::newRow("consignees") << "N33" << "deliveryinfo" << "收货单位资料明细表打印清单" << "收货单位资料明细表";
    QTest::newRow("carriers") << "N13" << "transportinfo" << "下游运输商资料明细表打印清单" << "下游运输商资料明细表";
    QTest::newRow("routes") << "N14" << "yslcinfo" << "运输动态明细表打印清单" << "运输动态明细表";
    QTest::newRow("goods") << "N11" << "woodinfo" << "运输货物资料明细表打印清单" << "运输货物资料明细表";
}

void TstMasterData::listServices()
{
    QFETCH(QString, item);
    QFETCH(QString, module);
    QFETCH(QString, printTitle);
    QFETCH(QString, exportName);
    TestDb t;
    seed(t);
    MessageScript ms;
    const QString pdf = t.dir() + S("/print.pdf");
    const QString ini = t.dir() + S("/") + module + S(".ini");
    QString proposed;
    const auto oldRunner = grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        dlg.printer()->setOutputFormat(QPrinter::PdfFormat);
        dlg.printer()->setOutputFileName(pdf);
        emit dlg.paintRequested(dlg.printer());
    });
    const auto oldHook = grid::setSaveDialogHook([&](QWidget *, const QString &name, const QStringList &, int) {
        proposed = name;
        return std::optional<grid::SaveChoice>();
    });
    int design = 0;
    viaMenu(item, [&](RecordListWindow *w) {
        // 选中 stays disabled and a double click on the grid does nothing.
        auto *choose = w->findChild<QAbstractButton *>(S("SpeedButton3"));
        QVERIFY(!choose->isEnabled());
        const QRect cell = w->grid()->visualRect(w->grid()->model()->index(0, 0));
        QTest::mouseDClick(w->grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!w->editing());
        click(w, S("bitbtn_edit"));
        QVERIFY(!choose->isEnabled());
        click(w, S("bitbtn_cancel"));
        click(w, S("bitbtn_print"));
        click(w, S("bitbtn_out"));
        design = w->grid()->columnWidth(0);
        w->grid()->setColumnWidth(0, design + 77);
    });
    grid::setPreviewRunner(oldRunner);
    grid::setSaveDialogHook(oldHook);
    QVERIFY(ms.seen().isEmpty());
    QCOMPARE(proposed, exportName);
    QProcess p;
    p.start(S("pdftotext"), {S("-layout"), pdf, S("-")});
    QVERIFY(p.waitForFinished(60000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(printTitle) && text.contains(S("第1页")) && text.contains(S("制表:张三 .")), qPrintable(text));

    // The layout is remembered until 初始界面 marks it for deletion.
    QVERIFY(QFile::exists(ini));
    viaMenu(item, [&](RecordListWindow *w) {
        QCOMPARE(w->grid()->columnWidth(0), design + 77);
        click(w, S("SpeedButton1"));
        QCOMPARE(ms.last(), S("界面初始化完毕！"));
    });
    QVERIFY(!QFile::exists(ini));
    viaMenu(item, [&](RecordListWindow *w) { QCOMPARE(w->grid()->columnWidth(0), design); });
}

void TstMasterData::routeNameAndWholeMileage()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    viaMenu(S("N14"), [&](RecordListWindow *w) {
        auto *route = w->findChild<QLineEdit *>(S("DBEdit1"));
        auto *km = w->findChild<QLineEdit *>(S("DBNumberEditEh1"));
        QVERIFY(!km->isEnabled());   // the distance box is usable only while editing
        click(w, S("bitbtn_add"));
        QVERIFY(km->isEnabled());
        QVERIFY(route->isReadOnly());
        put(w, S("DBComboBoxEh3"), S("杨泗港"));
        put(w, S("DBComboBoxEh1"), S("青山"));
        put(w, S("DBNumberEditEh1"), S("12.5"));
        QCOMPARE(w->findChild<QLineEdit *>(S("DBNumberEditEh1"))->text(), S("125"));   // whole kilometres
        click(w, S("bitbtn_save"));
        QCOMPARE(route->text(), S("杨泗港-青山"));
        QVERIFY(!km->isEnabled());
        click(w, S("SpeedButton2"));   // a search reopening the list keeps it disabled
        QVERIFY(!km->isEnabled());
        // A changed end renames the route.
        QVERIFY(w->query()->locate(S("运输动态"), S("武汉-汉口")));
        click(w, S("bitbtn_edit"));
        put(w, S("DBComboBoxEh1"), S("青山"));
        click(w, S("bitbtn_save"));
    });
    QCOMPARE(ms.texts(), QStringList({S("保存完毕！"), S("保存完毕！")}));
    // Stored as a number (the server's column holds nothing else).
    QCOMPARE(t.scalar(S("select 公路里程 || '/' || %1 from 公路里程 where 运输动态='杨泗港-青山'")
                          .arg(t.onServer() ? S("pg_typeof(公路里程)") : S("typeof(公路里程)"))), S("125/integer"));
    QCOMPARE(t.scalar(S("select 起点 || '>' || 终点 || '>' || 公路里程 from 公路里程 where 运输动态='武汉-青山'")), S("武汉>青山>15"));
}

void TstMasterData::goodsCustomerListsFilledByOpener()
{
    TestDb t;
    seed(t);
    t.exec(S("update 上游客户 set 停用=1 where 客户名称='乙'"));   // stopped customers are offered too
    MessageScript ms;
    viaMenu(S("N11"), [&](RecordListWindow *w) {
        for (const char *name : {"DBComboBoxEh2", "DBComboBoxEh3"}) {
            auto *c = w->findChild<QComboBox *>(S(name));
            QStringList items;
            for (int i = 0; i < c->count(); ++i)
                items << c->itemText(i);
            QCOMPARE(items, QStringList({S("O'Brien"), S("甲"), S("乙")}));   // Latin first, then pinyin
        }
        click(w, S("bitbtn_add"));
        put(w, S("DBEdit2"), S("水泥"));
        auto *customer = w->findChild<QComboBox *>(S("DBComboBoxEh2"));
        customer->setCurrentIndex(1);
        emit customer->activated(1);
        click(w, S("bitbtn_save"));
    });
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    QCOMPARE(t.scalar(S("select group_concat(客户名称, ' ') from (select 客户名称 from 货物信息 where 货物名称='水泥' order by 客户名称)")),
             S("O'Brien 甲"));
}

void TstMasterData::renamedCustomerLeavesCopiesAlone()
{
    TestDb t;
    seed(t);
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号) values ('甲', 'A1')"));
    MessageScript ms;
    viaMenu(S("N12"), [&](RecordListWindow *w) {
        QVERIFY(w->query()->locate(S("客户名称"), S("甲")));
        click(w, S("bitbtn_edit"));
        put(w, S("DBEdit2"), S("丙"));
        click(w, S("bitbtn_save"));
    });
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});
    QCOMPARE(t.scalar(S("select group_concat(客户名称, ' ') from 上游客户 where 客户名称 in ('甲', '丙')")), S("丙"));
    QCOMPARE(t.scalar(S("select 上游客户 from 集装箱运输单")), S("甲"));
    QCOMPARE(t.scalar(S("select count(*) from 收货单位 where 上游客户='甲'")), S("2"));
    QCOMPARE(t.scalar(S("select count(*) from 货物信息 where 客户名称='甲'")), S("2"));
}

QTEST_MAIN(TstMasterData)
#include "tst_masterdata.moc"
