// The consignee window: checks, duplicate rule, delete refusal, and the picker filling an order's 收货人.
#include "data/session.h"
#include "formhelpers.h"
#include "grid/dbgrideh.h"
#include "masterdata/deliveryinfo.h"
#include "spine_driver.h"
#include <QLabel>

namespace {
const char *kRows = "insert into 收货单位 (单位名称, 上游客户, 开始使用) values "
                    "('汉口仓库', '武汉钢铁', ''), ('青山码头', '武汉钢铁', '是'), ('十堰总装厂', '东风汽车', null)";

void openForMaintenance(TDm1 *dm, TForm_deliveryinfo &w)
{
    dm->q_deliveryinfo->reopenWith({S("select * from 收货单位"), S("order by 单位名称")});
    w.show();
}
} // namespace

class TstDeliveryInfo : public QObject {
    Q_OBJECT
private slots:
    void init() { velorin::operator_name = S("李四"); }
    void saveChecks_data();
    void saveChecks();
    void deleteRefusedWhenInUse();
    void pickerFillsTheCallersOrder();
};

void TstDeliveryInfo::saveChecks_data()
{
    QTest::addColumn<bool>("editing");   // edit 汉口仓库 instead of adding
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString dup = S("单位名称重复,请重新输入!"), ok = S("保存完毕！");
    // The customer is looked at before the name.
    QTest::newRow("no customer") << false << "" << "" << S("上游客户不能为空,请重新输入!") << "DBComboBoxEh2";
    QTest::newRow("blank name") << false << S("东风汽车") << "  " << S("单位名称不能为空,请重新输入!") << "DBEdit2";
    QTest::newRow("another customer's name") << false << S("东风汽车") << S("汉口仓库") << dup << "DBEdit2";
    QTest::newRow("new") << false << S("东风汽车") << S("O'Neil 库") << ok << "";
    QTest::newRow("edit, name kept") << true << S("东风汽车") << S("汉口仓库") << ok << "";
    QTest::newRow("edit, renamed to a used name") << true << S("武汉钢铁") << S("十堰总装厂") << dup << "DBEdit2";
}

void TstDeliveryInfo::saveChecks()
{
    QFETCH(bool, editing);
    QFETCH(QString, customer);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb t;
    t.exec(S(kRows));
    MessageScript ms;
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    t.dm()->q_deliveryinfo->locate(S("单位名称"), S("汉口仓库"));
    click(&w, editing ? "bitbtn_edit" : "bitbtn_add");
    put(&w, "DBComboBoxEh2", customer);
    put(&w, "DBEdit2", name);
    click(&w, "bitbtn_save");
    QCOMPARE(ms.texts(), QStringList{message});
    QCOMPARE(w.editing(), !focus.isEmpty());
    if (!focus.isEmpty())
        QCOMPARE(focusName(&w), focus);
    const QString stored = t.scalar(S("select group_concat(单位名称 || '/' || 上游客户 || '/' || ifnull(操作员, ''), ',') "
                                      "from (select * from 收货单位 order by rowid)"));
    if (message == S("保存完毕！"))
        QVERIFY(stored.contains(name + S("/") + customer + S("/李四")));
    else
        QCOMPARE(stored, S("汉口仓库/武汉钢铁/,青山码头/武汉钢铁/,十堰总装厂/东风汽车/"));
}

void TstDeliveryInfo::deleteRefusedWhenInUse()
{
    TestDb t;
    t.exec(S(kRows));
    MessageScript ms;
    TForm_deliveryinfo w(nullptr);
    openForMaintenance(t.dm(), w);
    // Only "是" blocks; empty and null allow the delete after the question.
    for (const char *name : {"青山码头", "汉口仓库", "十堰总装厂"}) {
        t.dm()->q_deliveryinfo->locate(S("单位名称"), S(name));
        click(&w, "bitbtn_delete");
    }
    QCOMPARE(ms.texts(), QStringList({S("该客户已经有记录,不能删除!"), S("要删除当前记录吗? "), S("要删除当前记录吗? ")}));
    QCOMPARE(t.scalar(S("select group_concat(单位名称) from 收货单位")), S("青山码头"));
}

void TstDeliveryInfo::pickerFillsTheCallersOrder()
{
    TestDb t;
    t.exec(S("insert into 上游客户 (客户名称) values ('武汉钢铁'), ('东风汽车')"));
    t.exec(S(kRows));
    t.exec(S("insert into 普通货物运输单 (上游客户, 运输单号) values ('东风汽车', 'G1')"));
    auto *orders = t.dm()->q_container_ysd, *goods = t.dm()->q_freight_ysd;
    orders->reopenWith({S("select * from 集装箱运输单"), S("order by 运输单号")});
    goods->reopenWith({S("select * from 普通货物运输单"), S("order by 运输单号")});

    // In maintenance 选中 is disabled and a double click chooses nothing.
    {
        TForm_deliveryinfo w(nullptr);
        openForMaintenance(t.dm(), w);
        emit w.grid()->doubleClicked(w.grid()->model()->index(0, 0));
        QVERIFY(w.isVisible());
        QCOMPARE(orders->state(), db::Query::Browse);
    }

    orders->append();   // a new container order being typed
    QString listed, label;
    QStringList sql, customers;
    ModalDriver driver([&](QDialog *d) {
        sql = Dm1->q_deliveryinfo->sql();
        listed = columnOf(Dm1->q_deliveryinfo, "单位名称");
        customers = itemsOf(d, "DBComboBoxEh2") + itemsOf(d, "DBComboBoxEh3");
        label = d->findChild<QLabel *>(S("Label1"))->text();
        Dm1->q_deliveryinfo->locate(S("单位名称"), S("青山码头"));
        auto *grid = static_cast<TForm_deliveryinfo *>(d)->grid();
        emit grid->doubleClicked(grid->model()->index(1, 0));
    });
    pickConsignee(nullptr, S("集装箱"), S("武汉钢铁"));
    QCOMPARE(sql, QStringList({S("select * from 收货单位"), S("where 上游客户='武汉钢铁'"), S("order by 上游客户,单位名称")}));
    QCOMPARE(listed, S("汉口仓库,青山码头"));
    QCOMPARE(customers, QStringList({S("东风汽车"), S("武汉钢铁"), S("东风汽车"), S("武汉钢铁")}));
    QCOMPARE(label, S("集装箱"));
    QCOMPARE(orders->state(), db::Query::Insert);   // left pending for the order window to save
    QCOMPARE(orders->field(S("收货人")).asString(), S("青山码头"));
    QVERIFY(!t.dm()->q_deliveryinfo->isActive());

    // "普通货物" fills the goods order; without a customer every consignee is offered.
    driver.setAct([&](QDialog *d) {
        listed = columnOf(Dm1->q_deliveryinfo, "单位名称");
        Dm1->q_deliveryinfo->locate(S("单位名称"), S("十堰总装厂"));
        click(d, "SpeedButton3");
    });
    pickConsignee(nullptr, S("普通货物"), QString());
    QCOMPARE(listed, S("十堰总装厂,汉口仓库,青山码头"));
    QCOMPARE(goods->state(), db::Query::Edit);
    goods->post();
    QCOMPARE(t.scalar(S("select 收货人 from 普通货物运输单")), S("十堰总装厂"));
    QCOMPARE(orders->field(S("收货人")).asString(), S("青山码头"));
}

QTEST_MAIN(TstDeliveryInfo)
#include "tst_deliveryinfo.moc"
