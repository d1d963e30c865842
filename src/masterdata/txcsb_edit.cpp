#include "masterdata/txcsb_edit.h"
#include "data/dm1.h"
#include "db/text.h"
#include <QAbstractButton>
#include <QLineEdit>
#include <QRegularExpressionValidator>

using namespace data;

namespace {
constexpr int MaxLead = 5000;
}

TForm_txcsb_edit::TForm_txcsb_edit(QWidget *owner) : EditorWindow(owner)
{
    setObjectName(S("Form_txcsb_edit"));
    EditWindowDecl d;
    d.caption = S("提醒功能初始表编辑 (txcsb)");
    d.query = Dm1->q_txcsb;
    d.style = EditorStyle::Entry;
    d.buttonsBelow = true;
    d.buttons = {
        {.role = Role::Custom, .objectName = S("bitbtn_add"), .caption = S("增加 (&A)"), .when = When::Never},
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘 (&S)")},
        {.role = Role::Cancel, .objectName = S("bitbtn_cancel"), .caption = S("取消 (&C)")},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回 (&R)")},
    };
    d.editors = {
        {.field = S("项目"), .label = S("提醒项目："), .objectName = S("DBEdit1"), .chinese = true, .alwaysReadOnly = true},
        {.field = S("期限"), .label = S("提前提醒单位(天/公里)："), .kind = EditorKind::Whole, .objectName = S("DBNumberEditEh1")},
    };
    d.panelColumns = 1;
    d.enterRing = {S("期限")};
    d.enterSaves = true;
    d.focusField = S("期限");
    d.stampDate.clear();   // the settings keep only who changed them
    d.savedMessage = S("存盘完毕！");
    build(d);
    // The rows come with the database: none is added here.
    button(S("bitbtn_add"))->hide();
    // Whole days or kilometres, four digits at most.
    auto *lead = editorFor(S("期限"));
    qobject_cast<QLineEdit *>(lead)->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), lead));
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

bool TForm_txcsb_edit::checks()
{
    if (!requireText(S("项目"), S("提醒项目不能为空，请从新输入！")))
        return false;
    const db::Field lead = query()->field(S("期限"));
    if (lead.isNull() || lead.asInteger() < 0)
        return fail(S("提前提醒单位必须大于零，请重新输入！"), S("期限"));
    if (lead.asInteger() > MaxLead)
        return fail(S("提前提醒单位不能大于5000，请重新输入！"), S("期限"));
    return true;
}
