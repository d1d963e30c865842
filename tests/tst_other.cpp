// Other business: the three vehicle logs (one family, three declarations)
// and the cash journal with its running balance.
#include "app/main.h"
#include "app/menutable.h"
#include "data/session.h"
#include "db/dates.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "grid/export.h"
#include "grid/print.h"
#include "other/vehiclelogs.h"
#include "other/xjrjz.h"
#include "other/xjrjz_cx.h"
#include "other/xjrjz_edit.h"
#include "spine_driver.h"
#include <QCheckBox>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QToolButton>

namespace {

bool enabled(QWidget *w, const char *name)
{
    auto *b = w->findChild<QWidget *>(S(name));
    return b && b->isEnabled();
}

void enter(QWidget *w)
{
    QWidget *f = w->focusWidget();
    QVERIFY(f);
    QTest::keyClick(f, Qt::Key_Return);
}

// The grid's columns as "field*" (sortable) plus the footer: its text, "#"
// for the count, "Σ" for the sum.
QString columnsOf(grid::DBGridEh *g)
{
    QStringList l;
    for (int i = 0; i < g->columnCount(); ++i) {
        const grid::Column &c = g->column(i);
        QString s = c.field + (c.title != c.field ? S("(") + c.title + S(")") : QString()) + (c.sortable ? S("*") : QString());
        switch (c.footer) {
        case grid::FooterKind::Text: s += c.footerText; break;
        case grid::FooterKind::Count: s += S("#"); break;
        case grid::FooterKind::Sum: s += S("Σ"); break;
        case grid::FooterKind::None: break;
        }
        l << s;
    }
    return l.join(QLatin1Char(','));
}

// What 打印 puts on paper, read back from a PDF; and the name 导出 proposes.
QString printedText(QWidget *list, const QString &dir)
{
    const QString pdf = dir + S("/print.pdf");
    grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        dlg.printer()->setOutputFormat(QPrinter::PdfFormat);
        dlg.printer()->setOutputFileName(pdf);
        emit dlg.paintRequested(dlg.printer());
    });
    click(list, "SpeedButton3");
    grid::setPreviewRunner(nullptr);
    QProcess p;
    p.start(S("pdftotext"), {pdf, S("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString proposedExportName(QWidget *list)
{
    QString proposed;
    grid::setSaveDialogHook([&](QWidget *, const QString &name, const QStringList &, int) {
        proposed = name;
        return std::optional<grid::SaveChoice>();
    });
    click(list, "SpeedButton2");
    grid::setSaveDialogHook(nullptr);
    return proposed;
}

QString journal(const TestDb &t)
{
    return t.scalar(S("select group_concat(printf('%.4f', 余额/10000.0), ' ') from "
                      "(select 余额 from 现金日记帐 where 日期>='2024-03-01' order by 日期, 编号)"));
}

} // namespace

class TstOther : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        velorin::operator_name = S("王五");
        velorin::accounting_date = QDateTime(QDate(2024, 3, 15), QTime(0, 0));
    }
    void logFamilies_data();
    void logFamilies();
    void odometerOnlyGoesUp();
    void journalSaveChecks_data();
    void journalSaveChecks();
    void runningBalance();
    void amountFollowsSummary_data();
    void amountFollowsSummary();
    void journalSearch_data();
    void journalSearch();
    void otherMonthsStayAsTheyAre();
};

