#include "masterdata/guestinfo.h"
#include "db/text.h"
#include "data/dm1.h"
#include "db/quote.h"

using namespace data;

TForm_guestinfo::TForm_guestinfo(QWidget *owner) : MasterListWindow(owner, S("该客户已经有记录,不能删除!"))
{
    setObjectName(S("Form_guestinfo"));
    ListDecl d;
    d.caption = S("上游客户资料设置");
    d.module = S("guestinfo");
    d.query = Dm1->q_guestinfo;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "客户名称", .width = 140, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "行业", .width = 80, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "类别", .width = 70, .sortable = true},
        {.field = "区域", .width = 70, .sortable = true},
    });
    d.columns += masterdata::partyColumns();
    d.printTitle = S("上游客户资料明细表打印清单");
    d.exportName = S("上游客户资料明细表");
    d.editors = {
        {.field = S("客户名称"), .label = S("客户名称："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = true},
        {.field = S("行业"), .label = S("行业："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"), .items = {}, .chinese = true},
        {.field = S("类别"), .label = S("类别："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh2")},
        {.field = S("区域"), .label = S("区域："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh3"), .items = {}, .chinese = true},
    };
    d.editors += masterdata::partyEditors();
    d.enterRing = {S("客户名称"), S("行业"), S("类别"), S("区域"), S("联系地址"), S("联系人"),
                   S("联系电话"), S("开户银行"), S("银行帐号"), S("电子信箱"), S("备注")};
    d.quickSearch = {{.objectName = S("Edit3"), .label = S("客户名称："), .column = S("客户名称"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true}};
    d.quickSearchHead = {S("select * from 上游客户 ")};
    d.quickSearchOrder = S("order by 客户名称");
    d.memoField = S("备注");
    buildMaster(d);
}

bool TForm_guestinfo::checks()
{
    if (!requireText(S("客户名称"), S("客户名称不能为空,请重新输入!")))
        return false;
    // Looked up as typed, blanks included.
    if (isDuplicate({S("select * from 上游客户 "), S("where 客户名称='") + db::q(editorText(S("客户名称"))) + S("'")},
                    {S("客户名称")}))
        return fail(S("客户名称重复,请重新输入!"), S("客户名称"), msg::Icon::Information);
    return true;
}
