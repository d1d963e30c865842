#include "container/container_ddb.h"
#include "db/text.h"
#include "data/dm1.h"
#include "container/container_ddb_cx.h"
#include "masterdata/carinfo.h"

using namespace data;

namespace {

// The container dispatch lists choose their columns from these.
grid::Columns dispatchColumns(const QStringList &fields)
{
    using grid::FooterKind;
    return columnsOf(fields, {
        {.field = "调度单编号", .width = 100, .footer = FooterKind::Text},
        {.field = "承运单位", .width = 140, .footer = FooterKind::Count},
        {.field = "车牌号", .width = 80},
        {.field = "上游客户", .width = 140, .sortable = true},
        {.field = "运输单号", .width = 100, .sortable = true},
        {.field = "运输动态", .width = 120},
        {.field = "运输金额", .width = 90, .footer = FooterKind::Sum},
        {.field = "运输期限从", .title = "发车日期", .width = 90, .sortable = true},
        {.field = "运输期限到", .title = "应到日期", .width = 90},
        {.field = "到达时间", .width = 90},
        {.field = "执行完结", .width = 60},
        {.field = "箱号", .width = 100},
        {.field = "型号规格", .width = 80, .sortable = true},
        {.field = "数量", .width = 50},
        {.field = "船名航班", .width = 100},
        {.field = "驾驶员", .width = 70},
        {.field = "下游帐款结清", .width = 80},
        {.field = "付款日期", .width = 90},
        {.field = "付款人", .width = 70},
        {.field = "实付运费", .width = 80, .footer = FooterKind::Sum},
        {.field = "路桥费", .width = 80, .footer = FooterKind::Sum},
        {.field = "油费", .width = 80, .footer = FooterKind::Sum},
        {.field = "罚款", .width = 80, .footer = FooterKind::Sum},
        {.field = "其它费用", .width = 80, .footer = FooterKind::Sum},
        {.field = "劳务费", .width = 80, .footer = FooterKind::Sum},
        {.field = "应付运费", .width = 80, .footer = FooterKind::Sum},
        {.field = "调度单操作员", .width = 80},
        {.field = "调度单操作日期", .width = 130},
        {.field = "调度单备注", .width = 160},
    });
}
} // namespace

namespace container {

ListDecl dispatchDecl(QWidget *window, const QStringList &columns, const ButtonDecl &extra)
{
    ListDecl d;
    d.query = Dm1->q_container_ysd;
    d.search = Dm1->q_search;
    d.columns = dispatchColumns(columns);
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘")},
        {.role = Role::Cancel, .objectName = S("bitbtn_cancel"), .caption = S("取消")},
        {.role = Role::Export, .objectName = S("bitbtn_out"), .caption = S("导出")},
        {.role = Role::Print, .objectName = S("bitbtn_print"), .caption = S("打印")},
        {.role = Role::ResetLayout, .objectName = S("SpeedButton1"), .caption = S("初始界面")},
    };
    if (!extra.objectName.isEmpty())
        d.buttons << extra;
    d.buttons << ButtonDecl{.role = Role::Search, .objectName = S("SpeedButton5"), .caption = S("查找"), .when = When::Always, .handler = [window] { openDispatchSearch(window); }}
              << ButtonDecl{.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")}
              << ButtonDecl{.role = Role::Search, .objectName = S("SpeedButton2"), .caption = S("查找")};
    d.quickSearch = {
        {.objectName = S("DBComboBoxEh3"), .label = S("承运单位："), .column = S("承运单位"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("Edit1"), .label = S("车牌号："), .column = S("车牌号"), .term = TermKind::Like},
        {.objectName = S("Edit3"), .label = S("运输动态："), .column = S("运输动态"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true},
        {.objectName = S("DBDateTimeEditEh3"), .label = S("发车日期："), .column = S("运输期限从"), .term = TermKind::Day, .kind = EditorKind::Date},
    };
    d.quickSearchHead = {S("select * from 集装箱运输单 ")};
    d.quickSearchOrder = S("order by 承运单位,运输期限从");
    d.quickSearchEnter = StripEnter::Nothing;
    d.stampOperator = S("调度单操作员");
    d.stampDate = S("调度单操作日期");
    d.memoField = S("调度单备注");
    d.editNeedsRow = true;   // dispatch adds to listed orders, never makes one
    d.panelColumns = 4;
    return d;
}

bool isYesNo(db::Query *q, const QString &field)
{
    const QString v = q->field(field).asString();
    return v == S("是") || v == S("否");
}

bool laterDay(db::Query *q, const QString &later, const QString &earlier)
{
    const QDate a = q->field(later).asDate(), b = q->field(earlier).asDate();
    return a.isValid() && b.isValid() && a > b;
}

} // namespace container

TForm_container_ddb::TForm_container_ddb(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_container_ddb"));
    ListDecl d = container::dispatchDecl(
        this,
        {S("调度单编号"), S("承运单位"), S("车牌号"), S("上游客户"), S("运输单号"), S("运输动态"), S("运输金额"),
         S("运输期限从"), S("运输期限到"), S("箱号"), S("型号规格"), S("数量"), S("船名航班"), S("驾驶员"),
         S("调度单操作员"), S("调度单操作日期"), S("调度单备注")},
        {.role = Role::Choose, .objectName = S("choose_shr"), .caption = S("选择运输车辆"), .when = When::Editing, .handler = [this] { pickVehicle(this, S("集装箱")); }});
    d.caption = S("集装箱调度单录入");
    d.module = S("container_ddb");
    d.printTitle = S("集装箱调度单明细表打印清单");
    d.exportName = S("集装箱调度单明细表");
    const bool ro = true;
    d.editors = {
        {.field = S("运输单号"), .label = S("运输单编号："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("运输期限从"), .label = S("发车日期："), .kind = EditorKind::Edit, .objectName = S("DBEdit3"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("运输期限到"), .label = S("应到日期："), .kind = EditorKind::Edit, .objectName = S("DBEdit5"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit4"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("调度单编号"), .label = S("调度单编号："), .kind = EditorKind::Edit, .objectName = S("DBEdit6"), .items = {}, .chinese = false, .alwaysReadOnly = false, .upper = true},
        {.field = S("运输金额"), .label = S("运输金额："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2")},
        {.field = S("承运单位"), .label = S("承运单位："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = false, .alwaysReadOnly = ro},
        {.field = S("车牌号"), .label = S("车牌号："), .kind = EditorKind::Edit, .objectName = S("DBEdit8"), .items = {}, .chinese = true, .alwaysReadOnly = ro},
        {.field = S("驾驶员"), .label = S("驾驶员："), .kind = EditorKind::Edit, .objectName = S("DBEdit9"), .items = {}, .chinese = true},
        {.field = S("调度单备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
    };
    d.enterRing = {S("调度单编号"), S("运输金额"), S("驾驶员"), S("调度单备注")};
    build(d);
}

bool TForm_container_ddb::checks()
{
    return requireText(S("调度单编号"), S("调度单编号不能为空,请重新输入!")) &&
           requireText(S("车牌号"), S("车牌号不能为空,请重新输入!"));
}
