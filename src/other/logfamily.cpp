#include "other/logfamily.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/picklist.h"
#include "db/text.h"
#include <QComboBox>
#include <QShowEvent>
#include <memory>

using namespace data;

namespace other {

EditorDecl plateEditor()
{
    return {.field = S("车牌号"), .label = S("车牌号："), .kind = EditorKind::Combo, .objectName = S("DBComboBoxEh1"),
            .chinese = true};
}

EditorDecl handlerCombo(const char *objectName)
{
    return {.field = S("经办人"), .label = S("经办人："), .kind = EditorKind::Combo, .objectName = S(objectName),
            .chinese = true};
}

EditorDecl moneyEditor(const char *field, const char *label, const char *objectName, bool readOnly)
{
    return {.field = S(field), .label = S(label), .kind = EditorKind::Money, .objectName = S(objectName),
            .alwaysReadOnly = readOnly};
}

EditorDecl remarkEditor()
{
    return {.field = S("备注"), .label = S("备注："), .objectName = S("DBEditEh4"), .chinese = true, .span = 2};
}

void fillPlates(QComboBox *combo)
{
    fillPickLists(Dm1->q_carinfo, {S("select * from "), S("承运车辆"), S("order by 车牌号")}, S("车牌号"), {combo});
}

LogList::LogList(QWidget *owner, const LogDecl &log) : RecordListWindow(owner), m_log(log)
{
    setObjectName(S("Form_") + log.module);
    ListDecl d;
    d.caption = log.listCaption;
    d.module = log.module;
    d.query = Dm1->*log.query;
    d.search = Dm1->q_search;
    d.columns = log.columns;
    d.minVisible = 6;
    d.fit = true;
    d.dichromaticCaption = S("区分网格");
    d.fitCaption = S("自动匹配列宽");
    d.printTitle = log.printTitle;
    d.exportName = log.exportName;
    d.layoutStore = false;
    d.gridDoubleClickEdits = true;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Delete, .objectName = S("SpeedButton1"), .caption = S("删除")},
        {.role = Role::Custom, .objectName = S("SpeedButton5"), .caption = S("查询"), .when = When::Always, .handler = [this] { openSearch(); }},
        {.role = Role::Print, .objectName = S("SpeedButton3"), .caption = S("打印")},
        {.role = Role::Export, .objectName = S("SpeedButton2"), .caption = S("导出")},
        {.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")},
    };
    build(d);
}

void LogList::openEditor()
{
    std::unique_ptr<EditorWindow> editor(m_log.newEditor(this));
    fillPlates(editor->findChild<QComboBox *>(S("DBComboBoxEh1")));
    data::showModal(editor.get());
}

void LogList::openSearch()
{
    std::unique_ptr<SearchDialog> dlg(m_log.newSearch(this));
    fillPlates(dlg->findChild<QComboBox *>(S("DBComboBoxEh1")));
    data::showModal(dlg.get());
}

LogEditor::LogEditor(QWidget *owner, const LogDecl &log) : EditorWindow(owner), m_log(log)
{
    setObjectName(S("Form_%1_edit").arg(log.module));
    EditWindowDecl d;
    d.caption = log.editCaption;
    d.query = Dm1->*log.query;
    d.search = Dm1->q_search;
    d.style = EditorStyle::Entry;
    d.buttonsBelow = true;
    d.buttons = {
        {.role = Role::Add, .objectName = S("bitbtn_add"), .caption = S("增加 (&A)")},
        {.role = Role::Save, .objectName = S("bitbtn_save"), .caption = S("存盘 (&S)")},
        {.role = Role::Cancel, .objectName = S("bitbtn_cancel"), .caption = S("取消 (&C)")},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回 (&R)")},
    };
    d.editors = log.editors;
    d.panelColumns = 2;
    d.enterRing = log.enterRing;
    d.enterSaves = true;
    d.enterExtra = log.enterExtra;
    d.focusField = S("车牌号");
    build(d);
    setMinimumWidth(560);
}

bool LogEditor::checks()
{
    return requireText(S("车牌号"), S("车牌号不能为空,请重新输入!"));
}

void LogEditor::beforePost()
{
    if (m_log.compute)
        m_log.compute(*query());
}

void LogEditor::afterPost()
{
    if (m_log.alsoWrite)
        m_log.alsoWrite(*query());
}

void LogEditor::showEvent(QShowEvent *e)
{
    EditorWindow::showEvent(e);
    if (!e->spontaneous())
        focusField({});
}

LogSearch::LogSearch(QWidget *owner, const LogDecl &log) : SearchDialog(owner)
{
    setObjectName(S("Form_%1_cx").arg(log.module));
    SearchDecl d;
    d.target = Dm1->*log.query;
    d.table = log.table;
    d.headLines = {S("select * from "), log.table};
    d.orderLine = S("order by 车牌号");
    d.fields = {
        {.objectName = S("DBComboBoxEh1"), .label = S("车牌号："), .column = S("车牌号"), .term = TermKind::Exact,
         .kind = EditorKind::Combo, .chinese = true},
        {.objectName = S("DBComboBoxEh2"), .label = S("经办人："), .column = S("经办人"), .term = TermKind::Exact,
         .kind = EditorKind::Combo, .chinese = true},
    };
    d.fields += log.moreCriteria;
    // The whole of the last day belongs to the period.
    d.fields << SearchField{.objectName = S("DBDateTimeEditEh1"), .label = log.periodLabel, .column = log.dateField,
                            .term = TermKind::Range, .kind = EditorKind::Date, .objectName2 = S("DBDateTimeEditEh2"),
                            .label2 = S("到："),
                            .format = S("(%1 between cdate('%2 0:0:0') and cdate('%3 23:59:59'))").arg(log.dateField,
                                                                                                      S("%1"), S("%2"))};
    d.enterOrder = {S("DBComboBoxEh1"), S("DBDateTimeEditEh1"), S("DBDateTimeEditEh2"), S("DBComboBoxEh2")};
    for (const SearchField &f : log.moreCriteria)
        d.enterOrder << f.objectName;
    d.msgIncomplete = log.msgDateIncomplete;
    d.msgOrder = log.msgDateOrder;
    d.msgNoCondition = S("没有输入查询条件,请重新输入!");
    d.askAgainWhenEmpty = false;
    d.seekCaption = S("查询 (&F)");
    d.columns = 1;
    build(d);
    setWindowTitle(log.searchCaption);
}

} // namespace other
