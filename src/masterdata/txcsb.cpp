#include "masterdata/txcsb.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "db/text.h"
#include "masterdata/txcsb_edit.h"

using namespace data;

TForm_txcsb::TForm_txcsb(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_txcsb"));
    ListDecl d;
    d.caption = S("提醒功能初始表");
    d.module = S("txcsb");
    d.query = Dm1->q_txcsb;
    d.search = Dm1->q_search;
    d.columns = {
        {.field = S("项目"), .title = S("提醒项目"), .width = 160, .footer = grid::FooterKind::Text, .footerText = S("记录数")},
        {.field = S("期限"), .title = S("提前提醒单位(天/公里)"), .width = 160, .footer = grid::FooterKind::Count},
    };
    d.fit = true;
    d.dichromaticCaption = S("区分网格");
    d.printTitle = S("提醒功能初始表打印清单");
    d.exportName = S("提醒功能初始表");
    d.layoutStore = false;
    d.gridDoubleClickEdits = true;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Export, .objectName = S("bitbtn_out"), .caption = S("导出")},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回")},
    };
    build(d);
    resize(560, 420);
}

void TForm_txcsb::openEditor()
{
    if (!query()->isActive() || query()->isEmpty())
        return;   // nothing to edit, and no row may be added here
    TForm_txcsb_edit editor(this);
    data::showModal(&editor);
}