void TstOther::logFamilies_data()
{
    QTest::addColumn<QString>("item");          // menu item
    QTest::addColumn<QStringList>("classes");   // list, editor, search
    QTest::addColumn<QStringList>("captions");  // list, editor, search
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("dateColumn");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("printAndExport");
    QTest::addColumn<QStringList>("ring");      // editors in Enter order; Enter in the last saves
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("storedExpr");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("dateMessages");
    QTest::addColumn<QStringList>("searchExtra");   // objectName and text of a criterion after the handler

    QTest::newRow("oil changes")
        << "N56" << QStringList{"TForm_hyjlb", "TForm_hyjlb_edit", "TForm_hyjlb_cx"}
        << QStringList{S("换油记录登记表"), S("换油记录登记表编辑 (hyjlb)"), S("换油查询")} << S("换油记录表") << S("换油时间")
        << S("车牌号*记录数,公里数*#,换油时间*,单价,数量Σ,金额*Σ,经办人*,换油地点*")
        << QStringList{S("换油记录登记表打印清单"), S("换油记录表")}
        << QStringList{"DBComboBoxEh1", "DBNumberEditEh1", "DBDateTimeEditEh1", "DBNumberEditEh2", "DBNumberEditEh3",
                       "DBEditEh2", "DBEditEh1", "DBEditEh4"}
        // A plate not in the register; 2.5 × 3.1.
        << QStringList{S("湘A·T0001"), "1500", "2024-3-9", "3.1", "2.5", S("汉阳服务站"), S("张三"), S("首保")}
        << S("车牌号||'|'||公里数||'|'||换油时间||'|'||printf('%.4f', 金额/10000.0)||'|'||换油地点||'|'||经办人||'|'||备注")
        << S("湘A·T0001|1500|2024-03-09 00:00:00|7.7500|汉阳服务站|张三|首保")
        << QStringList{S("换油时间输入错误,请重新输入!"), S("换油时间从大于换油时间到,请重新输入!")} << QStringList{};
    QTest::newRow("repairs")
        << "N57" << QStringList{"TForm_wxjlb", "TForm_wxjlb_edit", "TForm_wxjlb_cx"}
        << QStringList{S("车辆维修记录登记表"), S("车辆维修记录登记表编辑"), S("维修查询")} << S("车辆维修记录表") << S("维修时间")
        << S("车牌号*记录数,维修时间*#,修理厂,材料费*Σ,人工费*Σ,其它费用*Σ,总费用*Σ,经办人*")
        << QStringList{S("车辆维修记录登记表打印清单"), S("车辆维修记录表")}
        << QStringList{"DBComboBoxEh1", "DBDateTimeEditEh1", "DBEditEh3", "DBNumberEditEh1", "DBNumberEditEh2",
                       "DBNumberEditEh3", "DBEditEh2", "DBComboBoxEh2", "DBEditEh4"}
        // Only 人工费: the total is it.
        << QStringList{S("湘A·T0001"), "2024-3-9", S("换刹车片"), "", "120.5", "", S("汉阳汽修厂"), S("张三"), S("")}
        << S("车牌号||'|'||维修时间||'|'||维修内容||'|'||ifnull(材料费,'-')||'|'||printf('%.4f', 总费用/10000.0)||'|'||修理厂||'|'||经办人")
        << S("湘A·T0001|2024-03-09 00:00:00|换刹车片|-|120.5000|汉阳汽修厂|张三")
        << QStringList{S("维修时间输入错误,请重新输入!"), S("维修时间从大于维修时间到,请重新输入!")} << QStringList{};
    QTest::newRow("accidents")
        << "N58" << QStringList{"TForm_sgjlb", "TForm_sgjlb_edit", "TForm_sgjlb_cx"}
        << QStringList{S("事故记录登记表"), S("事故记录登记表编辑 (sgjlb)"), S("事故查询")} << S("事故登记表") << S("事故时间")
        << S("车牌号*记录数,客户姓名*#,驾驶员,事故时间*,事故地点,事故金额Σ,理赔金额*Σ,理赔时间*,经办人*")
        << QStringList{S("事故记录登记表打印清单"), S("事故记录表")}
        << QStringList{"DBComboBoxEh1", "DBEditEh1", "DBEditEh2", "DBComboBoxEh2", "DBNumberEditEh1", "DBNumberEditEh2",
                       "DBDateTimeEditEh2", "DBDateTimeEditEh1", "DBEditEh3", "DBEditEh5", "DBEditEh6", "DBEditEh4"}
        // The claim is entered with its date.
        << QStringList{S("湘A·T0001"), S("赵六"), S("武汉钢铁"), S("张三"), "8600", "8000.5", "2024-4-1", "2024-3-9",
                       S("咸宁段"), S("追尾"), S("保险定损"), S("")}
        << S("驾驶员||'|'||客户姓名||'|'||经办人||'|'||printf('%.4f|%.4f', 事故金额/10000.0, 理赔金额/10000.0)||'|'||理赔时间||'|'||事故时间||'|'||事故处理")
        << S("赵六|武汉钢铁|张三|8600.0000|8000.5000|2024-04-01 00:00:00|2024-03-09 00:00:00|保险定损")
        << QStringList{S("事故时间输入错误,请重新输入!"), S("事故时间从大于事故时间到,请重新输入!")}
        << QStringList{"Edit1", S("赵六")};
}

