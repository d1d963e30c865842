#include "masterdata/yslcinfo.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/memowindow.h"
#include "db/quote.h"
#include "dbctrls/editors.h"

using namespace data;

TForm_yslcinfo::TForm_yslcinfo(QWidget *owner) : MasterListWindow(owner, S("该客户已经有记录,不能删除!"))
{
    setObjectName(S("Form_yslcinfo"));
    ListDecl d;
    d.caption = S("运输动态设置");
    d.module = S("yslcinfo");
    d.query = Dm1->q_yslcinfo;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "起点", .width = 100, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "终点", .width = 100, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "运输动态", .width = 180, .sortable = true},
        {.field = "公路里程", .width = 70},
        {.field = "运行轨迹", .width = 220},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 160},
        {.field = "停用", .width = 40},
    });
    d.printTitle = S("运输动态明细表打印清单");
    d.exportName = S("运输动态明细表");
    d.editors = {
        {.field = S("起点"), .label = S("起点："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh3"), .items = {S("武汉"), S("杨泗港"), QString()}, .chinese = true},
        {.field = S("终点"), .label = S("终点："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"), .items = {}, .chinese = true},
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("公路里程"), .label = S("公路里程："), .kind = EditorKind::Whole, .objectName = S("DBNumberEditEh1")},
        {.field = S("停用"), .label = S("停止使用："), .kind = EditorKind::Check, .objectName = S("DBCheckBoxEh1")},
        {.field = S("运行轨迹"), .label = S("运行轨迹："), .kind = EditorKind::Memo, .objectName = S("DBMemo2"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
    };
    d.enterRing = {S("起点"), S("终点"), S("公路里程"), S("运行轨迹"), S("备注")};
    d.quickSearch = {{.objectName = S("Edit3"), .label = S("运输动态："), .column = S("运输动态"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true}};
    d.quickSearchHead = {S("select * from 公路里程 ")};
    d.quickSearchOrder = S("order by 运输动态");
    d.quickSearchEnter = StripEnter::Nothing;
    d.memoField = S("备注");
    buildMaster(d);

    // The route description's memo opens the memo window too, on the remarks.
    if (auto *route = findChild<dbctrls::DBMemo *>(S("DBMemo2")))
        connect(route, &dbctrls::DBMemo::doubleClicked, this, [this] {
            if (!editing())
                return;
            TForm_bz memo(this, query(), S("备注"));
            memo.exec();
        });
}

bool TForm_yslcinfo::checks()
{
    if (!requireText(S("起点"), S("起点不能为空,请重新输入!")))
        return false;
    if (!requireText(S("终点"), S("终点不能为空,请重新输入!")))
        return false;
    if (query()->field(S("起点")).asString() == query()->field(S("终点")).asString())
        return fail(S("起点不能等于终点,请重新输入!"), S("终点"));
    if (isDuplicate({S("select * from 公路里程 "), S("where (起点='") + db::q(editorText(S("起点"))) + S("')and(终点='") +
                                                       db::q(editorText(S("终点"))) + S("')")},
                    {S("起点"), S("终点")}))
        return fail(S("运输动态重复,请重新输入!"), S("起点"), msg::Icon::Information);
    return true;
}

void TForm_yslcinfo::beforePost()
{
    db::Query *q = query();
    q->field(S("运输动态")).setAsString(q->field(S("起点")).asString() + S("-") + q->field(S("终点")).asString());
}
