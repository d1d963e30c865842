#include "goods/freight_ysd.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/picklist.h"
#include "db/quote.h"
#include "db/text.h"
#include "goods/freight_ysd_cx.h"
#include "goods/freight_ysd_edit.h"
#include <QComboBox>

using namespace data;

namespace goods {

grid::Columns orderColumns()
{
    using grid::FooterKind;
    return columns({
        {.field = "上游客户", .width = 200, .sortable = true, .footer = FooterKind::Text},
        {.field = "运输单号", .width = 100, .sortable = true, .footer = FooterKind::Count},
        {.field = "收货日期", .width = 85, .sortable = true},
        {.field = "发货日期", .width = 85},
        {.field = "到货日期", .width = 85},
        {.field = "数量", .width = 50},
        {.field = "应收运费", .width = 85, .footer = FooterKind::Sum},
        {.field = "起始地", .width = 70},
        {.field = "目的地", .width = 70},
        {.field = "运输动态", .width = 110},
        {.field = "收货人", .width = 150},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 150},
    });
}

grid::Columns lineColumns()
{
    using grid::FooterKind;
    return columns({
        {.field = "货物名称", .width = 140},
        {.field = "类别", .width = 80},
        {.field = "型号规格", .width = 120},
        {.field = "计量单位", .width = 60},
        {.field = "数量", .width = 70, .footer = FooterKind::Sum},
        {.field = "应收运费", .width = 90, .footer = FooterKind::Sum},
        {.field = "备注", .width = 200},
    });
}

void declareQuickSearch(ListDecl &d)
{
    d.quickSearch = {
        {.objectName = S("DBComboBoxEh3"), .label = S("上游客户："), .column = S("上游客户"), .kind = EditorKind::Combo,
         .chinese = true},
        {.objectName = S("Edit1"), .label = S("运输单号："), .column = S("运输单号")},
        {.objectName = S("Edit3"), .label = S("运输动态："), .column = S("运输动态"), .chinese = true},
        {.objectName = S("DBDateTimeEditEh3"), .label = S("发货日期："), .column = S("发货日期"), .term = TermKind::Day,
         .kind = EditorKind::Date},
    };
    d.quickSearchButton = S("SpeedButton2");
    d.quickSearchHead = {S("select * from 普通货物运输单 ")};
    d.quickSearchOrder = S("order by 上游客户,运输单号");
}

QVector<ButtonDecl> browseListButtons(const std::function<void()> &seek)
{
    return {
        {.role = Role::Refresh, .objectName = S("bitbtn_refresh"), .caption = S("刷新")},
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Delete, .objectName = S("bitbtn_delete"), .caption = S("删除")},
        {.role = Role::Custom, .objectName = S("bitbtn_seek"), .caption = S("查找"), .when = When::Always, .handler = seek},
        {.role = Role::Print, .objectName = S("bitbtn_print"), .caption = S("打印")},
        {.role = Role::Export, .objectName = S("SpeedButton2"), .caption = S("导出")},
        {.role = Role::ResetLayout, .objectName = S("SpeedButton1"), .caption = S("初始界面")},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回")},
    };
}

QStringList orderLines(const QString &orderNumber, bool twoLines)
{
    const QString head = S("select * from 普通货物运输单明细 where (运输单号='") + db::q(orderNumber) + S("')");
    if (twoLines)
        return {head, S("order by 货物名称")};
    return {head + S(" order by 货物名称")};
}

} // namespace goods

TForm_freight_ysd::TForm_freight_ysd(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_freight_ysd"));
    ListDecl d;
    d.caption = S("普通货物运输单管理");
    d.module = S("freight_ysd");
    d.query = Dm1->q_freight_ysd;
    d.search = Dm1->q_search;
    d.columns = goods::orderColumns();
    d.minVisible = 8;
    d.dichromaticCaption = S("区分网格");
    d.printTitle = S("普通货物运输单明细表");
    d.pageNumberRight = true;
    d.exportName = S("普通货物运输单明细表");
    d.gridDoubleClickEdits = true;
    d.buttons = goods::browseListButtons([this] { showFreightOrderSearch(this); });
    build(d);
}

void TForm_freight_ysd::openEditor()
{
    auto editor = std::make_unique<TForm_freight_ysd_edit>(this);
    fillPickLists(Dm1->q_search, {S("select * from 上游客户"), S("order by 客户名称")}, S("客户名称"),
                  {editor->findChild<QComboBox *>(S("DBComboBoxEh2"))});
    db::Query *q = query();
    Dm1->q_freight_mxb->reopenWith(goods::orderLines(q->isEmpty() ? QString() : q->field(S("运输单号")).asString(), true));
    data::showModal(editor.get());
    editor.reset();
    Dm1->q_freight_mxb->close();
}

void TForm_freight_ysd::beforeDelete()
{
    Dm1->q_search->execWith(
        {S("delete from 普通货物运输单明细 where 运输单号='") + db::q(query()->field(S("运输单号")).asString()) + S("'")});
}
