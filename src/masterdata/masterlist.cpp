#include "masterdata/masterlist.h"
#include "db/text.h"
#include <QComboBox>

using namespace data;

namespace masterdata {

MasterListWindow::MasterListWindow(QWidget *owner, const QString &inUseMessage)
    : RecordListWindow(owner), m_inUseMessage(inUseMessage)
{
}

void MasterListWindow::buildMaster(ListDecl d, std::function<void()> choose)
{
    d.buttons = {
        {.role = Role::Add, .objectName = QStringLiteral("bitbtn_add"), .caption = QStringLiteral("增加")},
        {.role = Role::Edit, .objectName = QStringLiteral("bitbtn_edit"), .caption = QStringLiteral("编辑")},
        {.role = Role::Delete, .objectName = QStringLiteral("bitbtn_delete"), .caption = QStringLiteral("删除")},
        {.role = Role::Save, .objectName = QStringLiteral("bitbtn_save"), .caption = QStringLiteral("存盘")},
        {.role = Role::Cancel, .objectName = QStringLiteral("bitbtn_cancel"), .caption = QStringLiteral("取消")},
        {.role = Role::Export, .objectName = QStringLiteral("bitbtn_out"), .caption = QStringLiteral("导出")},
        {.role = Role::Print, .objectName = QStringLiteral("bitbtn_print"), .caption = QStringLiteral("打印")},
        {.role = Role::ResetLayout, .objectName = QStringLiteral("SpeedButton1"), .caption = QStringLiteral("初始界面")},
        {.role = Role::Custom, .objectName = QStringLiteral("SpeedButton3"), .caption = QStringLiteral("选中"), .when = When::Never, .handler = choose},
        {.role = Role::Close, .objectName = QStringLiteral("SpeedButton4"), .caption = QStringLiteral("返回")},
        {.role = Role::Search, .objectName = QStringLiteral("SpeedButton2"), .caption = QStringLiteral("查找")},
    };
    build(d);
    for (const EditorDecl &e : d.editors)
        if (auto *c = qobject_cast<QComboBox *>(editorFor(e.field)))
            c->setMaxVisibleItems(20);
}

bool MasterListWindow::canDelete()
{
    if (query()->field(QStringLiteral("开始使用")).asString() == QStringLiteral("是")) {
        msg::hint(this, m_inUseMessage);
        return false;
    }
    return true;
}

grid::Columns partyColumns()
{
    return columns({
        {.field = "联系人", .width = 70},
        {.field = "联系电话", .width = 100},
        {.field = "联系地址", .width = 160, .sortable = true},
        {.field = "开户银行", .width = 120},
        {.field = "银行帐号", .width = 130},
        {.field = "电子信箱", .width = 120},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 160},
        {.field = "停用", .width = 40},
    });
}

QVector<EditorDecl> partyEditors()
{
    return {
        {.field = S("联系地址"), .label = S("联系地址："), .kind = EditorKind::Edit, .objectName = S("DBEdit6"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 2},
        {.field = S("联系人"), .label = S("联系人："), .kind = EditorKind::Edit, .objectName = S("DBEdit7"), .items = {}, .chinese = true},
        {.field = S("联系电话"), .label = S("联系电话："), .kind = EditorKind::Edit, .objectName = S("DBEdit8")},
        {.field = S("开户银行"), .label = S("开户银行："), .kind = EditorKind::Edit, .objectName = S("DBEdit1"), .items = {}, .chinese = true},
        {.field = S("银行帐号"), .label = S("银行帐号："), .kind = EditorKind::Edit, .objectName = S("DBEdit3")},
        {.field = S("电子信箱"), .label = S("电子信箱："), .kind = EditorKind::Edit, .objectName = S("DBEdit5")},
        {.field = S("停用"), .label = S("停止使用："), .kind = EditorKind::Check, .objectName = S("DBCheckBoxEh1")},
        {.field = S("备注"), .label = S("备注："), .kind = EditorKind::Memo, .objectName = S("DBMemo1"), .items = {}, .chinese = true, .alwaysReadOnly = false, .upper = false, .span = 3},
    };
}

} // namespace masterdata
