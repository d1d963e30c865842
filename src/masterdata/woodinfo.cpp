#include "masterdata/woodinfo.h"
#include "db/text.h"
#include "data/dm1.h"
#include "db/quote.h"

using namespace data;

// The customer drop-downs of the panel (DBComboBoxEh2) and of the search
// strip (DBComboBoxEh3) are filled by the opener.
TForm_woodinfo::TForm_woodinfo(QWidget *owner) : MasterListWindow(owner, S("该客户已经有记录,不能删除!"))
{
    setObjectName(S("Form_woodinfo"));
    ListDecl d;
    d.caption = S("运输货物资料设置");
    d.module = S("woodinfo");
    d.query = Dm1->q_woodinfo;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "客户名称", .width = 140, .sortable = true},
        {.field = "货物名称", .width = 140, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "类别", .width = 80},
        {.field = "计量单位", .width = 70, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "型号规格", .width = 120},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 160},
        {.field = "停用", .width = 40},
    });
    d.printTitle = S("运输货物资料明细表打印清单");
    d.exportName = S("运输货物资料明细表");
    d.editors = {
        {.field = S("货物名称"), .label = S("货物名称："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = true},
        {.field = S("计量单位"), .label = S("计量单位："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"),
         .items = {S("斤"), S("公斤"), S("吨"), S("个"), S("包"), S("台")}, .chinese = true},
        {.field = S("类别"), .label = S("类别："), .kind = EditorKind::Edit, .objectName = S("DBEdit1")},
        {.field = S("客户名称"), .label = S("客户名称："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh2"), .items = {}, .chinese = true},
        {.field = S("型号规格"), .label = S("型号规格："), .kind = EditorKind::Edit, .objectName = S("DBEdit7"), .items = {}, .chinese = true},
        {.field = S("停用"), .label = S("停止使用："), .kind = EditorKind::Check, .objectName = S("DBCheckBoxEh1")},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
    };
    d.enterRing = {S("货物名称"), S("计量单位"), S("类别"), S("客户名称"), S("型号规格"), S("备注")};
    d.quickSearch = {
        {.objectName = S("DBComboBoxEh3"), .label = S("客户名称："), .column = S("客户名称"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("Edit3"), .label = S("货物名称："), .column = S("货物名称"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true},
    };
    d.quickSearchHead = {S("select * from 货物信息 ")};
    // The search sorts by 所属单位 first, a column this window neither shows nor writes.
    d.quickSearchOrder = S("order by 所属单位,货物名称");
    d.quickSearchEnter = StripEnter::EachRuns;
    d.memoField = S("备注");
    buildMaster(d);
}

bool TForm_woodinfo::checks()
{
    if (!requireText(S("客户名称"), S("客户名称不能为空,请重新输入!")))
        return false;
    if (!requireText(S("货物名称"), S("货物名称不能为空,请重新输入!")))
        return false;
    // One goods name per customer; the same name may exist for other customers.
    if (isDuplicate({S("select * from 货物信息 "), S("where (货物名称='") + db::q(editorText(S("货物名称"))) +
                                                       S("')and(客户名称='") + db::q(editorText(S("客户名称"))) + S("')")},
                    {S("货物名称"), S("客户名称")}))
        return fail(S("货物名称重复,请重新输入!"), S("货物名称"), msg::Icon::Information);
    return true;
}
