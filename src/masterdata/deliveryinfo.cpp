#include "masterdata/deliveryinfo.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/picklist.h"
#include "db/quote.h"
#include "grid/dbgrideh.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>
#include <memory>

using namespace data;

namespace {

const QStringList &provinces()
{
    static const QStringList p = QString::fromUtf8(
        "湖北 黑龙江 吉林 辽宁 内蒙古 北京 天津 河北 河南 山东 山西 陕西 宁夏 甘肃 青海 新疆 西藏 "
        "四川 重庆 贵州 云南 湖南 安徽 江苏 江西 上海 浙江 福建 广东 广西 香港 海南 台北").split(QLatin1Char(' '));
    return p;
}
} // namespace

TForm_deliveryinfo::TForm_deliveryinfo(QWidget *owner)
    : MasterListWindow(owner, QString::fromUtf8("该客户已经有记录,不能删除!"))
{
    setObjectName(S("Form_deliveryinfo"));
    ListDecl d;
    d.caption = S("收货单位资料设置");
    d.module = S("deliveryinfo");
    d.query = Dm1->q_deliveryinfo;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "单位名称", .width = 160, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "省份", .width = 60, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "联系人", .width = 70},
        {.field = "联系电话", .width = 100},
        {.field = "联系地址", .width = 180, .sortable = true},
        {.field = "上游客户", .width = 140, .sortable = true},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 160},
        {.field = "停用", .width = 40},
    });
    d.printTitle = S("收货单位资料明细表打印清单");
    d.exportName = S("收货单位资料明细表");
    d.editors = {
        {.field = S("单位名称"), .label = S("收货单位名称："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = true},
        {.field = S("省份"), .label = S("省份："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"), .items = provinces(), .chinese = true},
        {.field = S("联系人"), .label = S("联系人："), .kind = EditorKind::Edit, .objectName = S("DBEdit7"), .items = {}, .chinese = true},
        {.field = S("上游客户"), .label = S("上游客户："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh2"), .items = {}, .chinese = true},
        {.field = S("单位地址"), .label = S("单位地址："), .kind = EditorKind::Edit, .objectName = S("DBEdit6"), .items = {}, .chinese = true},
        {.field = S("联系电话"), .label = S("联系电话："), .kind = EditorKind::Edit, .objectName = S("DBEdit8")},
        {.field = S("停用"), .label = S("停止使用："), .kind = EditorKind::Check, .objectName = S("DBCheckBoxEh1")},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
    };
    d.enterRing = {S("单位名称"), S("省份"), S("联系人"), S("上游客户"), S("单位地址"), S("联系电话"), S("备注")};
    d.quickSearch = {
        {.objectName = S("DBComboBoxEh3"), .label = S("上游客户："), .column = S("上游客户"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("Edit3"), .label = S("单位名称："), .column = S("单位名称"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true},
    };
    d.quickSearchHead = {S("select * from 收货单位 ")};
    d.quickSearchOrder = S("order by 单位名称");
    d.quickSearchEnter = StripEnter::EachRuns;   // Enter in either box searches
    d.memoField = S("备注");
    buildMaster(d, [this] { choose(); });
    m_caller = new QLabel(S("收货人"), this);
    m_caller->setObjectName(S("Label1"));
    m_caller->hide();
    connect(grid(), &QAbstractItemView::doubleClicked, this, [this] { choose(); });
}

void TForm_deliveryinfo::setPicker(const QString &callerLabel)
{
    m_caller->setText(callerLabel);
    // Only while browsing: a consignee being typed is not saved yet.
    setButtonWhen(S("SpeedButton3"), When::Browse);
}

void TForm_deliveryinfo::choose()
{
    auto *b = button(S("SpeedButton3"));
    if (!b || !b->isEnabled())
        return;
    // With no consignee listed there is nothing to choose; the order keeps its value.
    if (query()->isEmpty())
        return;
    const QString name = query()->field(S("单位名称")).asString();
    db::Query *order = m_caller->text() == S("集装箱") ? Dm1->q_container_ysd : Dm1->q_freight_ysd;
    if (!order->isActive())
        return;   // no order window behind us: nothing to fill
    order->edit();
    order->field(S("收货人")).setAsString(name);
    close();
}

bool TForm_deliveryinfo::checks()
{
    if (!requireText(S("上游客户"), S("上游客户不能为空,请重新输入!")))
        return false;
    if (!requireText(S("单位名称"), S("单位名称不能为空,请重新输入!")))
        return false;
    // Unique over all customers, not only within one.
    if (isDuplicate({S("select * from 收货单位 "), S("where 单位名称='") + db::q(editorText(S("单位名称"))) + S("'")},
                    {S("单位名称")}))
        return fail(S("单位名称重复,请重新输入!"), S("单位名称"), msg::Icon::Information);
    return true;
}

void pickConsignee(QWidget *owner, const QString &callerLabel, const QString &customer)
{
    auto w = std::make_unique<TForm_deliveryinfo>(owner);
    QStringList lines{S("select * from 收货单位")};
    if (!customer.isEmpty())
        lines << S("where 上游客户='") + db::q(customer) + S("'");
    lines << S("order by 上游客户,单位名称");
    Dm1->q_deliveryinfo->reopenWith(lines);
    fillPickLists(Dm1->q_guestinfo, {S("select * from "), S("上游客户"), S("order by 客户名称")}, S("客户名称"),
                  {w->findChild<QComboBox *>(S("DBComboBoxEh2")), w->findChild<QComboBox *>(S("DBComboBoxEh3"))});
    w->setPicker(callerLabel);
    w->keepClear(owner, {S("收货人")});
    data::showModal(w.get());
    w.reset();
    Dm1->q_deliveryinfo->close();
}
