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
    d.columns = {
        {S("姓名"), S("姓名"), 100, true, true, grid::FooterKind::Text, S("记录数")},
        {S("身份证号"), S("身份证号"), 160, true, true, grid::FooterKind::Count},
        {S("联系电话"), S("联系电话"), 110},
        {S("输入法"), S("输入法"), 130},
        {S("备注"), S("备注"), 200},
    };
    d.minVisible = 4;
    d.fit = true;
    d.dichromaticCaption = S("区分网格");
    d.fitCaption = S("自动匹配列宽");
    d.printTitle = S("操作员及权限打印清单");
    d.exportName = S("操作员");
    d.layoutStore = false;
    d.buttons = {
        {Role::Edit, S("bitbtn_edit"), S("编辑")},
        {Role::Delete, S("SpeedButton1"), S("删除")},
        {Role::Print, S("SpeedButton3"), S("打印")},
        {Role::Export, S("SpeedButton2"), S("导出")},
        {Role::Close, S("SpeedButton4"), S("返回")},
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