void TstOther::logFamilies()
{
    QFETCH(QString, item);
    QFETCH(QStringList, classes);
    QFETCH(QStringList, captions);
    QFETCH(QString, table);
    QFETCH(QString, dateColumn);
    QFETCH(QString, columns);
    QFETCH(QStringList, printAndExport);
    QFETCH(QStringList, ring);
    QFETCH(QStringList, typed);
    QFETCH(QString, storedExpr);
    QFETCH(QString, stored);
    QFETCH(QStringList, dateMessages);
    QFETCH(QStringList, searchExtra);
    TestDb t;
    t.exec(S("insert into 承运车辆 (车牌号, 驾驶员) values ('鄂B00002', '李'), ('鄂A12345', '赵六')"));
    const QString driver = table == S("事故登记表") ? S(", 驾驶员") : QString(), driverValue = driver.isEmpty() ? QString() : S(", '赵六'");
    t.exec(S("insert into %1 (车牌号, %2, 经办人%3) values ('鄂A12345', '2024-03-05 00:00:00', '李四'%4), "
             "('鄂B00002', '2024-03-06 00:00:00', '李四'%4)").arg(table, dateColumn, driver, driverValue));
    MessageScript ms;
    TForm_main main;
    db::Query *q = nullptr;
    ModalDriver driverHook([&](QDialog *d) {
        const QString cls = S(d->metaObject()->className());
        if (cls == classes[0]) {
            auto *list = static_cast<other::LogList *>(d);
            q = list->query();
            QCOMPARE(d->windowTitle(), captions[0]);
            QCOMPARE(columnsOf(list->grid()), columns);
            QCOMPARE(q->sql(), QStringList({S("select * from ") + table, S("order by ") + dateColumn}));
            const auto *fit = d->findChild<QCheckBox *>(S("CheckBox1"));
            QVERIFY(fit->isChecked() && list->grid()->autoFit());
            QCOMPARE(fit->text() + d->findChild<QCheckBox *>(S("cbDichromatic"))->text(), S("自动匹配列宽区分网格"));
            // Six columns always stay.
            for (int i = 0; i < 5; ++i)
                d->findChild<QToolButton *>(S("ToolButton2"))->click();
            QCOMPARE(list->grid()->visibleColumnCount(), 6);
            const QString printed = printedText(d, t.dir());
            QVERIFY2(printed.contains(printAndExport[0]) && printed.contains(S("第1页")), qPrintable(printed));
            QCOMPARE(proposedExportName(d), printAndExport[1]);
            click(d, "bitbtn_edit");
            // 删除 asks with No as default; Yes deletes the current row.
            q->first();
            ms.answer(QMessageBox::No);
            click(d, "SpeedButton1");
            QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
            QCOMPARE(q->recordCount(), 3);
            click(d, "SpeedButton1");
            QCOMPARE(t.scalar(S("select group_concat(车牌号) from ") + table), S("鄂B00002,湘A·T0001"));
            click(d, "SpeedButton5");
            QCOMPARE(columnOf(q, "车牌号"), S("鄂B00002"));
            click(d, "SpeedButton5");
            QCOMPARE(q->recordCount(), 0);
            click(d, "SpeedButton4");
        } else if (cls == classes[1]) {
            auto *e = static_cast<data::EditorWindow *>(d);
            QCOMPARE(d->windowTitle(), captions[1]);
            QCOMPARE(itemsOf(d, "DBComboBoxEh1"), QStringList({S("鄂A12345"), S("鄂B00002")}));
            // The plate is required; 取消 ends the entry.
            click(d, "bitbtn_add");
            QVERIFY(!enabled(d, "bitbtn_add") && !enabled(d, "bitbtn_close"));
            click(d, "bitbtn_save");
            QCOMPARE(ms.texts(), QStringList{S("车牌号不能为空,请重新输入!")});
            QVERIFY(e->adding() && !enabled(d, "bitbtn_add"));
            QCOMPARE(focusName(d), S("DBComboBoxEh1"));
            click(d, "bitbtn_cancel");
            QVERIFY(enabled(d, "bitbtn_add") && enabled(d, "bitbtn_close"));
            // Typed along the Enter ring; Enter in the last field saves, silently.
            click(d, "bitbtn_add");
            ms.clear();
            for (int i = 0; i < ring.size(); ++i) {
                QCOMPARE(focusName(d), ring[i]);
                put(d, ring[i].toLatin1().constData(), typed[i]);
                enter(d);
            }
            QCOMPARE(ms.texts(), QStringList{});
            QVERIFY(enabled(d, "bitbtn_add") && enabled(d, "bitbtn_close"));
            QCOMPARE(t.scalar(S("select %1 from %2 where 车牌号='湘A·T0001'").arg(storedExpr, table)), stored);
            QCOMPARE(t.scalar(S("select 操作员 || length(操作日期) from ") + table + S(" where 车牌号='湘A·T0001'")), S("王五19"));
            QCOMPARE(q->recordCount(), 3);
            click(d, "bitbtn_close");
        } else if (cls == classes[2]) {
            QCOMPARE(d->windowTitle(), captions[2]);
            auto *seek = d->findChild<QAbstractButton *>(S("bitbtn_seek"));
            QCOMPARE(seek->text(), S("查询 (&F)"));
            if (q->recordCount() == 1) {   // the second search: nothing found, an empty list, no question
                put(d, "DBComboBoxEh1", S("无此车"));
                ms.clear();
                seek->click();
                QCOMPARE(ms.texts(), QStringList{});
                QCOMPARE(d->result(), int(QDialog::Accepted));
                return;
            }
            QCOMPARE(itemsOf(d, "DBComboBoxEh1"), QStringList({S("鄂A12345"), S("鄂B00002")}));
            ms.clear();
            put(d, "DBDateTimeEditEh2", S("2024-3-6"));
            seek->click();
            put(d, "DBDateTimeEditEh1", S("2024-3-7"));
            seek->click();
            QCOMPARE(focusName(d), S("DBDateTimeEditEh1"));
            put(d, "DBDateTimeEditEh1", QString());
            put(d, "DBDateTimeEditEh2", QString());
            seek->click();
            QCOMPARE(ms.texts(), dateMessages + QStringList{S("没有输入查询条件,请重新输入!")});
            QCOMPARE(focusName(d), S("DBComboBoxEh1"));
            // Exact plate and handler, the whole day; Enter walks plate, from, to, handler (, driver) and searches.
            put(d, "DBComboBoxEh1", S("鄂B00002"));
            enter(d);
            QCOMPARE(focusName(d), S("DBDateTimeEditEh1"));
            put(d, "DBDateTimeEditEh1", S("2024-3-6"));
            enter(d);
            put(d, "DBDateTimeEditEh2", S("2024-3-6"));
            enter(d);
            QCOMPARE(focusName(d), S("DBComboBoxEh2"));
            put(d, "DBComboBoxEh2", S("李四"));
            if (!searchExtra.isEmpty()) {
                enter(d);
                QCOMPARE(focusName(d), searchExtra[0]);
                put(d, searchExtra[0].toLatin1().constData(), searchExtra[1]);
            }
            enter(d);
            QCOMPARE(d->result(), int(QDialog::Accepted));
            const QString extra = searchExtra.isEmpty() ? QString() : S("and(驾驶员 = '赵六')");
            QCOMPARE(q->sql(), QStringList({S("select * from "), table,
                                           S(" where (车牌号 = '鄂B00002')and(经办人 = '李四')") + extra
                                               + S("and(%1 between cdate('2024-3-6 0:0:0') and cdate('2024-3-6 23:59:59'))").arg(dateColumn),
                                           S("order by 车牌号")}));
        }
    });
    main.menuAction(item)->trigger();
    QCOMPARE(driverHook.shown, QStringList({classes[0], classes[1], classes[2], classes[2]}));
    QVERIFY(!t.dm()->query(S("q_") + classes[0].mid(6))->isActive());
    QVERIFY(!QFile::exists(classes[0].mid(6) + S(".ini")));   // the logs keep no layout
}

