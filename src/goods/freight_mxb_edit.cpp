#include "goods/freight_mxb_edit.h"
#include "data/dm1.h"
#include "db/text.h"
#include <QShowEvent>

using namespace data;

TForm_freight_mxb_edit::TForm_freight_mxb_edit(QWidget *owner) : EditorWindow(owner)
{
    setObjectName(S("Form_freight_mxb_edit"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    EditWindowDecl d;
    d.caption = S("运输货物明细编辑");
    d.query = Dm1->q_freight_mxb;
    d.style = EditorStyle::Entry;
    d.buttonsBelow = true;
    d.buttons = {
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘 (&S)")},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回 (&R)")},
    };
    d.editors = {
        {.field = S("货物名称"), .label = S("货物名称："), .objectName = S("DBEdit1"), .alwaysReadOnly = true},
        {.field = S("类别"), .label = S("类别："), .objectName = S("DBEdit2"), .alwaysReadOnly = true},
        {.field = S("型号规格"), .label = S("型号规格："), .objectName = S("DBEdit3"), .alwaysReadOnly = true},
        {.field = S("数量"), .label = S("数量："), .kind = EditorKind::Decimal, .objectName = S("DBNumberEditEh1")},
        {.field = S("应收运费"), .label = S("运输金额："), .kind = EditorKind::Money, .objectName = S("DBNumberEditEh3")},
        {.field = S("备注"), .label = S("备注："), .objectName = S("DBEditEh4"), .chinese = true, .upper = true},
    };
    d.panelColumns = 1;
    d.enterRing = {S("数量"), S("应收运费"), S("备注")};
    d.enterSaves = true;
    d.focusField = S("数量");
    d.savedMessage = S("保存完毕！");
    build(d);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}

void TForm_freight_mxb_edit::showEvent(QShowEvent *e)
{
    EditorWindow::showEvent(e);
    if (!e->spontaneous())
        focusField({});
}
