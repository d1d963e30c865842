#include "container/container_ysd_fh.h"
#include "db/text.h"
#include "data/dm1.h"
#include "container/container_ysd.h"
#include "container/container_ysd_cx.h"

using namespace data;

namespace container {

ListDecl stageDecl(ListDecl d)
{
    d.query = Dm1->q_container_ysd;
    d.search = Dm1->q_search;
    declareQuickSearch(d);
    return d;
}

} // namespace container

TForm_container_ysd_fh::TForm_container_ysd_fh(QWidget *owner) : StageWindow(owner)
{
    setObjectName(S("Form_container_ysd_fh"));
    ListDecl d;
    d.caption = S("集装箱运输单回单管理");
    d.module = S("container_ysd_fh");
    d.columns = container::orderColumns({S("收货人"), S("回单返回"), S("回单返回时间"), S("交单人"), S("到达时间"),
                                         S("执行完结"), S("操作员"), S("操作日期"), S("备注")});
    d.printTitle = S("集装箱运输单(回单)明细表打印清单");
    d.exportName = S("集装箱运输单(回单)明细表");
    d.heading = S("以下显示是回单没有返回的记录！");
    d.buttons = stageButtons({{Role::Custom, S("SpeedButton6"), S("全部返回"), When::Always,
                                     [this] { markAllReturned(); }}},
                             [this] { showOrderSearch(this); });
    d.editors = {
        {S("上游客户"), S("上游客户："), EditorKind::Edit, S("DBEdit2"), {}, false, true},
        {S("运输单号"), S("运输单号："), EditorKind::Edit, S("DBEdit6"), {}, false, true},
        {S("运输期限从"), S("运输期限从："), EditorKind::Edit, S("DBEdit5"), {}, false, true},
        {S("箱号"), S("集装箱箱号："), EditorKind::Edit, S("DBEdit7"), {}, false, true},
        {S("型号规格"), S("型号规格："), EditorKind::Edit, S("DBEdit3"), {}, false, true},
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit4"), {}, false, true},
        {S("回单返回"), S("回单返回："), EditorKind::Combo, S("DBComboBoxEh4"), {S("是"), S("否")}},
        {S("回单返回时间"), S("回单返回时间："), EditorKind::Date, S("DBDateTimeEditEh2")},
        {S("交单人"), S("交单人："), EditorKind::Edit, S("DBEdit1"), {}, true},
        {S("备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 3},
    };
    d.enterRing = {S("回单返回"), S("回单返回时间"), S("交单人")};
    d.enterExtra = {{S("备注"), S("回单返回")}};
    build(container::stageDecl(d), {S("回单返回"), S("回单返回为是或否,请重新输入!"), S("回单返回时间"),
                                    S("回单返回时间不能小于运输期限到,请重新输入!"), S("运输期限到")});
}
