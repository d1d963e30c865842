#include "other/xjrjz_edit.h"
#include "data/dm1.h"
#include "db/text.h"
#include "other/xjrjz.h"
#include <QEvent>
#include <QShowEvent>

using namespace data;

namespace {
// The balance 增加 carried from the last row; the saves of this run use it
// until the next 增加. The month's recomputation in the same transaction
// makes every stored balance right whatever it was.
db::Money carried;
} // namespace

TForm_xjrjz_edit::TForm_xjrjz_edit(QWidget *owner) : EditorWindow(owner)
{
    setObjectName(S("Form_xjrjz_edit"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    EditWindowDecl d;
    d.caption = S("现金日记帐编辑 (xjrjz)");
    d.query = Dm1->q_xjrjz;
    d.search = Dm1->q_search;
    d.style = EditorStyle::Entry;
    d.buttonsBelow = true;
    d.buttons = {
        {.role = Role::Add, .objectName = S("bitbtn_add"), .caption = S("增加")},
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘")},
        {.role = Role::Cancel, .objectName = S("bitbtn_cancel"), .caption = S("取消")},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回")},
    };
    d.editors = {
        {.field = S("日期"), .label = S("日期："), .kind = EditorKind::Date, .objectName = S("DBDateTimeEditEh1")},
        {.field = S("凭证号"), .label = S("凭证号："), .objectName = S("DBEdit1")},
        {.field = S("摘要"), .label = S("摘要："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"),
         .items = {S("收入"), S("支出")}, .chinese = true},
        {.field = S("明细"), .label = S("明细："), .objectName = S("DBEdit2"), .chinese = true},
        {.field = S("经办人"), .label = S("经办人："), .objectName = S("DBEdit3"), .chinese = true},
        {.field = S("借方"), .label = S("借方(增加)："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh1")},
        {.field = S("贷方"), .label = S("贷方(减少)："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh2")},
        {.field = S("余额"), .label = S("余额："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh3"),
         .alwaysReadOnly = true},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .chinese = true,
         .span = 2},
    };
    d.panelColumns = 2;
    d.enterRing = {S("日期"), S("凭证号"), S("摘要"), S("明细"), S("经办人"), S("借方"), S("备注")};
    d.enterSaves = true;
    d.enterExtra = {{S("贷方"), S("备注")}};
    d.focusField = S("日期");
    d.memoField = S("备注");
    d.note = S("提示：摘要只能是租赁收入和费用支出，租赁收入对应借方(增加)，费用支出对应贷方(减少)。");
    build(d);
    editorFor(S("余额"))->setToolTip(S("只读字段，不能编辑！"));
    for (const char *f : {"借方", "贷方"})
        editorFor(S(f))->installEventFilter(this);
    setMinimumWidth(560);
}

QWidget *TForm_xjrjz_edit::amountEditor() const
{
    const QString kind = editorText(S("摘要")).trimmed();
    if (kind == S("收入"))
        return editorFor(S("借方"));
    if (kind == S("支出"))
        return editorFor(S("贷方"));
    return editorFor(S("摘要"));
}

bool TForm_xjrjz_edit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        QWidget *target = amountEditor();
        if (target && target != watched)
            target->setFocus(Qt::OtherFocusReason);
    }
    return EditorWindow::eventFilter(watched, event);
}

bool TForm_xjrjz_edit::checks()
{
    db::Query *q = query();
    if (!other::accountingPeriod().contains(q->field(S("日期")).asDate())) {
        // Another month stays as it is: the change (a new row with it) is dropped.
        fail(S("不能编辑结算时间以外的数据!"), {});
        q->cancel();
        setEditing(false, false);
        return false;
    }
    if (!requireText(S("摘要"), S("摘要不能为空,请重新输入!")))
        return false;
    const db::Money debit = q->field(S("借方")).asMoney(), credit = q->field(S("贷方")).asMoney();
    if (!debit.isZero() && !credit.isZero())
        return fail(S("借方和贷方不能同时有金额,请重新输入!"), S("借方"));
    if (debit.isZero() && credit.isZero())
        return fail(S("借方和贷方不能同时为零,请重新输入!"), S("借方"));
    return true;
}

void TForm_xjrjz_edit::beforeAppend()
{
    db::Query *q = query();
    q->last();
    carried = q->isEmpty() ? db::Money() : q->field(S("余额")).asMoney();
}

void TForm_xjrjz_edit::afterAppend()
{
    query()->field(S("日期")).setAsDate(QDate::currentDate());
}

void TForm_xjrjz_edit::beforePost()
{
    db::Query *q = query();
    other::lockJournal(*q->connection());
    q->field(S("余额")).setAsMoney(carried + q->field(S("借方")).asMoney() - q->field(S("贷方")).asMoney());
}

void TForm_xjrjz_edit::afterPost()
{
    other::recomputeBalances(*query());
}

void TForm_xjrjz_edit::showEvent(QShowEvent *e)
{
    EditorWindow::showEvent(e);
    if (!e->spontaneous())
        focusField({});
}
