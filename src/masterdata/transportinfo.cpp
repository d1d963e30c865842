#include "masterdata/transportinfo.h"
#include "db/text.h"
#include "data/dm1.h"
#include "db/quote.h"

using namespace data;

TForm_transportinfo::TForm_transportinfo(QWidget *owner) : MasterListWindow(owner, S("该单位已经有记录,不能删除!"))
{
    setObjectName(S("Form_transportinfo"));
    const QStringList grades = {S("A"), S("B"), S("C"), S("D"), S("E"), S("F"), S("G")};
    ListDecl d;
    d.caption = S("下游运输商资料设置");
    d.module = S("transportinfo");
    d.query = Dm1->q_transportinfo;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "单位名称", .width = 150, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "类别", .width = 60, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "区域", .width = 60, .sortable = true},
    });
    d.columns += masterdata::partyColumns();
    d.printTitle = S("下游运输商资料明细表打印清单");
    d.exportName = S("下游运输商资料明细表");
    d.editors = {
        {.field = S("单位名称"), .label = S("单位名称："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = true},
        {.field = S("类别"), .label = S("类别："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh2"), .items = grades},
        {.field = S("区域"), .label = S("区域："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh3"), .items = grades, .chinese = true},
    };
    d.editors += masterdata::partyEditors();
    d.enterRing = {S("单位名称"), S("类别"), S("区域"), S("联系地址"), S("联系人"), S("电子信箱"),
                   S("联系电话"), S("备注"), S("开户银行"), S("银行帐号")};
    d.quickSearch = {{.objectName = S("Edit3"), .label = S("单位名称："), .column = S("单位名称"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true}};
    d.quickSearchHead = {S("select * from 下游运输商 ")};
    // The search sorts by the carrier code, which this window neither shows nor writes.
    d.quickSearchOrder = S("order by 单位代码");
    d.memoField = S("备注");
    buildMaster(d);
}

bool TForm_transportinfo::checks()
{
    if (!requireText(S("单位名称"), S("单位名称不能为空,请重新输入!")))
        return false;
    if (isDuplicate({S("select * from 下游运输商 "), S("where 单位名称='") + db::q(editorText(S("单位名称"))) + S("'")},
                    {S("单位名称")}))
        return fail(S("单位名称重复,请重新输入!"), S("单位名称"), msg::Icon::Information);
    return true;
}
