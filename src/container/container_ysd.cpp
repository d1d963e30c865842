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
    grid::Columns c = {
        {S("上游客户"), S("上游客户"), 130, true, true, grid::FooterKind::Text, S("记录数")},
        {S("运输单号"), S("运输单号"), 100, true, true, grid::FooterKind::Count},
        {S("运输期限从"), S("运输期限从"), 85, true, true},
        {S("运输期限到"), S("运输期限到"), 85},
        {S("箱号"), S("箱号"), 100},
        {S("型号规格"), S("型号规格"), 60, true, true},
        {S("数量"), S("数量"), 45},
        {S("船名航班"), S("船名航班"), 90},
        {S("应收运费"), S("应收运费"), 85, true, false, grid::FooterKind::Sum},
        {S("起始地"), S("起始地"), 70},
        {S("目的地"), S("目的地"), 70},
        {S("运输动态"), S("运输动态"), 130},
    };
    for (const QString &f : more) {
        const bool wide = f == S("备注") || f == S("操作日期") || f == S("收货人");
        c.append({f, f, wide ? 130 : 80});
    }
    return c;
}

void declareQuickSearch(ListDecl &d)
{
    d.quickSearch = {
        {S("DBComboBoxEh3"), S("上游客户："), S("上游客户"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("Edit1"), S("箱号："), S("箱号"), TermKind::Like},
        {S("Edit3"), S("运输动态："), S("运输动态"), TermKind::Like, EditorKind::Edit, {}, true},
        {S("DBDateTimeEditEh3"), S("运输期限从："), S("运输期限从"), TermKind::Day, EditorKind::Date},
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
        {Role::Add, S("bitbtn_add"), S("增加")},
        {Role::Edit, S("bitbtn_edit"), S("编辑")},
        {Role::Delete, S("bitbtn_delete"), S("删除")},
        {Role::Save, S("bitbtn_save"), S("存盘")},
        {Role::Cancel, S("bitbtn_cancel"), S("取消")},
        {Role::Export, S("bitbtn_out"), S("导出")},
        {Role::Print, S("bitbtn_print"), S("打印")},
        {Role::ResetLayout, S("SpeedButton1"), S("初始界面")},
        {Role::Choose, S("choose_shr"), S("选择收货人"), When::Editing, [this] { choose_shrClick(); }},
        {Role::Custom, S("SpeedButton5"), S("查找"), When::Always, [this] { showOrderSearch(this); }},
        {Role::Close, S("SpeedButton4"), S("返回")},
        {Role::Search, S("SpeedButton2"), S("查找")},
    };
    d.editors = {
        {S("上游客户"), S("上游客户："), EditorKind::Combo, S("DBComboBoxEh2"), {}, true},
        {S("运输单号"), S("运输单号："), EditorKind::Edit, S("DBEdit6")},
        {S("运输期限从"), S("运输期限从："), EditorKind::Date, S("DBDateTimeEditEh1")},
        {S("运输期限到"), S("运输期限到："), EditorKind::Date, S("DBDateTimeEditEh2")},
        {S("箱号"), S("集装箱箱号："), EditorKind::Edit, S("DBEdit7")},
        {S("型号规格"), S("型号规格："), EditorKind::Combo, S("DBComboBoxEh1"), {S("20"), S("40")}},
        {S("数量"), S("数量："), EditorKind::Decimal, S("DBNumberEditEh1")},
        {S("船名航班"), S("船名航班："), EditorKind::Edit, S("DBEdit8"), {}, true},
        {S("应收运费"), S("应收运费："), EditorKind::Money, S("DBNumberEditEh2")},
        {S("起始地"), S("起始地："), EditorKind::Edit, S("DBEdit1"), {}, true},
        {S("目的地"), S("目的地："), EditorKind::Edit, S("DBEdit3"), {}, true},
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit4"), {}, false, true},
        {S("收货人"), S("收货人："), EditorKind::Edit, S("DBEdit9"), {}, true, false, false, 2},
        {S("备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 2},
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
