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
    d.columns = {
        {S("客户名称"), S("客户名称"), 140, true, true},
        {S("货物名称"), S("货物名称"), 140, true, true, grid::FooterKind::Text, S("记录数")},
        {S("类别"), S("类别"), 80},
        {S("计量单位"), S("计量单位"), 70, true, true, grid::FooterKind::Count},
        {S("型号规格"), S("型号规格"), 120},
        {S("操作员"), S("操作员"), 70},
        {S("操作日期"), S("操作日期"), 130},
        {S("备注"), S("备注"), 160},
        {S("停用"), S("停用"), 40},
    };
    d.printTitle = S("运输货物资料明细表打印清单");
    d.exportName = S("运输货物资料明细表");
    d.editors = {
        {S("货物名称"), S("货物名称："), EditorKind::Edit, S("DBEdit2"), {}, true},
        {S("计量单位"), S("计量单位："), EditorKind::Combo, S("DBComboBoxEh1"),
         {S("斤"), S("公斤"), S("吨"), S("个"), S("包"), S("台")}, true},
        {S("类别"), S("类别："), EditorKind::Edit, S("DBEdit1")},
        {S("客户名称"), S("客户名称："), EditorKind::Combo, S("DBComboBoxEh2"), {}, true},
        {S("型号规格"), S("型号规格："), EditorKind::Edit, S("DBEdit7"), {}, true},
        {S("停用"), S("停止使用："), EditorKind::Check, S("DBCheckBoxEh1")},
        {S("备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 3},
    };
    d.enterRing = {S("货物名称"), S("计量单位"), S("类别"), S("客户名称"), S("型号规格"), S("备注")};
    d.quickSearch = {
        {S("DBComboBoxEh3"), S("客户名称："), S("客户名称"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("Edit3"), S("货物名称："), S("货物名称"), TermKind::Like, EditorKind::Edit, {}, true},
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
