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

grid::Columns partyColumns()
{
    return {
        {S("联系人"), S("联系人"), 70},
        {S("联系电话"), S("联系电话"), 100},
        {S("联系地址"), S("联系地址"), 160, true, true},
        {S("开户银行"), S("开户银行"), 120},
        {S("银行帐号"), S("银行帐号"), 130},
        {S("电子信箱"), S("电子信箱"), 120},
        {S("操作员"), S("操作员"), 70},
        {S("操作日期"), S("操作日期"), 130},
        {S("备注"), S("备注"), 160},
        {S("停用"), S("停用"), 40},
    };
}

QVector<EditorDecl> partyEditors()
{
    return {
        {S("联系地址"), S("联系地址："), EditorKind::Edit, S("DBEdit6"), {}, true, false, false, 2},
        {S("联系人"), S("联系人："), EditorKind::Edit, S("DBEdit7"), {}, true},
        {S("联系电话"), S("联系电话："), EditorKind::Edit, S("DBEdit8")},
        {S("开户银行"), S("开户银行："), EditorKind::Edit, S("DBEdit1"), {}, true},
        {S("银行帐号"), S("银行帐号："), EditorKind::Edit, S("DBEdit3")},
        {S("电子信箱"), S("电子信箱："), EditorKind::Edit, S("DBEdit5")},
        {S("停用"), S("停止使用："), EditorKind::Check, S("DBCheckBoxEh1")},
        {S("备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 3},
    };
}

} // namespace masterdata
