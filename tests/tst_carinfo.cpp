// Vehicle register: the picker that fills a dispatch's carrier, plate and
// driver, the editor's save rules and the picture page.
#include "masterdata/xstp.h"
#include "db/text.h"
#include "data/session.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "masterdata/carinfo.h"
#include "masterdata/carinfo_edit.h"
#include "spine_driver.h"
#include "testsupport.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {


template <class T = QWidget>
T *child(QWidget *w, const char *name) { return w->findChild<T *>(QString::fromUtf8(name)); }

void click(QWidget *w, const char *name)
{
    auto *b = child<QAbstractButton>(w, name);
    QVERIFY2(b && b->isEnabled(), name);
    b->click();
}

void retype(QWidget *w, const QString &text)
{
    auto *e = qobject_cast<QComboBox *>(w) ? static_cast<QComboBox *>(w)->lineEdit() : static_cast<QLineEdit *>(w);
    e->setFocus();
    e->selectAll();
    typeText(e, text);
}

// Two carriers, two vehicles; q_carinfo opened as the list opens it.
void seed(const TestDb &t)
{
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('汉江物流')"));
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位, 类别, 驾驶员) values "
             "('鄂A1001', '长江运输', '自有车辆', '王五'), ('鄂A2002', '长江运输', '社会车辆', '李四')"));
    t.dm()->q_carinfo->reopenWith({S("select * from 承运车辆 "), S("order by 车牌号")});
}

} // namespace

class TstCarinfo : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("张三"); }
    void pickerFillsTheCallersRow_data();
    void pickerFillsTheCallersRow();
    void pickerDoubleClickOpensTheEditor();
    void saveChecksInOrder();
    void duplicatePlateAndOwnerRules();
    void picturePage();
    void listDeleteAsksFirst();
};

void TstCarinfo::pickerFillsTheCallersRow_data()
{
    QTest::addColumn<QString>("caller");
    QTest::addColumn<QString>("target");
    QTest::newRow("container dispatch") << S("集装箱") << S("q_container_ysd");
    QTest::newRow("goods dispatch") << S("普通货物") << S("q_freight_ddb");
}

void TstCarinfo::pickerFillsTheCallersRow()
{
    QFETCH(QString, caller);
    QFETCH(QString, target);
    TestDb t;
    seed(t);
    t.dm()->q_carinfo->close();
    t.exec(S("insert into 集装箱运输单 (运输单号, 驾驶员) values ('C1', '旧司机')"));
    t.exec(S("insert into 普通货物调度单 (调度单号, 驾驶员) values ('G1', '旧司机')"));
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输单号")});
    t.dm()->q_freight_ddb->reopenWith({S("select * from 普通货物调度单"), S("order by 调度单号")});
    db::Query *q = t.dm()->query(target);
    db::Query *other = q == t.dm()->q_container_ysd ? t.dm()->q_freight_ddb : t.dm()->q_container_ysd;
    ModalDriver driver([&](QDialog *d) {
        QCOMPARE(t.dm()->q_carinfo->sqlText(), S("select * from 承运车辆 \norder by 车牌号"));
        t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A2002"));
        click(d, "SpeedButton1");
    });
    pickVehicle(nullptr, caller);
    QVERIFY(!t.dm()->q_carinfo->isActive());
    QCOMPARE(q->state(), db::Query::Edit);   // the caller saves it
    QCOMPARE(q->field(S("承运单位")).asString() + q->field(S("车牌号")).asString() + q->field(S("驾驶员")).asString(),
             S("长江运输鄂A2002李四"));
    QCOMPARE(other->state(), db::Query::Browse);
    QCOMPARE(other->field(S("驾驶员")).asString(), S("旧司机"));
}

