// The company record window, the operator list and the operator editor.
#include "app/enter.h"
#include "db/text.h"
#include "app/gsxx_edit.h"
#include "app/main.h"
#include "app/qxb.h"
#include "app/qxb_edit.h"
#include "data/session.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/export.h"
#include "grid/gridtoolbar.h"
#include "grid/print.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QCheckBox>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {


// Replaces an editor's text the way a user does (select all, type).
void retype(QWidget *w, const QString &text)
{
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Backspace);
    typeText(w, text);
}

QString focusName(QWidget *window)
{
    return window->focusWidget() ? window->focusWidget()->objectName() : QString();
}

void writeFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

} // namespace

class TstAppWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void companyChecksInOrder_data();
    void companyChecksInOrder();
    void companyEnterOrderStoresEveryField();
    void companyBannerFollowsSavedTextFromMenu();
    void failedSavesAreReportedAndDropped();
    void operatorAddSaveCancel();
    void operatorNameRefusals_data();
    void operatorNameRefusals();
    void operatorsThroughMainWindow();
    void operatorListServices();
    void inputMethodPickList();
};

void TstAppWindows::init()
{
    velorin::operator_name = S("系统管理员");
    velorin::operator_ime = S("拼音");
    velorin::login_password.clear();
    velorin::startup_done = true;
}

void TstAppWindows::companyChecksInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("all three missing") << "" << "" << "" << S("公司名称不能为空,请重新输入!") << "DBEdit7";
    QTest::newRow("name of spaces") << "  " << S("标题") << "2024-2-10" << S("公司名称不能为空,请重新输入!") << "DBEdit7";
    QTest::newRow("title of spaces") << S("长江物流") << "   " << "" << S("系统标题不能为空,请重新输入!") << "DBEdit5";
    QTest::newRow("no accounting date") << S("长江物流") << S("标题") << "" << S("核算时间不能为空,请重新输入!")
                                        << "DBDateTimeEditEh1";
    QTest::newRow("all given") << S("长江物流") << S("标题") << "2024-2-10" << S("保存完毕！") << "";
}

void TstAppWindows::companyChecksInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, date);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    t.exec(S("update 公司信息 set 公司名称='旧公司', 系统标题='旧标题', 核算时间='2023-05-01 00:00:00'"));
    t.dm()->q_gsxx->reopenWith({S("select * from 公司信息")});
    MessageScript ms;
    TForm_gsxx_edit w;
    w.show();
    retype(w.DBEdit7, name);
    retype(w.DBEdit5, title);
    retype(w.DBDateTimeEditEh1, date);
    w.bitbtn2->click();
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(ms.seen()[0].caption, S("提示"));
    QCOMPARE(ms.seen()[0].icon, msg::Icon::Exclamation);
    QVERIFY(w.isVisible());   // saved or not, the window stays open
    if (focus.isEmpty()) {
        QCOMPARE(t.scalar(S("select 公司名称 || '/' || 系统标题 || '/' || 核算时间 from 公司信息")),
                 name + "/" + title + "/2024-02-10 00:00:00");
        return;
    }
    QCOMPARE(focusName(&w), focus);
    QVERIFY(t.dm()->q_gsxx->isEditing());
    QCOMPARE(t.scalar(S("select 公司名称 || 系统标题 from 公司信息")), S("旧公司旧标题"));
}

