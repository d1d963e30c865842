#include "app/qxb.h"
#include "db/text.h"
#include "data/dm1.h"
#include "app/qxb_edit.h"
#include "data/modal.h"

using namespace data;

TForm_qxb::TForm_qxb(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_qxb"));
    ListDecl d;
    d.caption = S("操作员设置");
    d.module = S("qxb");
    d.query = Dm1->q_qxb;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "姓名", .width = 100, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "身份证号", .width = 160, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "联系电话", .width = 110},
        {.field = "输入法", .width = 130},
        {.field = "备注", .width = 200},
    });
    d.minVisible = 4;
    d.fit = true;
    d.dichromaticCaption = S("区分网格");
    d.fitCaption = S("自动匹配列宽");
    d.printTitle = S("操作员及权限打印清单");
    d.exportName = S("操作员");
    d.layoutStore = false;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Delete, .objectName = S("SpeedButton1"), .caption = S("删除")},
        {.role = Role::Print, .objectName = S("SpeedButton3"), .caption = S("打印")},
        {.role = Role::Export, .objectName = S("SpeedButton2"), .caption = S("导出")},
        {.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")},
    };
    d.gridDoubleClickEdits = true;
    build(d);
    resize(760, 480);
}

void TForm_qxb::openEditor()
{
    TForm_qxb_edit w(this);
    w.setInputMethods(app::installedInputMethods());
    data::showModal(&w);
}