void TstCarinfo::pickerDoubleClickOpensTheEditor()
{
    TestDb t;
    seed(t);
    t.exec(S("insert into 集装箱运输单 (运输单号) values ('C1')"));
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输单号")});
    ModalDriver driver([&](QDialog *d) {
        if (auto *list = qobject_cast<TForm_carinfo *>(d)) {
            const QPoint cell = list->grid()->visualRect(list->grid()->model()->index(0, 0)).center();
            QTest::mouseClick(list->grid()->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(list->grid()->viewport(), Qt::LeftButton, {}, cell);
        }
        click(d, "bitbtn_close");   // the editor, then the list
    });
    pickVehicle(nullptr, S("集装箱"));
    QCOMPARE(driver.shown, QStringList({S("TForm_carinfo"), S("TForm_carinfo_edit")}));
    QCOMPARE(t.dm()->q_container_ysd->state(), db::Query::Browse);
    // Outside picker mode 选中 stays disabled.
    t.dm()->q_carinfo->reopenWith({S("select * from 承运车辆 "), S("order by 车牌号")});
    TForm_carinfo list(nullptr);
    QVERIFY(!child<QPushButton>(&list, "SpeedButton1")->isEnabled());
}

void TstCarinfo::saveChecksInOrder()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    TForm_carinfo_edit e(nullptr);
    e.setOwnerList({S("长江运输"), S("汉江物流")});
    e.show();
    e.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e));
    QCOMPARE(t.dm()->q_carinfo->state(), db::Query::Edit);   // editable at once
    click(&e, "bitbtn_save");                                 // no change: nothing at all
    click(&e, "bitbtn_add");
    click(&e, "bitbtn_save");                                 // a blank new row neither
    QVERIFY(ms.seen().isEmpty());
    QVERIFY(!child<QPushButton>(&e, "bitbtn_close")->isEnabled());

    auto *owner = child(&e, "DBComboBox6"), *plate = child(&e, "DBEdit2");
    auto *kind = child<dbctrls::DBRadioGroup>(&e, "DBRadioGroup1");
    auto *pages = child<QTabWidget>(&e, "PageControl1");
    pages->setCurrentIndex(2);
    retype(child(&e, "DBEdit6"), S("随便.bmp"));   // a change on another page
    const struct { const char *message; QWidget *focus; std::function<void()> fix; } steps[] = {
        {"所属单位不能为空,请重新输入!", owner, [&] { retype(owner, S("汉江物流")); }},
        {"车牌号不能为空,请重新输入!", plate, [&] { retype(plate, S("鄂B9")); }},
        {"车辆类别不能为空,请重新输入!", kind, [&] { kind->button(1)->click(); }},
    };
    for (const auto &s : steps) {
        click(&e, "bitbtn_save");
        QCOMPARE(ms.last(), S(s.message));
        QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(s.focus == QApplication::focusWidget() || s.focus->isAncestorOf(QApplication::focusWidget()));
        s.fix();
    }
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QVERIFY(child<QPushButton>(&e, "bitbtn_close")->isEnabled());
    // The picture name always follows the plate; the operator is stamped.
    QCOMPARE(t.scalar(S("select 所属单位 || 类别 || 汽车照片 || 操作员 from 承运车辆 where 车牌号='鄂B9'")),
             S("汉江物流社会车辆鄂B9.JPG张三"));
}

