#include "container/container_ysd.h"
#include "db/text.h"
#include "data/dm1.h"
#include "container/container_ysd_cx.h"
#include "data/containerno.h"
#include "db/quote.h"
#include "masterdata/deliveryinfo.h"

using namespace data;

namespace container {

grid::Columns orderColumns(const QStringList &more)
{
    grid::Columns c = columns({
        {.field = "上游客户", .width = 130, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "运输单号", .width = 100, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "运输期限从", .width = 85, .sortable = true},
        {.field = "运输期限到", .width = 85},
        {.field = "箱号", .width = 100},
        {.field = "型号规格", .width = 60, .sortable = true},
        {.field = "数量", .width = 45},
        {.field = "船名航班", .width = 90},
        {.field = "应收运费", .width = 85, .footer = grid::FooterKind::Sum},
        {.field = "起始地", .width = 70},
        {.field = "目的地", .width = 70},
        {.field = "运输动态", .width = 130},
    });
    for (const QString &f : more) {
        const bool wide = f == S("备注") || f == S("操作日期") || f == S("收货人");
        c.append({.field = f, .title = f, .width = wide ? 130 : 80});
    }
    return c;
}

void declareQuickSearch(ListDecl &d)
{
    d.quickSearch = {
        {.objectName = S("DBComboBoxEh3"), .label = S("上游客户："), .column = S("上游客户"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("Edit1"), .label = S("箱号："), .column = S("箱号"), .term = TermKind::Like},
        {.objectName = S("Edit3"), .label = S("运输动态："), .column = S("运输动态"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true},
        {.objectName = S("DBDateTimeEditEh3"), .label = S("运输期限从："), .column = S("运输期限从"), .term = TermKind::Day, .kind = EditorKind::Date},
    };
    d.quickSearchButton = S("SpeedButton2");
    d.quickSearchHead = {S("select * from 集装箱运输单 ")};
    d.quickSearchOrder = S("order by 上游客户,运输单号");
}

} // namespace container

TForm_container_ysd::TForm_container_ysd(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_container_ysd"));
    ListDecl d;
    d.caption = S("集装箱运输单录入");
    d.module = S("container_ysd");
    d.query = Dm1->q_container_ysd;
    d.search = Dm1->q_search;
    d.columns = container::orderColumns({S("收货人"), S("操作员"), S("操作日期"), S("备注")});
    d.printTitle = S("集装箱运输单明细表打印清单");
    d.exportName = S("集装箱运输单明细表");
    d.buttons = {
        {.role = Role::Add, .objectName = S("bitbtn_add"), .caption = S("增加")},
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Delete, .objectName = S("bitbtn_delete"), .caption = S("删除")},
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘")},
        {.role = Role::Cancel, .objectName = S("bitbtn_cancel"), .caption = S("取消")},
        {.role = Role::Export, .objectName = S("bitbtn_out"), .caption = S("导出")},
        {.role = Role::Print, .objectName = S("bitbtn_print"), .caption = S("打印")},
        {.role = Role::ResetLayout, .objectName = S("SpeedButton1"), .caption = S("初始界面")},
        {.role = Role::Choose, .objectName = S("choose_shr"), .caption = S("选择收货人"), .when = When::Editing, .handler = [this] { choose_shrClick(); }},
        {.role = Role::Custom, .objectName = S("SpeedButton5"), .caption = S("查找"), .when = When::Always, .handler = [this] { showOrderSearch(this); }},
        {.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")},
        {.role = Role::Search, .objectName = S("SpeedButton2"), .caption = S("查找")},
    };
    d.editors = {
        {.field = S("上游客户"), .label = S("上游客户："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh2"), .items = {}, .chinese = true},
        {.field = S("运输单号"), .label = S("运输单号："), .kind = EditorKind::Edit, .objectName = S("DBEdit6")},
        {.field = S("运输期限从"), .label = S("运输期限从："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh1")},
        {.field = S("运输期限到"), .label = S("运输期限到："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("箱号"), .label = S("集装箱箱号："), .kind = EditorKind::Edit, .objectName = S("DBEdit7")},
        {.field = S("型号规格"), .label = S("型号规格："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"), .items = {S("20"), S("40")}},
        {.field = S("数量"), .label = S("数量："), .kind = EditorKind::Decimal, .objectName = S("DBNumberEditEh1")},
        {.field = S("船名航班"), .label = S("船名航班："), .kind = EditorKind::Edit, .objectName = S("DBEdit8"), .items = {}, .chinese = true},
        {.field = S("应收运费"), .label = S("应收运费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2")},
        {.field = S("起始地"), .label = S("起始地："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = true},
        {.field = S("目的地"), .label = S("目的地："), .kind = EditorKind::Edit, .objectName = S("DBEdit3"), .items = {}, .chinese = true},
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit4"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("收货人"), .label = S("收货人："), .kind = EditorKind::Edit, .objectName = S("DBEdit9"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 2},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 2},
    };
    d.panelColumns = 4;
    d.enterRing = {S("上游客户"), S("运输单号"), S("运输期限从"), S("运输期限到"), S("箱号"), S("型号规格"),
                   S("数量"), S("船名航班"), S("应收运费"), S("起始地"), S("目的地"), S("备注")};
    d.enterExtra = {{S("运输动态"), S("备注")}};
    container::declareQuickSearch(d);
    d.memoField = S("备注");
    build(d);
}

void TForm_container_ysd::choose_shrClick()
{
    pickConsignee(this, S("集装箱"), editorText(S("上游客户")));
}

bool TForm_container_ysd::checks()
{
    auto *q = query();
    if (!requireText(S("上游客户"), S("上游客户不能为空,请重新输入!"))
        || !requireText(S("运输单号"), S("运输单号不能为空,请重新输入!"))
        || !requireText(S("箱号"), S("集装箱箱号不能为空,请重新输入!")))
        return false;
    const QString size = q->field(S("型号规格")).asString();
    if (size != S("20") && size != S("40"))
        return fail(S("型号规格应该为20或40,请重新输入!"), S("型号规格"));
    const QDate from = q->field(S("运输期限从")).asDate(), to = q->field(S("运输期限到")).asDate();
    if (from.isValid() && to.isValid() && from > to)
        return fail(S("运输期限到不能小于运输期从,请重新输入!"), S("运输期限到"));
    if (isDuplicate({S("select * from 集装箱运输单 "),
                     S("where (上游客户='") + db::q(editorText(S("上游客户"))) + S("')and(运输单号='")
                         + db::q(editorText(S("运输单号"))) + S("')")},
                    {S("上游客户"), S("运输单号")}))
        return fail(S("运输单号重复,请重新输入!"), S("运输单号"), msg::Icon::Information);
    // A mistyped ISO number is usually a slip, but a firm's own numbers and
    // the rare misprinted box are saved when the user says so.
    const QString box = q->field(S("箱号")).asString().trimmed();
    const int digit = data::containerCheckDigit(box);
    if (digit >= 0 && box.right(1).toInt() != digit
        && !msg::confirm(this, S("箱号校验位不正确(应为 %1),仍要保存吗?").arg(digit))) {
        if (QWidget *w = editorFor(S("箱号")))
            w->setFocus();
        return false;
    }
    return true;
}

void TForm_container_ysd::beforePost()
{
    auto *q = query();
    q->field(S("运输动态")).setAsString(q->field(S("起始地")).asString() + S("-") + q->field(S("目的地")).asString());
}
