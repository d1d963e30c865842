// Vehicle register: the list, its editor's save steps, the picture page and
// the picker that fills a dispatch's carrier, plate and driver.
#include "app/xstp.h"
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
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

QString S(const char *s) { return QString::fromUtf8(s); }

void openCars(TDm1 *dm)
{
    dm->q_carinfo->reopenWith({S("select * from 承运车辆 "), S("order by 车牌号")});
}

template <class T = QWidget>
T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QString::fromUtf8(name));
}

void click(QWidget *w, const char *name)
{
    auto *b = child<QAbstractButton>(w, name);
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

bool activate(QWidget *w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

void doubleClickFirstRow(grid::DBGridEh *g)
{
    const QRect r = g->visualRect(g->model()->index(0, 0));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
}

// Two carriers, two vehicles of the first.
void seed(const TestDb &t)
{
    t.exec(S("insert into 下游运输商 (单位名称) values ('长江运输'), ('汉江物流')"));
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位, 类别, 驾驶员) values "
             "('鄂A1001', '长江运输', '自有车辆', '王五'), ('鄂A2002', '长江运输', '社会车辆', '李四')"));
}

} // namespace

class TstCarinfo : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("张三"); }
    void pickerFillsTheCallersRow_data();
    void pickerFillsTheCallersRow();
    void pickerDoubleClickOpensTheEditor();
    void listDeleteRefreshAndLayout();
    void saveWithoutChangeDoesNothing();
    void saveChecksInOrder();
    void duplicatePlateRule();
    void ownerMustBeACarrier();
    void savedRowIsStampedAndNamesItsPicture();
    void picturePage();
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
    t.exec(S("insert into 集装箱运输单 (运输单号, 驾驶员) values ('C1', '旧司机')"));
    t.exec(S("insert into 普通货物调度单 (调度单号, 驾驶员) values ('G1', '旧司机')"));
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输单号")});
    t.dm()->q_freight_ddb->reopenWith({S("select * from 普通货物调度单"), S("order by 调度单号")});
    db::Query *other = target == S("q_container_ysd") ? t.dm()->q_freight_ddb : t.dm()->q_container_ysd;
    MessageScript ms;
    bool pickerEnabled = false;
    QString sqlSeen;
    ModalDriver driver([&](QDialog *d) {
        pickerEnabled = child<QPushButton>(d, "SpeedButton1")->isEnabled();
        sqlSeen = t.dm()->q_carinfo->sqlText();
        QCOMPARE(child<QLabel>(d, "Label11")->text(), caller);
        t.dm()->q_carinfo->locate(S("车牌号"), S("鄂A2002"));
        click(d, "SpeedButton1");
    });
    pickVehicle(nullptr, caller);
    QVERIFY(pickerEnabled);
    QCOMPARE(sqlSeen, S("select * from 承运车辆 \norder by 车牌号"));
    QVERIFY(!t.dm()->q_carinfo->isActive());
    db::Query *q = t.dm()->query(target);
    QCOMPARE(q->state(), db::Query::Edit);   // the caller saves it
    QCOMPARE(q->field(S("承运单位")).asString(), S("长江运输"));
    QCOMPARE(q->field(S("车牌号")).asString(), S("鄂A2002"));
    QCOMPARE(q->field(S("驾驶员")).asString(), S("李四"));
    QCOMPARE(other->state(), db::Query::Browse);
    QCOMPARE(other->field(S("驾驶员")).asString(), S("旧司机"));
    QVERIFY(ms.seen().isEmpty());
}

void TstCarinfo::pickerDoubleClickOpensTheEditor()
{
    TestDb t;
    seed(t);
    t.exec(S("insert into 集装箱运输单 (运输单号) values ('C1')"));
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输单号")});
    MessageScript ms;
    ModalDriver driver([&](QDialog *d) {
        if (auto *list = qobject_cast<TForm_carinfo *>(d)) {
            doubleClickFirstRow(list->grid());
            click(d, "bitbtn_close");
        } else {
            click(d, "bitbtn_close");   // the editor
        }
    });
    pickVehicle(nullptr, S("集装箱"));
    QCOMPARE(driver.shown, QStringList({S("TForm_carinfo"), S("TForm_carinfo_edit")}));
    QCOMPARE(t.dm()->q_container_ysd->state(), db::Query::Browse);
    QVERIFY(t.dm()->q_container_ysd->field(S("车牌号")).isNull());

    // Outside picker mode 选中 stays disabled and does nothing.
    openCars(t.dm());
    TForm_carinfo list(nullptr);
    list.show();
    QVERIFY(!child<QPushButton>(&list, "SpeedButton1")->isEnabled());
    list.choose();
    QCOMPARE(t.dm()->q_container_ysd->state(), db::Query::Browse);
    QVERIFY(list.isVisible());
}

