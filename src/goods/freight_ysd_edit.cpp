#include "goods/freight_ysd_edit.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "goods/freight_mxb_edit.h"
#include "goods/freight_ysd.h"
#include "goods/rules.h"
#include "goods/xzfreight.h"
#include "grid/dbgrideh.h"
#include "masterdata/deliveryinfo.h"
#include <QComboBox>

using namespace data;

TForm_freight_ysd_edit::TForm_freight_ysd_edit(QWidget *owner) : EditorWindow(owner)
{
    setObjectName(S("Form_freight_ysd_edit"));
    EditWindowDecl d;
    d.caption = S("普通货物运输单编辑");
    d.query = Dm1->q_freight_ysd;
    d.search = Dm1->q_search;
    d.style = EditorStyle::TwoStates;
    d.buttons = twoStateButtons({
        {.role = Role::Choose, .objectName = S("choose_freight"), .caption = S("选择货物"),
         .handler = [this] { choose_freightClick(); }},
        {.role = Role::Choose, .objectName = S("choose_delivery"), .caption = S("选择收货人"),
         .handler = [this] { choose_deliveryClick(); }},
    });
    d.editors = {
        {.field = S("上游客户"), .label = S("上游客户："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh2"),
         .chinese = true, .span = 2},
        {.field = S("运输单号"), .label = S("运输单号："), .objectName = S("DBEdit6")},
        {.field = S("收货日期"), .label = S("收货日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh4")},
        {.field = S("发货日期"), .label = S("发货日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh1")},
        {.field = S("到货日期"), .label = S("到货日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("应收运费"), .label = S("应收运费："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2")},
        {.field = S("起始地"), .label = S("起始地："), .objectName = S("DBEdit1"), .chinese = true},
        {.field = S("目的地"), .label = S("目的地："), .objectName = S("DBEdit3"), .chinese = true},
        {.field = S("收货人"), .label = S("收货人："), .objectName = S("DBEdit9"), .chinese = true, .span = 2},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 2},
    };
    d.panelColumns = 4;
    d.enterRing = {S("运输单号"), S("收货日期"), S("发货日期"), S("到货日期"), S("应收运费"),
                   S("起始地"), S("目的地"), S("收货人"), S("备注")};
    d.enterExtra = {{S("上游客户"), S("运输单号")}};
    d.focusField = S("上游客户");
    d.savedMessage = S("保存完毕！");
    d.memoField = S("备注");
    d.attached = {
        .query = Dm1->q_freight_mxb,
        .objectName = S("DBGrideh1"),
        .columns = goods::lineColumns(),
        .reload = [](db::Query &order) {
            return goods::orderLines(order.isEmpty() ? QString() : order.field(S("运输单号")).asString(), false);
        },
        .buttons = {
            {.role = Role::Custom, .objectName = S("SpeedButton6"), .caption = S("编辑当前货物"),
             .handler = [this] { SpeedButton6Click(); }},
            {.role = Role::Custom, .objectName = S("SpeedButton5"), .caption = S("删除当前货物"),
             .handler = [this] { SpeedButton5Click(); }},
        },
        .doubleClick = [this] { SpeedButton6Click(); },
    };
    build(d);
    resize(900, 600);
    static_cast<QComboBox *>(editorFor(S("上游客户")))->setMaxVisibleItems(20);
    editorFor(S("备注"))->setFixedHeight(editorFor(S("运输单号"))->sizeHint().height());
}

bool TForm_freight_ysd_edit::duplicateNumber(const QString &before, const QString &after)
{
    return isDuplicate({S("select * from 普通货物运输单 "), before + db::q(editorText(S("运输单号"))) + after},
                       {S("运输单号")});
}