void TstOther::odometerOnlyGoesUp()
{
    TestDb t;
    t.exec(S("insert into 承运车辆 (车牌号, 公里数) values ('鄂A12345', 1000), ('鄂A00009', null)"));
    MessageScript ms;
    t.dm()->q_hyjlb->reopenWith({S("select * from 换油记录表"), S("order by 换油时间")});
    TForm_hyjlb_edit e(nullptr);
    e.show();
    const auto change = [&](const QString &plate, const QString &km) {
        click(&e, "bitbtn_add");
        put(&e, "DBComboBoxEh1", plate);
        put(&e, "DBNumberEditEh1", km);
        click(&e, "bitbtn_save");
    };
    const auto odometers = [&] { return t.scalar(S("select group_concat(ifnull(公里数, '-')) from 承运车辆")); };
    change(S("鄂A12345"), S("1500"));
    QCOMPARE(odometers(), S("1500,-"));
    change(S("鄂A12345"), S("1200"));   // an older reading typed late
    change(S("鄂A12345"), QString());
    change(S("鄂A00009"), S("800"));
    QCOMPARE(odometers(), S("1500,800"));
    // Correcting a logged reading upwards moves the vehicle with it.
    e.query()->first();
    put(&e, "DBNumberEditEh1", S("1650"));
    click(&e, "bitbtn_save");
    QCOMPARE(odometers(), S("1650,800"));
    QCOMPARE(t.scalar(S("select group_concat(ifnull(公里数, '-')) from 换油记录表")), S("1650,1200,-,800"));
    QCOMPARE(ms.texts(), QStringList{});
}

