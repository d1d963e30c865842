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
    d.buttons = stageButtons({{.role = Role::Custom, .objectName = S("SpeedButton6"), .caption = S("全部返回"), .when = When::Always,
                                     .handler = [this] { markAllReturned(); }}},
                             [this] { showOrderSearch(this); });
    d.editors = {
        {.field = S("上游客户"), .label = S("上游客户："), .kind = EditorKind::Edit, .objectName = S("DBEdit2"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("运输单号"), .label = S("运输单号："), .kind = EditorKind::Edit, .objectName = S("DBEdit6"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("运输期限从"), .label = S("运输期限从："), .kind = EditorKind::Edit, .objectName = S("DBEdit5"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("箱号"), .label = S("集装箱箱号："), .kind = EditorKind::Edit, .objectName = S("DBEdit7"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("型号规格"), .label = S("型号规格："), .kind = EditorKind::Edit, .objectName = S("DBEdit3"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("运输动态"), .label = S("运输动态："), .kind = EditorKind::Edit, .objectName = S("DBEdit4"), .items = {}, .chinese = false, .alwaysReadOnly = true},
        {.field = S("回单返回"), .label = S("回单返回："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh4"), .items = {S("是"), S("否")}},
        {.field = S("回单返回时间"), .label = S("回单返回时间："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("交单人"), .label = S("交单人："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = true},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
    };
    d.enterRing = {S("回单返回"), S("回单返回时间"), S("交单人")};
    d.enterExtra = {{S("备注"), S("回单返回")}};
    build(container::stageDecl(d), {.flagField = S("回单返回"), .flagMessage = S("回单返回为是或否,请重新输入!"), .dateField = S("回单返回时间"),
                                    .dateMessage = S("回单返回时间不能小于运输期限到,请重新输入!"), .limitField = S("运输期限到")});
}
