#include "container/container_ysd_sk.h"
#include "db/text.h"
#include "container/container_ysd.h"
#include "container/container_ysd_cx.h"
#include "container/container_ysd_fh.h"

using namespace data;

TForm_container_ysd_sk::TForm_container_ysd_sk(QWidget *owner) : StageWindow(owner)
{
    setObjectName(S("Form_container_ysd_sk"));
    ListDecl d;
    d.caption = S("集装箱运输单收款管理");
    d.module = S("container_ysd_sk");
    d.columns = container::orderColumns({S("帐款结清"), S("实收运费"), S("收款日期"), S("收款人"), S("收货人"),
                                         S("回单返回"), S("回单返回时间"), S("交单人"), S("到达时间"), S("执行完结"),
                                         S("操作员"), S("操作日期"), S("备注")});
    d.printTitle = S("集装箱运输单(收款)明细表打印清单");
    d.exportName = S("集装箱运输单(收款)明细表");
    d.heading = S("以下显示是帐款没有结清的记录！");
    d.buttons = stageButtons({}, [this] { showOrderSearch(this); });
    d.editors = {
        {S("上游客户"), S("上游客户："), EditorKind::Edit, S("DBEdit2"), {}, false, true},
        {S("运输单号"), S("运输单号："), EditorKind::Edit, S("DBEdit6"), {}, false, true},
        {S("应收运费"), S("应收运费："), EditorKind::Edit, S("DBEdit5"), {}, false, true},
        {S("箱号"), S("集装箱箱号："), EditorKind::Edit, S("DBEdit7"), {}, false, true},
        {S("型号规格"), S("型号规格："), EditorKind::Edit, S("DBEdit3"), {}, false, true},
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit4"), {}, false, true},
        {S("实收运费"), S("实收运费："), EditorKind::Money, S("DBNumberEditEh1")},
        {S("帐款结清"), S("帐款结清："), EditorKind::Combo, S("DBComboBoxEh4"), {S("是"), S("否")}},
        {S("收款日期"), S("收款日期："), EditorKind::Date, S("DBDateTimeEditEh2")},
        {S("收款人"), S("收款人："), EditorKind::Edit, S("DBEdit1"), {}, true},
        {S("备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 2},
    };
    d.enterRing = {S("实收运费"), S("帐款结清"), S("收款日期"), S("收款人"), S("备注")};
    build(container::stageDecl(d), {S("帐款结清"), S("帐款结清为是或否,请重新输入!"), S("收款日期"),
                                    S("收款日期不能小于运输期限到,请重新输入!"), S("运输期限到")});
}