void TstOther::journalSaveChecks_data()
{
    QTest::addColumn<QDate>("accounting");
    QTest::addColumn<QStringList>("typed");   // 日期, 摘要, 借方, 贷方
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QDate march(2024, 3, 15), leapFeb(2024, 2, 10), feb(2023, 2, 10);
    const QString outside = S("不能编辑结算时间以外的数据!");
    QTest::newRow("next month") << march << QStringList{"2024-4-1", S("收入"), "10", ""} << outside << "";
    QTest::newRow("month before") << march << QStringList{"2024-2-29", S("收入"), "10", ""} << outside << "";
    QTest::newRow("no date") << march << QStringList{"", S("收入"), "10", ""} << outside << "";
    QTest::newRow("no summary") << march << QStringList{"2024-3-31", " ", "10", ""} << S("摘要不能为空,请重新输入!")
                                << "DBComboBoxEh1";
    QTest::newRow("both amounts") << march << QStringList{"2024-3-1", S("收入"), "10", "5"}
                                  << S("借方和贷方不能同时有金额,请重新输入!") << "DBNumberEditEh1";
    QTest::newRow("no amount") << march << QStringList{"2024-3-1", S("支出"), "0", ""}
                               << S("借方和贷方不能同时为零,请重新输入!") << "DBNumberEditEh2";
    QTest::newRow("last day of a leap February") << leapFeb << QStringList{"2024-2-29", S("收入"), "10", ""} << "" << "";
    QTest::newRow("February otherwise ends on the 28th") << feb << QStringList{"2023-2-28", S("支出"), "", "3"} << "" << "";
    QTest::newRow("March follows") << feb << QStringList{"2023-3-1", S("支出"), "", "3"} << outside << "";
}

