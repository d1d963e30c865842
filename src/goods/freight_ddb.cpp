#include "goods/freight_ddb.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "db/quote.h"
#include "db/text.h"
#include "goods/freight_ddb_cx.h"
#include "goods/freight_ddb_edit.h"
#include "goods/freight_ysd.h"

using namespace data;

namespace goods {

grid::Columns dispatchColumns(const QStringList &fields)
{
    using grid::FooterKind;
    return columnsOf(fields, {
        {.field = "调度单号", .width = 110, .sortable = true, .footer = FooterKind::Text},
        {.field = "承运单位", .width = 160, .footer = FooterKind::Count},
        {.field = "车牌号", .width = 80},
        {.field = "驾驶员", .width = 70},
        {.field = "发货日期", .width = 85},
        {.field = "到达时间", .width = 85},
        {.field = "执行完结", .width = 60},
        {.field = "数量", .width = 60},
        {.field = "运输金额", .width = 90, .footer = FooterKind::Sum},
        {.field = "路桥费", .width = 80},
        {.field = "油费", .width = 80},
        {.field = "罚款", .width = 70},
        {.field = "其它费用", .width = 80},
        {.field = "劳务费", .width = 80},
        {.field = "应付运费", .width = 90},
        {.field = "起始地", .width = 70},
        {.field = "目的地", .width = 70},
        {.field = "运输动态", .width = 110},
        {.field = "到货日期", .width = 85},
        {.field = "帐款结清", .width = 60},
        {.field = "付款日期", .width = 85},
        {.field = "付款人", .width = 70},
        {.field = "实付运费", .width = 90},
        {.field = "上游客户", .width = 200, .sortable = true},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 150},
    });
}

ListDecl dispatchStageDecl(QWidget *window, const QStringList &columns, const ButtonDecl &extra)
{
    ListDecl d;
    d.query = Dm1->q_freight_ddb;
    d.search = Dm1->q_search;
    d.columns = dispatchColumns(columns);
    d.gridDoubleClickEdits = true;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘")},
        {.role = Role::Cancel, .objectName = S("bitbtn_cancel"), .caption = S("取消")},
        {.role = Role::Export, .objectName = S("bitbtn_out"), .caption = S("导出")},
        {.role = Role::Print, .objectName = S("bitbtn_print"), .caption = S("打印")},
        {.role = Role::ResetLayout, .objectName = S("SpeedButton1"), .caption = S("初始界面")},
        {.role = Role::Custom, .objectName = S("SpeedButton5"), .caption = S("查找"), .when = When::Always, .handler = [window] { showFreightDispatchSearch(window); }},
    };
    if (!extra.objectName.isEmpty())
        d.buttons << extra;
    d.buttons << ButtonDecl{.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")}
              << ButtonDecl{.role = Role::Search, .objectName = S("SpeedButton2"), .caption = S("查找")};
    d.quickSearch = {
        {.objectName = S("DBComboBoxEh3"), .label = S("承运单位："), .column = S("承运单位"), .kind = EditorKind::Combo,
         .chinese = true},
        {.objectName = S("Edit1"), .label = S("车牌号："), .column = S("车牌号")},
        {.objectName = S("Edit3"), .label = S("运输动态："), .column = S("运输动态"), .chinese = true},
        {.objectName = S("DBDateTimeEditEh3"), .label = S("发车日期："), .column = S("发货日期"), .term = TermKind::Day,
         .kind = EditorKind::Date},
    };
    d.quickSearchHead = {S("select * from 普通货物调度单 ")};
    d.quickSearchOrder = S("order by 承运单位,发货日期");
    d.memoField = S("备注");
    d.editNeedsRow = true;   // these windows work on listed dispatches, never make one
    d.panelColumns = 4;
    return d;
}

QStringList dispatchOrders(const QString &dispatchNumber)
{
    return {S("select * from 普通货物运输单 where (调度单号='") + db::q(dispatchNumber) + S("') "), S("order by 货物名称")};
}

void freeOrders(const QString &dispatchNumber)
{
    Dm1->q_search->execWith({S("update 普通货物运输单 set 调度单号='' where 调度单号='") + db::q(dispatchNumber) + S("'")});
}

} // namespace goods

TForm_freight_ddb::TForm_freight_ddb(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_freight_ddb"));
    ListDecl d;
    d.caption = S("普通货物调度单管理");
    d.module = S("freight_ddb");
    d.query = Dm1->q_freight_ddb;
    d.search = Dm1->q_search;
    d.columns = goods::dispatchColumns({S("调度单号"), S("承运单位"), S("车牌号"), S("驾驶员"), S("发货日期"), S("数量"),
                                        S("运输金额"), S("起始地"), S("目的地"), S("运输动态"), S("到货日期"),
                                        S("上游客户"), S("操作员"), S("操作日期"), S("备注")});
    d.minVisible = 8;
    d.dichromaticCaption = S("区分网格");
    d.printTitle = S("普通货物调度单明细表");
    d.pageNumberRight = true;
    d.exportName = S("普通货物调度单明细表");
    d.gridDoubleClickEdits = true;
    d.buttons = goods::browseListButtons([this] { showFreightDispatchSearch(this); });
    build(d);
}

void TForm_freight_ddb::openEditor()
{
    auto editor = std::make_unique<TForm_freight_ddb_edit>(this);
    db::Query *q = query();
    Dm1->q_freight_ysd->reopenWith(goods::dispatchOrders(q->isEmpty() ? QString() : q->field(S("调度单号")).asString()));
    data::showModal(editor.get());
    editor.reset();
    Dm1->q_freight_ysd->close();
}

void TForm_freight_ddb::beforeDelete()
{
    goods::freeOrders(query()->field(S("调度单号")).asString());
}
