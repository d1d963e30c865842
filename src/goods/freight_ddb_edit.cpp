#include "goods/freight_ddb_edit.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/savestep.h"
#include "db/quote.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "goods/freight_ddb.h"
#include "goods/freight_ysd.h"
#include "goods/freight_ysd_list.h"
#include "goods/rules.h"
#include "goods/xzfreight_ysd.h"
#include "masterdata/carinfo.h"

using namespace data;

TForm_freight_ddb_edit::TForm_freight_ddb_edit(QWidget *owner) : EditorWindow(owner)
{
    setObjectName(S("Form_freight_ddb_edit"));
    EditWindowDecl d;
    d.caption = S("普通货物调度单编辑");
    d.query = Dm1->q_freight_ddb;
    d.search = Dm1->q_search;
    d.style = EditorStyle::TwoStates;
    d.buttons = twoStateButtons({
        {.role = Role::Choose, .objectName = S("choose_ysd"), .caption = S("选择运输单"),
         .handler = [this] { choose_ysdClick(); }},
        {.role = Role::Choose, .objectName = S("choose_car"), .caption = S("选择运输车辆"),
         .handler = [this] { choose_carClick(); }},
    });
    d.editors = {
        {.field = S("调度单号"), .label = S("调度单号："), .objectName = S("DBEdit6")},
        {.field = S("运输金额"), .label = S("运输费用："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2")},
        {.field = S("发货日期"), .label = S("发货日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh1")},
        {.field = S("到货日期"), .label = S("到货日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh2")},
        {.field = S("起始地"), .label = S("起始地："), .objectName = S("DBEdit1"), .chinese = true},
        {.field = S("目的地"), .label = S("目的地："), .objectName = S("DBEdit3"), .chinese = true},
        {.field = S("承运单位"), .label = S("承运单位："), .objectName = S("DBEdit4"), .alwaysReadOnly = true, .span = 2},
        {.field = S("车牌号"), .label = S("车牌号："), .objectName = S("DBEdit9"), .alwaysReadOnly = true},
        {.field = S("驾驶员"), .label = S("驾驶员："), .objectName = S("DBEdit2"), .chinese = true},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 4},
    };
    d.panelColumns = 4;
    d.enterRing = {S("调度单号"), S("运输金额"), S("发货日期"), S("到货日期"), S("起始地"), S("目的地"),
                   S("承运单位"), S("车牌号"), S("驾驶员"), S("备注")};
    d.focusField = S("调度单号");
    d.savedMessage = S("保存完毕！");
    d.memoField = S("备注");
    d.attached = {
        .query = Dm1->q_freight_ysd,
        .objectName = S("DBGridEh1"),
        .columns = [] {
            grid::Columns c = goods::orderColumns();
            c.removeIf([](const grid::Column &col) { return col.field == S("操作员") || col.field == S("操作日期"); });
            c.insert(c.size() - 1, grid::Column{.field = S("调度单号"), .title = S("调度单号"), .width = 110});
            return c;
        }(),
        .reload = [](db::Query &dispatch) {
            return goods::dispatchOrders(dispatch.isEmpty() ? QString() : dispatch.field(S("调度单号")).asString());
        },
        .sortable = true,
        .note = S("提示：双击鼠标查看运输单内容！"),
        .buttons = {{.role = Role::Custom, .objectName = S("SpeedButton5"), .caption = S("取消当前调度单"),
                     .handler = [this] { SpeedButton5Click(); }}},
        .doubleClick = [this] { showOrder(); },
    };
    build(d);
    resize(960, 620);
    editorFor(S("备注"))->setFixedHeight(2 * editorFor(S("调度单号"))->sizeHint().height());
}

bool TForm_freight_ddb_edit::checks()
{
    auto *q = query();
    if (!hasOrders()) {
        fail(S("没有选择运输单,请重新选择！"), {});
        choose_ysdClick();
        return false;
    }
    if (!requireText(S("调度单号"), S("调度单号不能为空,请重新输入!")))
        return false;
    if (q->field(S("发货日期")).isNull())
        return fail(S("发货日期不能为空,请重新输入!"), S("发货日期"));
    const QDate sent = q->field(S("发货日期")).asDate(), arrived = q->field(S("到货日期")).asDate();
    if (arrived.isValid() && sent > arrived)
        return fail(S("到货时间不能小于发货日期,请重新输入!"), S("到货日期"));
    if (!requireText(S("起始地"), S("起始地不能为空,请重新输入!"))
        || !requireText(S("目的地"), S("目的地不能为空,请重新输入!")))
        return false;
    if (isDuplicate({S("select * from 普通货物调度单 "), S("where (调度单号='") + db::q(editorText(S("调度单号"))) + S("')")},
                    {S("调度单号")}))
        return fail(S("调度单号不能重复,请重新输入!"), S("调度单号"), msg::Icon::Information);
    return true;
}

bool TForm_freight_ddb_edit::hasOrders()
{
    // Counted in the database: a new dispatch's grid lists the free orders
    // until it is reloaded, and they must not pass for orders of its own. A
    // number not typed yet is refused by the next check.
    auto *q = query();
    const QString typed = q->field(S("调度单号")).asString();
    if (typed.trimmed().isEmpty())
        return true;
    const QString read = q->state() == db::Query::Insert ? typed : goods::numberAsRead(*q, S("调度单号"));
    db::Query *s = Dm1->q_search;
    s->reopenWith({S("select count(*) as n from 普通货物运输单 "),
                   S("where (调度单号='") + db::q(typed) + S("')or(调度单号='") + db::q(read) + S("')")});
    const bool any = s->field(S("n")).asInteger() > 0;
    s->close();
    return any;
}

void TForm_freight_ddb_edit::beforePost()
{
    // The route the lists and searches show, as an order's is made.
    goods::setRoute(*query());
    m_readNumber = goods::numberAsRead(*query(), S("调度单号"));
}

void TForm_freight_ddb_edit::afterPost()
{
    goods::carryDispatchToOrders(*Dm1->q_search, *query(), m_readNumber, entryRowList());
}

void TForm_freight_ddb_edit::afterSave()
{
    reloadAttached();
}

void TForm_freight_ddb_edit::discardNewEntry()
{
    // Only the orders attached while this dispatch was entered, and only
    // while they still are: never another dispatch's orders.
    if (hasEntryRows())
        Dm1->q_search->execWith({S("update 普通货物运输单 set 调度单号=''"), S("where rowid in (") + entryRowList() + S(")")});
}

void TForm_freight_ddb_edit::choose_ysdClick()
{
    auto *q = query();
    if (!q->isEditing())
        q->edit();
    if (!dbctrls::updateRecord(q))
        return;
    if (!requireText(S("调度单号"), S("调度单号不能为空,请输入!")))
        return;
    if (isDuplicate({S("select * from 普通货物调度单 "), S("where 调度单号='") + db::q(editorText(S("调度单号"))) + S("'")},
                    {S("调度单号")})) {
        fail(S("调度单号不能重复,请重新输入!"), S("调度单号"), msg::Icon::Information);
        return;
    }
    const QString number = q->field(S("调度单号")).asString();
    db::Query *candidates = Dm1->q_search;
    candidates->reopenWith({S("select * from 普通货物运输单 "),
                            S("where (调度单号='") + db::q(number) + S("')or((执行完结='否')and(调度单号=''))"),
                            S("order by 上游客户,运输单号")});
    if (candidates->isEmpty()) {
        msg::info(this, S("该客户没有录入货物,请先增加！"));
        candidates->close();
        return;
    }
    auto chooser = std::make_unique<TForm_xzfreight_ysd>(this);
    chooser->setDispatchNumber(number);
    chooser->setOrderAttached([this](qint64 key) { noteEntryRow(key); });
    data::showModal(chooser.get());
    chooser.reset();
    candidates->close();
    reloadAttached();
}

void TForm_freight_ddb_edit::choose_carClick()
{
    pickVehicle(this, S("普通货物"));
}

void TForm_freight_ddb_edit::SpeedButton5Click()
{
    db::Query *orders = attachedQuery();
    if (!orders->isActive() || orders->isEmpty())
        return;
    if (!msg::confirm(this, S("确实要取消当前记录?"), S("提示")))
        return;
    if (saveRow(this, {.query = orders,
                       .stampOperator = {},
                       .stampDate = {},
                       .refuseReadOnly = true,
                       .beforePost = [orders] { orders->field(S("调度单号")).setAsString(QString()); },
                       .savedMessage = {}})
        != SaveOutcome::Stopped)
        reloadAttached();
}

void TForm_freight_ddb_edit::showOrder()
{
    db::Query *orders = attachedQuery();
    if (!orders->isActive() || orders->isEmpty())
        return;
    Dm1->q_freight_mxb->reopenWith(goods::orderLines(orders->field(S("运输单号")).asString(), true));
    {
        TForm_freight_ysd_list display(this);
        data::showModal(&display);
    }
    Dm1->q_freight_mxb->close();
}
