// The consignee window: maintenance (checks, duplicate rule, delete refusal,
// search) and its picker mode filling an order's 收货人.
#include "app/main.h"
#include "data/session.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "masterdata/deliveryinfo.h"
#include "spine_driver.h"
#include <QLabel>

namespace {
QString S(const char *s) { return QString::fromUtf8(s); }

const char *kRows = "insert into 收货单位 (单位名称, 上游客户, 开始使用) values "
                    "('汉口仓库', '武汉钢铁', ''), ('青山码头', '武汉钢铁', '是'), ('十堰总装厂', '东风汽车', null)";

// What the menu handler does before showing the maintenance window.
void openForMaintenance(TDm1 *dm, TForm_deliveryinfo &w)
{
    dm->q_deliveryinfo->reopenWith({S("select * from 收货单位"), S("order by 单位名称")});
    dm->q_guestinfo->reopenWith({S("select * from "), S("上游客户"), S("order by 客户名称")});
    for (int r = 0; r < dm->q_guestinfo->recordCount(); ++r)
        for (const char *c : {"DBComboBoxEh2", "DBComboBoxEh3"})
            w.findChild<QComboBox *>(S(c))->addItem(dm->q_guestinfo->displayText(r, 0));
    dm->q_guestinfo->close();
    w.show();
}

QStringList names(db::Query *q)
{
    QStringList l;
    for (int r = 0; r < q->recordCount(); ++r)
        l << q->displayText(r, q->fieldIndex(S("单位名称")));
    return l;
}
} // namespace

class TstDeliveryInfo : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("李四"); }
    void menuOpensTheWindowWithCustomerLists();
    void saveChecks_data();
    void saveChecks();
    void editedRowDuplicateRule();
    void deleteRefusedWhenInUse();
    void search_data();
    void search();
    void maintenanceCannotChoose();
    void pickerFillsContainerOrder();
    void pickerFillsGoodsOrder();
    void pickerWithoutCustomerListsAll();
};

void TstDeliveryInfo::menuOpensTheWindowWithCustomerLists()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁'), ('东风汽车')"));
    t.exec(S(kRows));
    TForm_main main;
    velorin::startup_done = true;
    QStringList seen, panelList, filterList, provinces;
    ModalDriver driver([&](QDialog *d) {
        seen = names(Dm1->q_deliveryinfo);
        panelList = itemsOf(d, "DBComboBoxEh2");
        filterList = itemsOf(d, "DBComboBoxEh3");
        provinces = itemsOf(d, "DBComboBoxEh1");
    });
    main.menuAction(S("N33"))->trigger();
    QCOMPARE(driver.shown, QStringList{S("TForm_deliveryinfo")});
    QCOMPARE(seen.size(), 3);
    QCOMPARE(panelList, QStringList({S("东风汽车"), S("武汉钢铁")}));
    QCOMPARE(filterList, panelList);
    QCOMPARE(provinces.size(), 33);
    QCOMPARE(provinces.removeDuplicates(), 0);
    QVERIFY(!Dm1->q_deliveryinfo->isActive());
}

void TstDeliveryInfo::saveChecks_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    // The customer is looked at first, even when the name is missing too.
    QTest::newRow("no customer") << "" << "" << S("上游客户不能为空,请重新输入!") << "DBComboBoxEh2";
    QTest::newRow("blank name") << S("东风汽车") << "   " << S("单位名称不能为空,请重新输入!") << "DBEdit2";
    // Unique over all customers: another customer's consignee name is taken.
    QTest::newRow("name of another customer's consignee")
        << S("东风汽车") << S("汉口仓库") << S("单位名称重复,请重新输入!") << "DBEdit2";
    QTest::newRow("new name") << S("东风汽车") << S("O'Neil 仓库") << S("保存完毕！") << "";
}

void TstDeliveryInfo::saveChecks()
{
    QFETCH(QString, customer);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    t.exec(S(kRows));
    MessageScript ms;
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    click(&w, "bitbtn_add");
    put(&w, "DBComboBoxEh2", customer);
    put(&w, "DBEdit2", name);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), message);
    if (focus.isEmpty()) {
        QVERIFY(!w.editing());
        QCOMPARE(t.scalar(S("select 上游客户 || '/' || 操作员 from 收货单位 where 单位名称='O''Neil 仓库'")),
                 S("东风汽车/李四"));
    } else {
        QVERIFY(w.editing());
        QCOMPARE(focusName(&w), focus);
        QCOMPARE(t.scalar(S("select count(*) from 收货单位")), S("3"));
    }
}

