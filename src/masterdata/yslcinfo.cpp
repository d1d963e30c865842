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
    d.columns = {
        {S("起点"), S("起点"), 100, true, true, grid::FooterKind::Text, S("记录数")},
        {S("终点"), S("终点"), 100, true, true, grid::FooterKind::Count},
        {S("运输动态"), S("运输动态"), 180, true, true},
        {S("公路里程"), S("公路里程"), 70},
        {S("运行轨迹"), S("运行轨迹"), 220},
        {S("操作员"), S("操作员"), 70},
        {S("操作日期"), S("操作日期"), 130},
        {S("备注"), S("备注"), 160},
        {S("停用"), S("停用"), 40},
    };
    d.printTitle = S("运输动态明细表打印清单");
    d.exportName = S("运输动态明细表");
    d.editors = {
        {S("起点"), S("起点："), EditorKind::Combo, S("DBComboBoxEh3"), {S("武汉"), S("杨泗港"), QString()}, true},
        {S("终点"), S("终点："), EditorKind::Combo, S("DBComboBoxEh1"), {}, true},
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit1"), {}, false, true},
        {S("公路里程"), S("公路里程："), EditorKind::Whole, S("DBNumberEditEh1")},
        {S("停用"), S("停止使用："), EditorKind::Check, S("DBCheckBoxEh1")},
        {S("运行轨迹"), S("运行轨迹："), EditorKind::Memo, S("DBMemo2"), {}, true, false, false, 3},
        {S("备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 3},
    };
    d.enterRing = {S("起点"), S("终点"), S("公路里程"), S("运行轨迹"), S("备注")};
    d.quickSearch = {{S("Edit3"), S("运输动态："), S("运输动态"), TermKind::Like, EditorKind::Edit, {}, true}};
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