void TstCarinfo::duplicatePlateAndOwnerRules()
{
    TestDb t;
    seed(t);
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位, 类别) values ('O''K1', '长江运输', '自有车辆')"));
    MessageScript ms;
    db::Query *q = t.dm()->q_carinfo;
    q->refreshKeepingRow();
    TForm_carinfo_edit e(nullptr);
    e.show();
    auto *plate = child(&e, "DBEdit2"), *owner = child(&e, "DBComboBox6");
    q->locate(S("车牌号"), S("鄂A1001"));
    retype(child(&e, "DBEdit1"), S("赵六"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));   // its own plate is no duplicate
    retype(plate, S("O'K1"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("车牌号不能重复,请重新输入!"));
    QCOMPARE(static_cast<QLineEdit *>(plate)->text(), S("O'K1"));   // kept for correction
    click(&e, "bitbtn_delete");
    click(&e, "bitbtn_add");
    retype(owner, S("长江运输"));
    retype(plate, S("鄂A2002"));
    child<dbctrls::DBRadioGroup>(&e, "DBRadioGroup1")->button(0)->click();
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("车牌号不能重复,请重新输入!"));   // a new row: any hit
    retype(plate, S("鄂A2003"));
    // An owner not (or no longer) among the carriers is refused.
    t.exec(S("delete from 下游运输商 where 单位名称='长江运输'"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("所属单位名称应该在下游运输商中,请重新选择!"));
    retype(owner, S("汉江'物流"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("所属单位名称应该在下游运输商中,请重新选择!"));
    retype(owner, S("汉江物流"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(t.scalar(S("select group_concat(车牌号 || ':' || coalesce(驾驶员, ''), ' ') from "
                        "(select * from 承运车辆 order by 车牌号)")),
             S("O'K1: 鄂A1001:赵六 鄂A2002:李四 鄂A2003:"));
}

void TstCarinfo::picturePage()
{
    TestDb t;
    seed(t);
    t.exec(S("update 承运车辆 set 汽车照片 = 车牌号 || '.JPG'"));
    t.dm()->q_carinfo->refreshKeepingRow();
    MessageScript ms;
    TForm_carinfo_edit e(nullptr);
    e.show();
    auto *picture = child<PictureBox>(&e, "Image1");
    QAction *full = picture->actions().value(0);
    QCOMPARE(full->text(), S("全屏显示"));
    ModalDriver driver([](QDialog *d) {
        QVERIFY(d->findChild<PictureBox *>(S("Image1"))->hasPicture());
        QTest::mouseDClick(d->findChild<PictureBox *>(S("Image1")), Qt::LeftButton);   // closes it
        QCOMPARE(d->result(), int(QDialog::Accepted));
    });
    // Missing file: the path and the message, for 生成 and 全屏显示 alike.
    t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A1001"));
    const QString missing = QDir::toNativeSeparators(QDir::current().filePath(S("jpg/鄂A1001.JPG"))) + S("图形文件不存在!");
    click(&e, "bitbtn_make");
    full->trigger();
    QCOMPARE(ms.texts(), QStringList({missing, missing}));
    QVERIFY(!picture->hasPicture());
    QVERIFY(driver.shown.isEmpty());
    // A picture in jpg/ (extension in lower case) shows at its own size,
    // stretches on a double click and opens full screen.
    QDir().mkdir(S("jpg"));
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(S("jpg/鄂A2002.jpg"), "JPG"));
    t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A2002"));
    click(&e, "bitbtn_make");
    QCOMPARE(ms.seen().size(), 2);
    QCOMPARE(picture->pixmap().size(), QSize(40, 30));
    QTest::mouseDClick(picture, Qt::LeftButton);
    QCOMPARE(picture->pixmap().size(), picture->size());
    full->trigger();
    QCOMPARE(driver.shown, QStringList({S("TForm_xstp")}));
    // A vehicle never saved here has no file name: the message names the folder.
    t.exec(S("insert into 承运车辆 (车牌号) values ('鄂A3003')"));
    t.dm()->q_carinfo->cancel();
    t.dm()->q_carinfo->refreshKeepingRow();
    t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A3003"));
    click(&e, "bitbtn_make");
    QCOMPARE(ms.last(), QDir::toNativeSeparators(QDir::current().absolutePath() + S("/jpg/")) + S("图形文件不存在!"));
    QVERIFY(!picture->hasPicture());
}

void TstCarinfo::listDeleteAsksFirst()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    TForm_carinfo list(nullptr);
    list.show();
    const auto plates = [&] { return t.scalar(S("select group_concat(车牌号, ' ') from (select 车牌号 from 承运车辆 order by 车牌号)")); };
    t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A2002"));
    ms.answer(QMessageBox::No);
    click(&list, "bitbtn_delete");
    QCOMPARE(ms.texts(), QStringList{S("确实要删除当前记录?")});
    const msg::Request &r = ms.seen().last();
    QCOMPARE(r.caption, S("提示"));
    QCOMPARE(r.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(r.defaultButton, QMessageBox::No);
    QCOMPARE(plates(), S("鄂A1001 鄂A2002"));
    ms.answer(QMessageBox::Yes);
    click(&list, "bitbtn_delete");
    QCOMPARE(plates(), S("鄂A1001"));
    QCOMPARE(t.dm()->q_carinfo->recordCount(), 1);
}

QTEST_MAIN(TstCarinfo)
#include "tst_carinfo.moc"