void TstDeliveryInfo::editedRowDuplicateRule()
{
    TestDb t;
    t.exec(S(kRows));
    MessageScript ms;
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    auto *q = t.dm()->q_deliveryinfo;
    q->locate(S("单位名称"), S("汉口仓库"));
    click(&w, "bitbtn_edit");
    put(&w, "DBEdit7", S("王经理"));
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), S("保存完毕！"));
    click(&w, "bitbtn_edit");
    put(&w, "DBEdit2", S("十堰总装厂"));
    click(&w, "bitbtn_save");
    QCOMPARE(ms.last(), S("单位名称重复,请重新输入!"));
    QCOMPARE(ms.seen().last().icon, msg::Icon::Information);
    click(&w, "bitbtn_cancel");
    QCOMPARE(t.scalar(S("select count(*) from 收货单位 where 单位名称='汉口仓库' and 联系人='王经理'")), S("1"));
}

void TstDeliveryInfo::deleteRefusedWhenInUse()
{
    TestDb t;
    t.exec(S(kRows));
    MessageScript ms;
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    auto *q = t.dm()->q_deliveryinfo;
    q->locate(S("单位名称"), S("青山码头"));
    click(&w, "bitbtn_delete");
    QCOMPARE(ms.texts(), QStringList{S("该客户已经有记录,不能删除!")});
    // Empty and null 开始使用 both allow the delete after the question.
    for (const char *name : {"汉口仓库", "十堰总装厂"}) {
        q->locate(S("单位名称"), S(name));
        click(&w, "bitbtn_delete");
        QCOMPARE(ms.last(), S("要删除当前记录吗? "));
    }
    QCOMPARE(t.scalar(S("select group_concat(单位名称) from 收货单位")), S("青山码头"));
}

void TstDeliveryInfo::search_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("nothing lists all by name") << "" << "" << QStringList{S("十堰总装厂"), S("汉口仓库"), S("青山码头")};
    QTest::newRow("customer") << S("武汉") << "" << QStringList{S("汉口仓库"), S("青山码头")};
    QTest::newRow("name") << "" << S("总装") << QStringList{S("十堰总装厂")};
    QTest::newRow("both") << S("武汉钢铁") << S("码头") << QStringList{S("青山码头")};
    QTest::newRow("none") << S("东风") << S("码头") << QStringList{};
}

void TstDeliveryInfo::search()
{
    QFETCH(QString, customer);
    QFETCH(QString, name);
    QFETCH(QStringList, found);
    TestDb t;
    t.exec(S(kRows));
    MessageScript ms;
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    put(&w, "DBComboBoxEh3", customer);
    put(&w, "Edit3", name);
    QTest::keyClick(w.findChild<QLineEdit *>(S("Edit3")), Qt::Key_Return);   // Enter presses 查找
    QCOMPARE(names(t.dm()->q_deliveryinfo), found);
    QCOMPARE(t.dm()->q_deliveryinfo->sql().last(), S("order by 单位名称"));
    QCOMPARE(ms.texts(), found.isEmpty() ? QStringList{S("没有找到合适的记录！")} : QStringList{});
}

void TstDeliveryInfo::maintenanceCannotChoose()
{
    TestDb t;
    t.exec(S(kRows));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号, 收货人) values ('武汉钢铁', 'C1', '旧')"));
    t.dm()->q_container_ysd->reopenWith({S("select * from 集装箱运输单"), S("order by 运输期限从,运输单号")});
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    QVERIFY(!enabled(&w, "SpeedButton3"));
    w.choose();
    emit w.grid()->doubleClicked(w.grid()->model()->index(0, 0));
    QVERIFY(w.isVisible());
    QCOMPARE(t.dm()->q_container_ysd->state(), db::Query::Browse);
    QCOMPARE(t.dm()->q_container_ysd->field(S("收货人")).asString(), S("旧"));
}