void TstCarinfo::listDeleteRefreshAndLayout()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    openCars(t.dm());
    db::Query *q = t.dm()->q_carinfo;
    {
        TForm_carinfo list(nullptr);
        list.show();
        QCOMPARE(list.windowTitle(), S("承运车辆资料设置"));
        for (auto *b : list.findChildren<QPushButton *>())
            QVERIFY2(b->text() != S("初始界面"), "the vehicle list keeps its layout for good");
        // 刷新 comes back to the same row and sees rows stored meanwhile.
        q->locate(S("车牌号"), S("鄂A2002"));
        t.exec(S("insert into 承运车辆 (车牌号, 所属单位) values ('鄂A3003', '汉江物流')"));
        click(&list, "bitbtn_refresh");
        QCOMPARE(q->recordCount(), 3);
        QCOMPARE(q->field(S("车牌号")).asString(), S("鄂A2002"));
        // 删除 asks its own question; No keeps the row.
        ms.answer(QMessageBox::No);
        click(&list, "bitbtn_delete");
        QCOMPARE(ms.seen().last().text, S("确实要删除当前记录?"));
        QCOMPARE(ms.seen().last().caption, S("提示"));
        QCOMPARE(ms.seen().last().defaultButton, QMessageBox::No);
        QCOMPARE(t.scalar(S("select count(*) from 承运车辆")), S("3"));
        ms.answer(QMessageBox::Yes);
        click(&list, "bitbtn_delete");
        QCOMPARE(t.scalar(S("select count(*) from 承运车辆 where 车牌号='鄂A2002'")), S("0"));
        list.grid()->setColumnWidth(1, 217);
        list.close();
    }
    QVERIFY(QFile::exists(t.dir() + S("/carinfo.ini")));
    TForm_carinfo again(nullptr);
    again.show();
    QCOMPARE(again.grid()->columnWidth(1), 217);
}

void TstCarinfo::saveWithoutChangeDoesNothing()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    openCars(t.dm());
    TForm_carinfo_edit e(nullptr);
    e.show();
    QCOMPARE(t.dm()->q_carinfo->state(), db::Query::Edit);   // editable at once
    click(&e, "bitbtn_save");
    QVERIFY(ms.seen().isEmpty());
    QVERIFY(t.scalar(S("select 操作员 from 承运车辆 where 车牌号='鄂A1001'")).isEmpty());
    // A blank new row left as it is is no change either.
    click(&e, "bitbtn_add");
    click(&e, "bitbtn_save");
    QVERIFY(ms.seen().isEmpty());
    QVERIFY(!child<QPushButton>(&e, "bitbtn_close")->isEnabled());
    click(&e, "bitbtn_delete");   // 取消
    QVERIFY(child<QPushButton>(&e, "bitbtn_close")->isEnabled());
    QCOMPARE(t.scalar(S("select count(*) from 承运车辆")), S("2"));
}

