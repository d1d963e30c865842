#include "masterdata/masterlist.h"
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
        {Role::Add, QStringLiteral("bitbtn_add"), QStringLiteral("增加")},
        {Role::Edit, QStringLiteral("bitbtn_edit"), QStringLiteral("编辑")},
        {Role::Delete, QStringLiteral("bitbtn_delete"), QStringLiteral("删除")},
        {Role::Save, QStringLiteral("bitbtn_save"), QStringLiteral("存盘")},
        {Role::Cancel, QStringLiteral("bitbtn_cancel"), QStringLiteral("取消")},
        {Role::Export, QStringLiteral("bitbtn_out"), QStringLiteral("导出")},
        {Role::Print, QStringLiteral("bitbtn_print"), QStringLiteral("打印")},
        {Role::ResetLayout, QStringLiteral("SpeedButton1"), QStringLiteral("初始界面")},
        {Role::Custom, QStringLiteral("SpeedButton3"), QStringLiteral("选中"), When::Never, choose},
        {Role::Close, QStringLiteral("SpeedButton4"), QStringLiteral("返回")},
        {Role::Search, QStringLiteral("SpeedButton2"), QStringLiteral("查找")},
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

} // namespace masterdata