void TstAppWindows::companyEnterOrderStoresEveryField()
{
    TestDb t;
    t.dm()->q_gsxx->reopenWith({S("select * from 公司信息")});
    MessageScript ms;
    TForm_gsxx_edit w;
    velorin::operator_ime = S("五笔");   // the operator may change after the window is made
    w.show();
    // Enter walks the editors in their own order; typing a value into each.
    const QStringList order = {"DBEdit7", "DBEdit1", "DBEdit4", "DBEdit3", "DBEdit2", "DBEdit8",
                               "DBEdit9", "DBEdit5", "DBEdit6", "DBDateTimeEditEh1"};
    for (const QString &name : order) {
        QCOMPARE(focusName(&w), name);
        retype(w.focusWidget(), name == "DBDateTimeEditEh1" ? S("2025-3-7") : S("值") + name);
        QTest::keyClick(w.focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(ms.texts(), QStringList{S("保存完毕！")});   // Enter in the date pressed 保存
    QCOMPARE(t.scalar(S("select 公司名称||公司地址||联系电话||联系人||邮政编码||开户银行||银行帐号||系统标题||动态文字||核算时间 "
                        "from 公司信息")),
             S("值DBEdit7值DBEdit1值DBEdit4值DBEdit3值DBEdit2值DBEdit8值DBEdit9值DBEdit5值DBEdit62025-03-07 00:00:00"));
    // The reminder box: a click writes it, Enter moves on to the date.
    const QString before = t.scalar(S("select 自动提醒 from 公司信息"));
    w.DBCheckBoxEh1->setFocus();
    w.DBCheckBoxEh1->click();
    QTest::keyClick(w.DBCheckBoxEh1, Qt::Key_Return);
    QCOMPARE(focusName(&w), S("DBDateTimeEditEh1"));
    w.bitbtn2->click();
    QCOMPARE(t.scalar(S("select 自动提醒 from 公司信息")), before == "True" ? "False" : "True");
    // The operator's input method on the Chinese-text editors only.
    for (auto *e : {w.DBEdit7, w.DBEdit1, w.DBEdit3, w.DBEdit8, w.DBEdit5, w.DBEdit6})
        QCOMPARE(e->property("imeName").toString(), S("五笔"));
    for (auto *e : {w.DBEdit4, w.DBEdit2, w.DBEdit9})
        QVERIFY(!e->testAttribute(Qt::WA_InputMethodEnabled));
}

void TstAppWindows::companyBannerFollowsSavedTextFromMenu()
{
    TestDb t;
    t.exec(S("update 公司信息 set 公司名称='长江物流'"));
    TForm_main main;
    MessageScript ms;
    ModalDriver driver([](QDialog *d) {
        auto *w = static_cast<TForm_gsxx_edit *>(d);
        retype(w->DBEdit6, S("新的滚动文字"));
        w->bitbtn2->click();
        retype(w->DBEdit6, S("没有保存的文字"));   // dropped by 返回
        w->SpeedButton2->click();
    });
    main.menuAction(S("N18"))->trigger();
    QCOMPARE(driver.shown, QStringList{S("TForm_gsxx_edit")});
    QCOMPARE(main.Label1->text(), S("新的滚动文字"));
    QCOMPARE(t.scalar(S("select 动态文字 from 公司信息")), S("新的滚动文字"));
    QVERIFY(!t.dm()->q_gsxx->isActive());
}

void TstAppWindows::failedSavesAreReportedAndDropped()
{
    TestDb t;
    for (const char *table : {"公司信息", "权限表"})
        t.exec(S("create trigger refuse_%1 before update on %1 begin select raise(abort, 'disk full'); end").arg(S(table)));
    MessageScript ms;
    t.dm()->q_gsxx->reopenWith({S("select * from 公司信息")});
    TForm_gsxx_edit company;
    company.show();
    retype(company.DBEdit7, S("新公司"));
    company.bitbtn2->click();
    t.dm()->q_qxb->reopenWith({S("select * from 权限表"), S("order by 姓名")});
    TForm_qxb_edit op;
    op.show();
    retype(op.DBEditEh1, S("新名字"));
    op.bitbtn_saveClick();
    QCOMPARE(ms.seen().size(), 2);
    for (const auto &r : ms.seen())
        QVERIFY(r.text.contains(S("disk full")));
    QCOMPARE(company.DBEdit7->text(), QString());
    QCOMPARE(op.DBEditEh1->text(), S("系统管理员"));
    QCOMPARE(t.scalar(S("select 姓名 from 权限表")), S("系统管理员"));
}

void TstAppWindows::operatorAddSaveCancel()
{
    TestDb t;
    t.exec(S("insert into 权限表 (姓名, 操作口令, 联系电话) values ('张三', 'abc', '1')"));
    t.dm()->q_qxb->reopenWith({S("select * from 权限表"), S("order by 姓名")});
    t.dm()->q_qxb->locate(S("姓名"), S("张三"));
    MessageScript ms;
    TForm_qxb_edit w;
    w.show();
    const auto buttons = [&] {   // enabled: 增加 存盘 取消 返回
        return QString::number(w.bitbtn_add->isEnabled()) + QString::number(w.bitbtn_save->isEnabled()) +
               QString::number(w.bitbtn_cancel->isEnabled()) + QString::number(w.bitbtn_close->isEnabled());
    };
    // Editing needs no button; the password stays as it is.
    retype(w.DBEditEh3, S("13800000000"));
    w.bitbtn_saveClick();
    QCOMPARE(t.scalar(S("select 联系电话 || 操作口令 || 操作员 from 权限表 where 姓名='张三'")), S("13800000000abc系统管理员"));
    // A change left pending when adding is kept, stamped like any save.
    velorin::operator_name = S("李四");
    retype(w.DBEditEh3, S("2"));
    w.bitbtn_addClick();
    QCOMPARE(t.scalar(S("select 联系电话 || 操作员 from 权限表 where 姓名='张三'")), S("2李四"));
    QCOMPARE(buttons(), "0110");
    QCOMPARE(t.dm()->q_qxb->state(), db::Query::Insert);
    QCOMPARE(focusName(&w), S("DBEditEh1"));
    // A second 张三 is allowed, and gets no password.
    typeText(w.DBEditEh1, S("张三"));
    w.bitbtn_saveClick();
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(buttons(), "1111");
    QCOMPARE(t.scalar(S("select count(*) from 权限表 where 姓名='张三' and 操作员='李四'")), "2");
    QCOMPARE(t.scalar(S("select count(*) from 权限表 where 姓名='张三' and ifnull(操作口令,'')=''")), "1");
    // 取消 drops the new row; so does closing the window any other way.
    w.bitbtn_addClick();
    typeText(w.DBEditEh1, S("钱七"));
    w.bitbtn_cancelClick();
    QCOMPARE(buttons(), "1111");
    QCOMPARE(t.dm()->q_qxb->recordCount(), 3);
    QCOMPARE(w.DBEditEh1->text(), S("张三"));
    w.bitbtn_addClick();
    typeText(w.DBEditEh1, S("钱七"));
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(t.dm()->q_qxb->state(), db::Query::Browse);
    QCOMPARE(t.scalar(S("select count(*) from 权限表")), "3");
}

void TstAppWindows::operatorNameRefusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("typed");
    QTest::newRow("add on an empty table") << S("delete from 权限表") << true << "";
    QTest::newRow("save with the name cleared") << "" << false << "";
    QTest::newRow("save with a name of spaces") << "" << false << "   ";
    QTest::newRow("save a new row without a name") << "" << true << "";
}

void TstAppWindows::operatorNameRefusals()
{
    QFETCH(QString, setup);
    QFETCH(bool, add);
    QFETCH(QString, typed);
    TestDb t;
    if (!setup.isEmpty())
        t.exec(setup);
    const QString before = t.scalar(S("select count(*) || group_concat(姓名) from 权限表"));
    t.dm()->q_qxb->reopenWith({S("select * from 权限表"), S("order by 姓名")});
    MessageScript ms;
    TForm_qxb_edit w;
    w.show();
    const bool refusedAdd = add && !setup.isEmpty();
    if (add && !refusedAdd) {
        w.bitbtn_addClick();   // a new row, then saved without a name
        QVERIFY(ms.seen().isEmpty());
    }
    if (!refusedAdd)
        retype(w.DBEditEh1, typed);
    w.DBEditEh3->setFocus();
    refusedAdd ? w.bitbtn_addClick() : w.bitbtn_saveClick();
    QCOMPARE(ms.texts(), QStringList{S("姓名不能为空,请重新输入!")});
    QCOMPARE(focusName(&w), S("DBEditEh1"));
    QCOMPARE(w.bitbtn_add->isEnabled(), !add || refusedAdd);   // a refused save leaves the buttons as they were
    QCOMPARE(t.dm()->q_qxb->state() == db::Query::Insert, add && !refusedAdd);
    QCOMPARE(t.scalar(S("select count(*) || group_concat(姓名) from 权限表")), before);
}

void TstAppWindows::operatorsThroughMainWindow()
{
    TestDb t;
    TForm_main main;
    main.setStatusPanelText(0, S("操作员：系统管理员"));
    MessageScript ms;
    std::function<void(QDialog *)> inList, inEditor, inLogin;
    ModalDriver driver([&](QDialog *d) {
        const QString cls = QString::fromLatin1(d->metaObject()->className());
        (cls == "TForm_qxb" ? inList : cls == "TForm_qxb_edit" ? inEditor : inLogin)(d);
    });
    // The list: at least four columns stay, a double click edits
    // the current row; no layout file is kept.
    QString editedName;
    inEditor = [&](QDialog *d) {
        auto *e = static_cast<TForm_qxb_edit *>(d);
        editedName = e->DBEditEh1->text();
        e->bitbtn_addClick();
        typeText(e->DBEditEh1, S("赵六"));
        e->bitbtn_saveClick();
        e->bitbtn_close->click();
    };
    inList = [&](QDialog *d) {
        auto *l = static_cast<TForm_qxb *>(d);
        auto *tools = l->findChild<grid::GridToolBar *>();
        for (int i = 0; i < 3; ++i)
            tools->toolButton2()->click();
        QCOMPARE(l->grid()->visibleColumnCount(), 4);
        const QRect cell = l->grid()->visualRect(l->grid()->model()->index(0, 0));
        // A real double click: press and release, then the double click.
        QTest::mouseClick(l->grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(l->grid()->viewport(), Qt::LeftButton, {}, cell.center());
        l->close();
    };
    main.menuAction(S("N2"))->trigger();
    QCOMPARE(driver.shown, QStringList({S("TForm_qxb"), S("TForm_qxb_edit")}));
    QCOMPARE(editedName, S("系统管理员"));
    QVERIFY(!QFile::exists(t.dir() + S("/qxb.ini")));
    // The new operator logs in with an empty password.
    inLogin = [](QDialog *d) {
        auto *e = static_cast<TForm_Enter *>(d);
        e->DBLookupComboBox1->setCurrentText(S("赵六"));
        e->bitbtn_ok->click();
    };
    main.menuAction(S("N4"))->trigger();
    QCOMPARE(velorin::operator_name, S("赵六"));
    // He may delete himself; the run goes on as him.
    inList = [&](QDialog *d) {
        auto *l = static_cast<TForm_qxb *>(d);
        QVERIFY(l->query()->locate(S("姓名"), S("赵六")));
        ms.answer(QMessageBox::Yes);
        l->button(S("SpeedButton1"))->click();
        l->button(S("SpeedButton4"))->click();
    };
    main.menuAction(S("N2"))->trigger();
    QCOMPARE(ms.last(), S("要删除当前记录吗? "));
    QCOMPARE(t.scalar(S("select count(*) from 权限表 where 姓名='赵六'")), "0");
    QCOMPARE(velorin::operator_name, S("赵六"));
    QCOMPARE(main.statusPanelText(0), S("操作员：赵六"));
    QVERIFY(!main.isEnded());
}

void TstAppWindows::operatorListServices()
{
    TestDb t;
    t.exec(S("insert into 权限表 (姓名, 身份证号, 联系电话) values ('乙', '1', '9'), ('甲', '2', '8')"));
    TForm_main main;
    MessageScript ms;
    const QString pdf = t.dir() + S("/print.pdf");
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
    QStringList orderLines;
    ModalDriver driver([&](QDialog *d) {
        auto *l = static_cast<TForm_qxb *>(d);
        auto *twoTone = l->findChild<QCheckBox *>(S("cbDichromatic"));
        auto *fit = l->findChild<QCheckBox *>(S("CheckBox1"));
        QCOMPARE(twoTone->text(), S("区分网格"));
        QCOMPARE(fit->text(), S("自动匹配列宽"));
        QVERIFY(fit->isChecked() && l->grid()->autoFit());
        QCOMPARE(l->grid()->footerText(0), S("记录数"));
        QCOMPARE(l->grid()->footerText(1), S("3"));
        // 姓名 and 身份证号 sort on a title click; 联系电话 does not.
        l->grid()->toggleSortMarker(l->grid()->columnByField(S("联系电话")));
        orderLines << l->query()->sql().last();
        l->grid()->toggleSortMarker(l->grid()->columnByField(S("身份证号")));
        orderLines << l->query()->sql().last();
        l->button(S("SpeedButton3"))->click();
        l->button(S("SpeedButton2"))->click();
        l->button(S("SpeedButton4"))->click();
    });
    main.menuAction(S("N2"))->trigger();
    grid::setPreviewRunner(oldRunner);
    grid::setSaveDialogHook(oldHook);
    QCOMPARE(orderLines, QStringList({S("order by 姓名"), S(" ORDER BY 身份证号")}));
    QCOMPARE(proposed, S("操作员"));
    QProcess p;
    p.start(S("pdftotext"), {S("-layout"), pdf, S("-")});
    QVERIFY(p.waitForFinished(60000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(S("操作员及权限打印清单")) && text.contains(S("制表:系统管理员 .")), qPrintable(text));
    QVERIFY(ms.seen().isEmpty());
}

void TstAppWindows::inputMethodPickList()
{
    QTemporaryDir home, share, local;
    writeFile(share.filePath("ibus/component/pinyin.xml"),
              "<component><name>org.freedesktop.IBus.Pinyin</name><engines>"
              "<engine><name>pinyin</name><longname>智能拼音</longname><language>zh_CN</language></engine>"
              "<engine><name>xkb:us::eng</name><longname>English (US)</longname></engine>"
              "<engine><name>wubi-jidian86</name></engine></engines></component>");
    writeFile(share.filePath("fcitx5/inputmethod/shuangpin.conf"),
              "[Addon]\nName=不是输入法\n[InputMethod]\nName=Shuangpin\nName[zh_CN]=双拼\nIcon=fcitx-shuangpin\n");
    writeFile(local.filePath("fcitx5/inputmethod/shuangpin.conf"), "[InputMethod]\nName[zh_CN]=双拼\n");
    writeFile(local.filePath("fcitx/inputmethod/wubi.conf"), "[InputMethod]\nUniqueName=wubi\nName=五笔字型\n");
    const QStringList expected = {S("智能拼音"), S("wubi-jidian86"), S("双拼"), S("五笔字型")};
    QCOMPARE(app::inputMethodsIn({share.path(), local.path()}), expected);
    QVERIFY(app::inputMethodsIn({home.path()}).isEmpty());

    // 编辑 offers what is installed in the standard folders; free text stays possible.
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_DIRS", (share.path() + ":" + local.path()).toUtf8());
    TestDb t;
    t.dm()->q_qxb->reopenWith({S("select * from 权限表"), S("order by 姓名")});
    MessageScript ms;
    QStringList offered;
    ModalDriver driver([&](QDialog *d) {
        auto *e = static_cast<TForm_qxb_edit *>(d);
        for (int i = 0; i < e->DBComboBoxEh1->count(); ++i)
            offered << e->DBComboBoxEh1->itemText(i);
        retype(e->DBComboBoxEh1->lineEdit(), S("自定义输入法"));
        e->bitbtn_saveClick();
    });
    TForm_qxb list(nullptr);
    list.button(S("bitbtn_edit"))->click();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    QCOMPARE(offered, expected);
    QCOMPARE(t.scalar(S("select 输入法 from 权限表")), S("自定义输入法"));
}

QTEST_MAIN(TstAppWindows)
#include "tst_appwindows.moc"