void TstDeliveryInfo::pickerFillsContainerOrder()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁'), ('东风汽车')"));
    t.exec(S(kRows));
    auto *orders = t.dm()->q_container_ysd;
    orders->reopenWith({S("select * from 集装箱运输单"), S("order by 运输期限从,运输单号")});
    orders->append();
    orders->field(S("运输单号")).setAsString(S("C9"));
    QStringList listed, customers, sql;
    QString label;
    ModalDriver driver([&](QDialog *d) {
        auto *w = static_cast<TForm_deliveryinfo *>(d);
        sql = Dm1->q_deliveryinfo->sql();
        listed = names(Dm1->q_deliveryinfo);
        customers = itemsOf(w, "DBComboBoxEh3");
        label = w->findChild<QLabel *>(S("Label1"))->text();
        Dm1->q_deliveryinfo->locate(S("单位名称"), S("青山码头"));
        // A double click on the grid chooses like 选中.
        emit w->grid()->doubleClicked(w->grid()->model()->index(Dm1->q_deliveryinfo->currentRow(), 0));
    });
    pickConsignee(nullptr, S("集装箱"), S("武汉钢铁"));
    QCOMPARE(sql, QStringList({S("select * from 收货单位"), S("where 上游客户='武汉钢铁'"),
                               S("order by 上游客户,单位名称")}));
    QCOMPARE(listed, QStringList({S("汉口仓库"), S("青山码头")}));
    QCOMPARE(customers, QStringList({S("东风汽车"), S("武汉钢铁")}));
    QCOMPARE(label, S("集装箱"));
    QCOMPARE(driver.shown, QStringList{S("TForm_deliveryinfo")});
    // The new order keeps its pending insert, now with the consignee.
    QCOMPARE(orders->state(), db::Query::Insert);
    QCOMPARE(orders->field(S("收货人")).asString(), S("青山码头"));
    QCOMPARE(orders->field(S("运输单号")).asString(), S("C9"));
    QVERIFY(!t.dm()->q_deliveryinfo->isActive());
    QVERIFY(!t.dm()->q_guestinfo->isActive());
}

void TstDeliveryInfo::pickerFillsGoodsOrder()
{
    TestDb t;
    t.exec(S(kRows));
    t.exec(S("insert into 普通货物运输单 (上游客户, 运输单号) values ('东风汽车', 'G1')"));
    t.exec(S("insert into 集装箱运输单 (上游客户, 运输单号) values ('东风汽车', 'C1')"));
    auto *goods = t.dm()->q_freight_ysd;
    auto *containers = t.dm()->q_container_ysd;
    goods->reopenWith({S("select * from 普通货物运输单"), S("order by 发货日期,运输单号")});
    containers->reopenWith({S("select * from 集装箱运输单"), S("order by 运输期限从,运输单号")});
    ModalDriver driver([](QDialog *d) {
        Dm1->q_deliveryinfo->locate(S("单位名称"), S("十堰总装厂"));
        click(d, "SpeedButton3");
    });
    pickConsignee(nullptr, S("普通货物"), S("东风汽车"));
    QCOMPARE(goods->state(), db::Query::Edit);
    QCOMPARE(goods->field(S("收货人")).asString(), S("十堰总装厂"));
    goods->post();
    QCOMPARE(t.scalar(S("select 收货人 from 普通货物运输单")), S("十堰总装厂"));
    QCOMPARE(containers->state(), db::Query::Browse);
    QCOMPARE(t.scalar(S("select ifnull(收货人, '') from 集装箱运输单")), QString());
}

void TstDeliveryInfo::pickerWithoutCustomerListsAll()
{
    TestDb t;
    t.exec(S(kRows));
    auto *orders = t.dm()->q_container_ysd;
    orders->reopenWith({S("select * from 集装箱运输单"), S("order by 运输期限从,运输单号")});
    QStringList sql, listed;
    ModalDriver driver([&](QDialog *d) {
        sql = Dm1->q_deliveryinfo->sql();
        listed = names(Dm1->q_deliveryinfo);
        click(d, "SpeedButton4");   // 返回 chooses nothing
    });
    pickConsignee(nullptr, S("集装箱"), QString());
    QCOMPARE(sql, QStringList({S("select * from 收货单位"), S("order by 上游客户,单位名称")}));
    QCOMPARE(listed.size(), 3);
    QCOMPARE(orders->state(), db::Query::Browse);
}

QTEST_MAIN(TstDeliveryInfo)
#include "tst_deliveryinfo.moc"