void TstOther::journalSaveChecks()
{
    QFETCH(QDate, accounting);
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    velorin::accounting_date = QDateTime(accounting, QTime(9, 30));
    TestDb t;
    MessageScript ms;
    t.dm()->q_xjrjz->reopenWith(other::journalLines());
    TForm_xjrjz_edit e(nullptr);
    e.show();
    QVERIFY(QTest::qWaitForWindowActive(&e));
    click(&e, "bitbtn_add");
    QCOMPARE(textOf(&e, "DBDateTimeEditEh1"), db::shortDate(QDate::currentDate()));
    const char *names[] = {"DBDateTimeEditEh1", "DBComboBoxEh1", "DBNumberEditEh1", "DBNumberEditEh2"};
    for (int i = 0; i < 4; ++i)
        put(&e, names[i], typed[i]);
    click(&e, "bitbtn_save");
    QCOMPARE(ms.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    const QString count = t.scalar(S("select count(*) from 现金日记帐"));
    if (message.isEmpty()) {
        QCOMPARE(count, S("1"));
        QCOMPARE(t.scalar(S("select printf('%s %d %d %s', 日期, (ifnull(借方,0)-ifnull(贷方,0))/10000, 余额/10000, 操作员) from 现金日记帐")),
                 db::storedDate(db::parseDateTime(typed[0])->date()) + (typed[2].isEmpty() ? S(" -3 -3 王五") : S(" 10 10 王五")));
    } else if (focus.isEmpty()) {
        // Outside the month: the entry is given up.
        QVERIFY(!e.adding() && enabled(&e, "bitbtn_add") && enabled(&e, "bitbtn_close"));
        QCOMPARE(count + QString::number(e.query()->recordCount()), S("00"));
    } else {
        QVERIFY(e.adding() && !enabled(&e, "bitbtn_close"));
        QCOMPARE(focusName(&e), focus);
        QCOMPARE(db::Money::parse(textOf(&e, "DBNumberEditEh1")), db::Money::parse(typed[2]));
    }
}

void TstOther::runningBalance()
{
    TestDb t;
    // The month before ended with a balance the new month does not carry.
    t.exec(S("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values ('2024-02-20 00:00:00', '收入', 9990000, 9990000)"));
    MessageScript ms;
    TForm_main main;
    QString footers;
    ModalDriver driver([&](QDialog *d) {
        if (auto *list = qobject_cast<TForm_xjrjz *>(d)) {
            QCOMPARE(list->query()->sql(), QStringList({S("select * from 现金日记帐"),
                                                       S("where (日期 between cdate('2024-3-1') and cdate('2024-3-31'))"),
                                                       S("order by 日期,编号")}));
            QVERIFY(!enabled(d, "ToolButton1") && !enabled(d, "ToolButton2"));
            click(d, "bitbtn_edit");
            QCOMPARE(journal(t), S("100.1234 70.1233 150.1233 149.1233 128.6233 128.6234"));
            // The editor's close brought the balances back; the print carries the list.
            const QString printed = printedText(d, t.dir());
            QVERIFY2(printed.contains(S("现金日记帐打印清单")) && printed.contains(S("128.6234")), qPrintable(printed));
            QCOMPARE(proposedExportName(d), S("现金日记帐"));
            grid::DBGridEh *g = list->grid();
            footers = QStringList({g->footerText(0), g->footerText(1), g->footerText(3), g->footerText(4)}).join(S("|"));
            // 删除 and its 整理: No to the delete still asks to tidy.
            ms.clear();
            list->query()->moveTo(1);
            ms.answer(QMessageBox::No);
            ms.answer(QMessageBox::No);
            click(d, "SpeedButton1");
            QCOMPARE(ms.texts(), QStringList({S("要删除当前记录吗? "), S("确实需要整理当前核算时间的记录吗? ")}));
            QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
            ms.answer(QMessageBox::Yes);
            ms.answer(QMessageBox::No);
            click(d, "SpeedButton1");
            // The delete's own transaction already rebalanced the month.
            QCOMPARE(journal(t), S("100.1234 180.1234 179.1234 158.6234 158.6235"));
            QCOMPARE(columnOf(list->query(), "余额"), S("100.1234,180.1234,179.1234,158.6234,158.6235"));
            // A balance spoilt outside the program: 整理 mends it.
            t.exec(S("update 现金日记帐 set 余额=0"));
            ms.clear();
            click(d, "SpeedButton6");
            QCOMPARE(ms.texts(), QStringList({S("确实需要整理当前核算时间的记录吗? "), S("整理完毕！")}));
            QCOMPARE(journal(t), S("100.1234 180.1234 179.1234 158.6234 158.6235"));
            QCOMPARE(t.scalar(S("select printf('%d', 余额) from 现金日记帐 where 日期<'2024-03-01'")), S("0"));
            click(d, "SpeedButton4");
        } else if (auto *e = qobject_cast<TForm_xjrjz_edit *>(d)) {
            QCOMPARE(d->windowTitle(), S("现金日记帐编辑 (xjrjz)"));
            const QStringList rows[] = {{"2024-3-1", S("收入"), "100.1234"}, {"2024-3-2", S("支出"), "30.0001"},
                                        {"2024-3-2", S("收入"), "50"}, {"2024-3-5", S("支出"), "20.5"},
                                        {"2024-3-31", S("收入"), "0.0001"}};
            QStringList after;
            for (const QStringList &r : rows) {
                click(d, "bitbtn_add");
                put(d, "DBDateTimeEditEh1", r[0]);
                put(d, "DBComboBoxEh1", r[1]);
                put(d, r[1] == S("收入") ? "DBNumberEditEh1" : "DBNumberEditEh2", r[2]);
                click(d, "bitbtn_save");
                after << journal(t);
            }
            QCOMPARE(after, QStringList({S("100.1234"), S("100.1234 70.1233"), S("100.1234 70.1233 120.1233"),
                                         S("100.1234 70.1233 120.1233 99.6233"),
                                         S("100.1234 70.1233 120.1233 99.6233 99.6234")}));
            QCOMPARE(textOf(d, "DBNumberEditEh3"), S("99.6234"));
            // A middle row edited: every later balance is right at once.
            e->query()->moveTo(2);
            put(d, "DBNumberEditEh1", S("80"));
            click(d, "bitbtn_save");
            QCOMPARE(journal(t), S("100.1234 70.1233 150.1233 129.6233 129.6234"));
            QCOMPARE(textOf(d, "DBNumberEditEh3"), S("150.1233"));
            QCOMPARE(ms.texts(), QStringList{});
            // An entry dated before others goes in its place and moves the ones after it.
            click(d, "bitbtn_add");
            put(d, "DBDateTimeEditEh1", S("2024-3-2"));
            put(d, "DBComboBoxEh1", S("支出"));
            put(d, "DBNumberEditEh2", S("1"));
            click(d, "bitbtn_save");
            QCOMPARE(journal(t), S("100.1234 70.1233 150.1233 149.1233 128.6233 128.6234"));
            e->query()->moveTo(3);
            put(d, "DBNumberEditEh2", S("0"));
            put(d, "DBComboBoxEh1", S("收入"));
            put(d, "DBNumberEditEh1", S("0"));
            click(d, "bitbtn_save");
            QCOMPARE(ms.texts(), QStringList{S("借方和贷方不能同时为零,请重新输入!")});
            click(d, "bitbtn_cancel");
            ms.clear();
            click(d, "bitbtn_close");
        }
    });
    main.menuAction(S("N47"))->trigger();
    QCOMPARE(footers, S("记录数|6|180.1235|51.5001"));
    QCOMPARE(driver.shown, QStringList({S("TForm_xjrjz"), S("TForm_xjrjz_edit")}));
}

void TstOther::amountFollowsSummary_data()
{
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("afterHandler");   // where Enter in 经办人 goes
    QTest::addColumn<QString>("clickedCredit");  // where a click into 贷方 ends
    QTest::newRow("income") << S("收入") << "DBNumberEditEh1" << "DBNumberEditEh1";
    QTest::newRow("expense") << S("支出") << "DBNumberEditEh2" << "DBNumberEditEh2";
    QTest::newRow("anything else") << S("借款") << "DBComboBoxEh1" << "DBComboBoxEh1";
}

void TstOther::amountFollowsSummary()
{
    QFETCH(QString, summary);
    QFETCH(QString, afterHandler);
    QFETCH(QString, clickedCredit);
    TestDb t;
    MessageScript ms;
    t.dm()->q_xjrjz->reopenWith(other::journalLines());
    TForm_xjrjz_edit e(nullptr);
    e.show();
    QVERIFY(QTest::qWaitForWindowActive(&e));
    click(&e, "bitbtn_add");
    QStringList walked;
    for (const char *name : {"DBDateTimeEditEh1", "DBEdit1", "DBComboBoxEh1", "DBEdit2", "DBEdit3"}) {
        walked << focusName(&e);
        if (QString::fromLatin1(name) == S("DBComboBoxEh1"))
            put(&e, name, summary);
        enter(&e);
    }
    walked << focusName(&e);
    QCOMPARE(walked, QStringList({"DBDateTimeEditEh1", "DBEdit1", "DBComboBoxEh1", "DBEdit2", "DBEdit3", afterHandler}));
    e.editorFor(S("贷方"))->setFocus(Qt::MouseFocusReason);
    QCOMPARE(focusName(&e), clickedCredit);
    // From either amount Enter goes on to 备注, and Enter there saves.
    if (clickedCredit != S("DBComboBoxEh1")) {
        put(&e, clickedCredit.toLatin1().constData(), S("12"));
        enter(&e);
        QCOMPARE(focusName(&e), S("DBMemo1"));
        enter(&e);
        QCOMPARE(t.scalar(S("select count(*) from 现金日记帐")), S("0"));   // dated today, outside March 2024
        QCOMPARE(ms.texts(), QStringList{S("不能编辑结算时间以外的数据!")});
    }
    QCOMPARE(e.editorFor(S("余额"))->toolTip(), S("只读字段，不能编辑！"));
    QVERIFY(!e.editorFor(S("余额"))->isEnabled());
}

void TstOther::journalSearch_data()
{
    QTest::addColumn<QStringList>("typed");   // objectName=text pairs
    QTest::addColumn<QString>("where");       // the condition line, or the message shown
    QTest::addColumn<QString>("found");       // 凭证号 of the rows listed
    QTest::newRow("voucher") << QStringList{"Edit1=X'1"} << S(" where (凭证号 like '%X''1%')") << "X'1";
    QTest::newRow("summary first: a prefix") << QStringList{S("DBComboBoxEh1=收")} << S(" where (摘要 like '收%')") << "X'1,P2";
    QTest::newRow("summary later: anywhere") << QStringList{"Edit1=P", S("DBComboBoxEh1=出")}
                                             << S(" where (凭证号 like '%P%')and(摘要 like '%出%')") << "P3";
    QTest::newRow("detail, handler, remark")
        << QStringList{S("Edit2=运费"), S("Edit3=张"), S("Edit4=月")}
        << S(" where (明细 like '%运费%')and(经办人 like '%张%')and(备注 like '%月%')") << "X'1";
    QTest::newRow("handler first") << QStringList{S("Edit3=李")} << S(" where (经办人 like '%李%')") << "P3,P2";
    QTest::newRow("dates first") << QStringList{"DBDateTimeEditEh1=2024-2-1", "DBDateTimeEditEh2=2024-2-29"}
                                 << S(" where (日期 between cdate('2024-2-1') and cdate('2024-2-29'))") << "P3";
    QTest::newRow("dates later") << QStringList{S("Edit4=月"), "DBDateTimeEditEh1=2024-3-1", "DBDateTimeEditEh2=2024-3-1"}
                                 << S(" where (备注 like '%月%')and(日期 between cdate('2024-3-1') and cdate('2024-3-1'))") << "X'1";
    QTest::newRow("debit first") << QStringList{"DBNumberEditEh1=100", "DBNumberEditEh2=200.5"}
                                 << S(" where (借方 between ccur('100') and ccur('200.5'))") << "X'1";
    QTest::newRow("debit later") << QStringList{"Edit1=P", "DBNumberEditEh1=0", "DBNumberEditEh2=100"}
                                 << S(" where (凭证号 like '%P%')and(借方 between ccur('0') and ccur('100'))") << "P2";
    QTest::newRow("credit later") << QStringList{S("Edit3=李"), "DBNumberEditEh3=1", "DBNumberEditEh4=50"}
                                  << S(" where (经办人 like '%李%')and(贷方 between ccur('1') and ccur('50'))") << "P3";
    QTest::newRow("credit first") << QStringList{"DBNumberEditEh3=1", "DBNumberEditEh4=50"}
                                  << S(" where (贷方 between ccur('1') and ccur('50'))") << "P3";
    QTest::newRow("one amount bound is ignored") << QStringList{"DBNumberEditEh1=5"} << S("查询条件没有输入,请确认!") << "";
    QTest::newRow("one date") << QStringList{"DBDateTimeEditEh2=2024-3-1"} << S("日期输入错误,请重新输入!") << "";
    QTest::newRow("dates reversed") << QStringList{"DBDateTimeEditEh1=2024-3-2", "DBDateTimeEditEh2=2024-3-1"}
                                    << S("日期从大于日期到,请重新输入!") << "";
    QTest::newRow("debit reversed") << QStringList{"DBNumberEditEh1=20", "DBNumberEditEh2=10", "DBNumberEditEh3=9",
                                                   "DBNumberEditEh4=1"}
                                    << S("借方金额输入错误,请重新输入!") << "";
    QTest::newRow("credit reversed") << QStringList{"DBNumberEditEh3=9", "DBNumberEditEh4=1"}
                                     << S("贷方金额输入错误,请重新输入!") << "";
    QTest::newRow("nothing") << QStringList{} << S("查询条件没有输入,请确认!") << "";
    QTest::newRow("nothing found") << QStringList{"Edit1=Z"} << S("没有找到合适的记录,是否重新查找!!") << "";
}

void TstOther::journalSearch()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, where);
    QFETCH(QString, found);
    TestDb t;
    t.exec(S("insert into 现金日记帐 (日期, 摘要, 明细, 借方, 贷方, 凭证号, 经办人, 备注) values "
             "('2024-03-01 00:00:00', '收入', '收运费', 1500000, null, 'X''1', '张会计', '三月'), "
             "('2024-03-02 00:00:00', '收入', '还借款', 100000, null, 'P2', '李', null), "
             "('2024-02-29 00:00:00', '支出', '路桥费', null, 300000, 'P3', '李', null)"));
    MessageScript ms;
    ms.answer(QMessageBox::No);   // nothing found: do not search again
    t.dm()->q_xjrjz->reopenWith(other::journalLines());
    TForm_xjrjz_cx d(nullptr);
    d.show();
    for (const QString &pair : typed)
        put(&d, pair.section(QLatin1Char('='), 0, 0).toLatin1().constData(), pair.section(QLatin1Char('='), 1));
    d.seek();
    db::Query *q = t.dm()->q_xjrjz;
    if (!where.startsWith(QLatin1Char(' '))) {
        QCOMPARE(ms.texts(), QStringList{where});
        QCOMPARE(d.result() == QDialog::Rejected && d.isVisible(), !where.contains(S("重新查找")));
        return;
    }
    QCOMPARE(ms.texts(), QStringList{});
    QCOMPARE(q->sql(), QStringList({S("select * from 现金日记帐"), where, S("order by 日期,编号")}));
    QCOMPARE(columnOf(q, "凭证号"), found);
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void TstOther::otherMonthsStayAsTheyAre()
{
    TestDb t;
    t.exec(S("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values ('2024-02-20 00:00:00', '收入', 10000, 10000), "
             "('2024-03-02 00:00:00', '收入', 20000, 20000)"));
    MessageScript ms;
    t.dm()->q_xjrjz->reopenWith(other::journalLines());
    TForm_xjrjz list(nullptr);
    list.show();
    QCOMPARE(list.button(S("SpeedButton6"))->toolTip(), S("只能整理当前结算时间的记录"));
    ModalDriver driver([&](QDialog *d) {
        if (qobject_cast<TForm_xjrjz_cx *>(d)) {
            put(d, "DBComboBoxEh1", S("收入"));
            click(d, "bitbtn_seek");
        } else if (qobject_cast<TForm_xjrjz_edit *>(d)) {
            put(d, "DBNumberEditEh1", S("5"));
            click(d, "bitbtn_save");
            click(d, "bitbtn_close");
        }
    });
    click(&list, "SpeedButton5");
    QCOMPARE(columnOf(list.query(), "日期"), S("2024-2-20,2024-3-2"));
    // February's row can be seen but neither saved nor deleted.
    list.query()->first();
    click(&list, "SpeedButton1");
    click(&list, "bitbtn_edit");
    QCOMPARE(ms.texts(), QStringList({S("不能编辑结算时间以外的数据!"), S("不能编辑结算时间以外的数据!")}));
    QCOMPARE(t.scalar(S("select group_concat(借方 || ':' || 余额) from 现金日记帐")), S("10000:10000,20000:20000"));
    // Back on the accounting month when the editor closes.
    QCOMPARE(columnOf(list.query(), "日期"), S("2024-3-2"));
    // The February of a leap year ends on the 29th in the opening condition.
    QCOMPARE(other::cashJournalPeriod(QDateTime(QDate(2024, 2, 3), QTime())), S("(日期 between cdate('2024-2-1') and cdate('2024-2-29'))"));
    velorin::accounting_date = QDateTime(QDate(2100, 2, 3), QTime());
    QCOMPARE(other::journalLines().value(1), S("where (日期 between cdate('2100-2-1') and cdate('2100-2-28'))"));
}

QTEST_MAIN(TstOther)
#include "tst_other.moc"