bool TForm_freight_ysd_edit::checks()
{
    auto *q = query();
    if (!requireText(S("上游客户"), S("上游客户不能为空,请重新输入!"))
        || !requireText(S("运输单号"), S("运输单号不能为空,请重新输入!")))
        return false;
    if (q->field(S("发货日期")).isNull())
        return fail(S("发货日期不能为空,请重新输入!"), S("发货日期"));
    const QDate sent = q->field(S("发货日期")).asDate(), arrived = q->field(S("到货日期")).asDate();
    if (arrived.isValid() && sent > arrived)
        return fail(S("到货时间不能小于发货日期,请重新输入!"), S("到货日期"));
    if (!requireText(S("起始地"), S("起始地不能为空,请重新输入!"))
        || !requireText(S("目的地"), S("目的地不能为空,请重新输入!")))
        return false;
    // The number is unique over all goods orders, whatever the customer.
    if (duplicateNumber(S("where (运输单号='"), S("')")))
        return fail(S("运输单号不能重复,请重新输入!"), S("运输单号"), msg::Icon::Information);
    return true;
}

void TForm_freight_ysd_edit::beforePost()
{
    goods::setRoute(*query());
    m_readNumber = goods::numberAsRead(*query(), S("运输单号"));
}

void TForm_freight_ysd_edit::afterPost()
{
    goods::carryOrderToLines(*Dm1->q_search, *query(), m_readNumber, entryRowList());
}

void TForm_freight_ysd_edit::afterSave()
{
    // The lines are the saved order's now, under its saved number.
    reloadAttached();
}

void TForm_freight_ysd_edit::discardNewEntry()
{
    // Only the lines the chooser stored for this new order: never lines of
    // a saved order that has (or had) the same number.
    if (hasEntryRows())
        Dm1->q_search->execWith({S("delete from 普通货物运输单明细 where rowid in (") + entryRowList() + S(")")});
}

void TForm_freight_ysd_edit::choose_freightClick()
{
    auto *q = query();
    if (!q->isEditing())
        q->edit();
    if (!dbctrls::updateRecord(q))
        return;
    if (!requireText(S("上游客户"), S("上游客户不能为空,请输入!"))
        || !requireText(S("运输单号"), S("运输单号不能为空,请输入!")))
        return;
    if (q->field(S("发货日期")).isNull()) {
        fail(S("发货日期不能为空,请输入!"), S("发货日期"));
        return;
    }
    if (duplicateNumber(S("where 运输单号='"), S("'"))) {
        fail(S("运输单号不能重复,请重新输入!"), S("运输单号"), msg::Icon::Information);
        return;
    }
    const QString customer = editorText(S("上游客户"));
    auto chooser = std::make_unique<TForm_xzfreight>(this);
    db::Query *goodsList = Dm1->q_woodinfo;
    goodsList->reopenWith({S("select * from 货物信息 "), S("where 客户名称='") + db::q(customer) + S("'"),
                           S("order by 货物名称")});
    if (goodsList->isEmpty()) {
        msg::info(this, S("该客户没有录入货物,请先增加！"));
        goodsList->close();
        return;
    }
    chooser->setCustomer(customer);
    chooser->setLineStored([this](qint64 key) { noteEntryRow(key); });
    // The chooser shows the lines typed under this number so far.
    reloadAttached();
    data::showModal(chooser.get());
    chooser.reset();
    goodsList->close();
    reloadAttached();
}

void TForm_freight_ysd_edit::choose_deliveryClick()
{
    pickConsignee(this, S("普通货物"), editorText(S("上游客户")));
}

void TForm_freight_ysd_edit::SpeedButton6Click()
{
    db::Query *lines = attachedQuery();
    if (!lines->isActive() || lines->isEmpty())
        return;
    TForm_freight_mxb_edit editor(this);
    data::showModal(&editor);
}

void TForm_freight_ysd_edit::SpeedButton5Click()
{
    db::Query *lines = attachedQuery();
    if (!lines->isActive() || lines->isEmpty())
        return;
    if (msg::confirm(this, S("确实要删除当前记录?"), S("提示")))
        deleteCurrentRow(this, lines);
}