void TstCarinfo::saveChecksInOrder()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    openCars(t.dm());
    TForm_carinfo_edit e(nullptr);
    e.setOwnerList({S("长江运输"), S("汉江物流")});
    QVERIFY(activate(&e));
    auto *owner = child<QComboBox>(&e, "DBComboBox6");
    auto *plate = child<QLineEdit>(&e, "DBEdit2");
    auto *kind = child<dbctrls::DBRadioGroup>(&e, "DBRadioGroup1");
    auto *pages = child<QTabWidget>(&e, "PageControl1");
    click(&e, "bitbtn_add");
    QVERIFY(!child<QPushButton>(&e, "bitbtn_add")->isEnabled());
    QVERIFY(!child<QPushButton>(&e, "bitbtn_close")->isEnabled());
    // The change is on the other page; the save shows the first page.
    pages->setCurrentIndex(2);
    typeText(child<QLineEdit>(&e, "DBEdit6"), S("x"));   // any change
    const struct {
        const char *message;
        QWidget *focus;
        std::function<void()> fix;
    } steps[] = {
        {"所属单位不能为空,请重新输入!", owner, [&] { owner->setFocus(); typeText(owner->lineEdit(), S("汉江物流")); }},
        {"车牌号不能为空,请重新输入!", plate, [&] { plate->setFocus(); typeText(plate, S("鄂B9")); }},
        {"车辆类别不能为空,请重新输入!", kind, [&] { kind->button(1)->click(); }},
    };
    for (const auto &s : steps) {
        click(&e, "bitbtn_save");
        QCOMPARE(ms.last(), S(s.message));
        QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
        QCOMPARE(ms.seen().last().caption, S("提示"));
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget() == s.focus || s.focus->isAncestorOf(QApplication::focusWidget()), true);
        QCOMPARE(t.scalar(S("select count(*) from 承运车辆")), S("2"));
        s.fix();
    }
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(ms.seen().last().icon, msg::Icon::Exclamation);
    QCOMPARE(t.scalar(S("select 所属单位 || '/' || 类别 from 承运车辆 where 车牌号='鄂B9'")), S("汉江物流/社会车辆"));
    QVERIFY(child<QPushButton>(&e, "bitbtn_add")->isEnabled());
    QVERIFY(child<QPushButton>(&e, "bitbtn_close")->isEnabled());
}

void TstCarinfo::duplicatePlateRule()
{
    TestDb t;
    seed(t);
    t.exec(S("insert into 承运车辆 (车牌号, 所属单位, 类别) values ('O''K1', '长江运输', '自有车辆')"));
    MessageScript ms;
    openCars(t.dm());
    db::Query *q = t.dm()->q_carinfo;
    TForm_carinfo_edit e(nullptr);
    e.show();
    auto *plate = child<QLineEdit>(&e, "DBEdit2");
    auto *driver = child<QLineEdit>(&e, "DBEdit1");

    // Re-saving a vehicle under its own plate is accepted.
    q->locate(S("车牌号"), S("鄂A1001"));
    driver->selectAll();
    typeText(driver, S("赵六"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    // Taking another vehicle's plate is refused; the typed text stays.
    plate->selectAll();
    typeText(plate, S("O'K1"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("车牌号不能重复,请重新输入!"));
    QCOMPARE(plate->text(), S("O'K1"));
    QCOMPARE(t.scalar(S("select count(*) from 承运车辆 where 车牌号='O''K1'")), S("1"));
    click(&e, "bitbtn_delete");
    // A new vehicle with a plate already stored is refused.
    click(&e, "bitbtn_add");
    child<QComboBox>(&e, "DBComboBox6")->lineEdit()->setFocus();
    typeText(child<QComboBox>(&e, "DBComboBox6")->lineEdit(), S("长江运输"));
    plate->setFocus();
    typeText(plate, S("鄂A2002"));
    child<dbctrls::DBRadioGroup>(&e, "DBRadioGroup1")->button(0)->click();
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("车牌号不能重复,请重新输入!"));
    QCOMPARE(q->state(), db::Query::Insert);
    plate->selectAll();
    typeText(plate, S("鄂A2003"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(t.scalar(S("select count(*) from 承运车辆")), S("4"));
}

void TstCarinfo::ownerMustBeACarrier()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    openCars(t.dm());
    TForm_carinfo_edit e(nullptr);
    // The list was filled before the carrier was deleted.
    e.setOwnerList({S("长江运输"), S("汉江物流")});
    t.exec(S("delete from 下游运输商 where 单位名称='汉江物流'"));
    e.show();
    auto *owner = child<QComboBox>(&e, "DBComboBox6");
    for (const QString &name : {S("汉江物流"), S("不存在的'公司")}) {
        owner->lineEdit()->setFocus();
        owner->lineEdit()->selectAll();
        typeText(owner->lineEdit(), name);
        click(&e, "bitbtn_save");
        QCOMPARE(ms.last(), S("所属单位名称应该在下游运输商中,请重新选择!"));
        QCOMPARE(t.scalar(S("select 所属单位 from 承运车辆 where 车牌号='鄂A1001'")), S("长江运输"));
        QVERIFY(!t.dm()->q_search->isActive());
    }
}

void TstCarinfo::savedRowIsStampedAndNamesItsPicture()
{
    TestDb t;
    seed(t);
    MessageScript ms;
    openCars(t.dm());
    TForm_carinfo_edit e(nullptr);
    e.show();
    auto *file = child<QLineEdit>(&e, "DBEdit6");
    file->setFocus();
    typeText(file, S("别的名字.bmp"));
    auto *plate = child<QLineEdit>(&e, "DBEdit2");
    plate->setFocus();
    plate->selectAll();
    typeText(plate, S("鄂A1009"));
    click(&e, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    QCOMPARE(t.scalar(S("select 汽车照片 || '/' || 操作员 from 承运车辆 where 车牌号='鄂A1009'")),
             S("鄂A1009.JPG/张三"));
    QCOMPARE(file->text(), S("鄂A1009.JPG"));
    const QDateTime stamped = QDateTime::fromString(t.scalar(S("select 操作日期 from 承运车辆 where 车牌号='鄂A1009'")),
                                                    S("yyyy-MM-dd HH:mm:ss"));
    QVERIFY(qAbs(stamped.secsTo(QDateTime::currentDateTime())) < 60);
}

void TstCarinfo::picturePage()
{
    TestDb t;
    seed(t);
    t.exec(S("update 承运车辆 set 汽车照片 = 车牌号 || '.JPG'"));
    MessageScript ms;
    openCars(t.dm());
    db::Query *q = t.dm()->q_carinfo;
    TForm_carinfo_edit e(nullptr);
    e.show();
    auto *picture = child<PictureBox>(&e, "Image1");
    QAction *full = child<QWidget>(&e, "Image1")->actions().value(0);
    QVERIFY(full);
    QCOMPARE(full->text(), S("全屏显示"));

    // Missing file: the path and the message; the viewer does not open.
    q->locate(S("车牌号"), S("鄂A1001"));
    const QString missing = QDir::toNativeSeparators(QDir::current().filePath(S("jpg/鄂A1001.JPG")));
    ModalDriver driver([](QDialog *d) {
        auto *image = d->findChild<PictureBox *>(S("Image1"));
        QVERIFY(image->hasPicture());
        QVERIFY(d->windowState() & Qt::WindowMaximized);
        QTest::mouseDClick(image, Qt::LeftButton);   // closes the viewer
        QCOMPARE(d->result(), int(QDialog::Accepted));
    });
    click(&e, "bitbtn_make");
    QCOMPARE(ms.last(), missing + S("图形文件不存在!"));
    QVERIFY(!picture->hasPicture());
    full->trigger();
    QCOMPARE(ms.seen().size(), 2);
    QCOMPARE(ms.last(), missing + S("图形文件不存在!"));
    QVERIFY(driver.shown.isEmpty());

    // A picture in jpg/ (its extension in lower case) is shown and opens full screen.
    QDir().mkdir(S("jpg"));
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(S("jpg/鄂A2002.jpg"), "JPG"));
    q->locate(S("车牌号"), S("鄂A2002"));
    click(&e, "bitbtn_make");
    QCOMPARE(ms.seen().size(), 2);
    QVERIFY(picture->hasPicture());
    QCOMPARE(picture->pixmap().size(), QSize(40, 30));   // its own size
    QTest::mouseDClick(picture, Qt::LeftButton);
    QVERIFY(picture->stretch());
    QCOMPARE(picture->pixmap().size(), picture->size());
    QTest::mouseDClick(picture, Qt::LeftButton);
    QVERIFY(!picture->stretch());
    full->trigger();
    QCOMPARE(driver.shown, QStringList({S("TForm_xstp")}));

    // A file that is no picture is reported, not shown.
    QFile bad(S("jpg/鄂A1001.JPG"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    q->locate(S("车牌号"), S("鄂A1001"));
    click(&e, "bitbtn_make");
    QVERIFY(ms.last().endsWith(S("不是可以显示的图形文件!")));
    QVERIFY(!picture->hasPicture());
}

QTEST_MAIN(TstCarinfo)
#include "tst_carinfo.moc"
