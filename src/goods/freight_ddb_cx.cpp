#include "goods/freight_ddb_cx.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/picklist.h"
#include "db/text.h"
#include <QComboBox>
#include <memory>

using namespace data;

TForm_freight_ddb_cx::TForm_freight_ddb_cx(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(S("Form_freight_ddb_cx"));
    const QStringList yesNo{S("是"), S("否")};
    SearchDecl d;
    d.target = Dm1->q_freight_ddb;
    d.table = S("普通货物调度单");
    d.orderLine = S("order by 发货日期");
    d.fields = {
        {.objectName = S("DBComboBoxEh4"), .label = S("上游客户："), .column = S("上游客户"), .kind = EditorKind::Combo,
         .chinese = true},
        {.objectName = S("DBComboBoxEh6"), .label = S("下游运输商："), .column = S("承运单位"), .kind = EditorKind::Combo,
         .chinese = true},
        {.objectName = S("Edit3"), .label = S("调度单号："), .column = S("调度单号"), .term = TermKind::Exact, .upper = true},
        {.objectName = S("Edit5"), .label = S("车牌号："), .column = S("车牌号"), .chinese = true, .upper = true},
        {.objectName = S("Edit1"), .label = S("驾驶员："), .column = S("驾驶员"), .term = TermKind::Exact, .chinese = true,
         .upper = true},
        {.objectName = S("Edit4"), .label = S("运输动态："), .column = S("运输动态"), .chinese = true, .upper = true,
         .format = S("(运输动态 like  '%%1%')")},
        {.objectName = S("DBDateTimeEditEh1"), .label = S("发货日期 从："), .column = S("发货日期"), .term = TermKind::Range,
         .kind = EditorKind::Date, .objectName2 = S("DBDateTimeEditEh2"), .label2 = S("到")},
        {.objectName = S("DBComboBoxEh1"), .label = S("帐款结清："), .column = S("帐款结清"), .term = TermKind::Exact,
         .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("DBComboBoxEh3"), .label = S("执行完结："), .column = S("执行完结"), .term = TermKind::Exact,
         .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("Edit2"), .label = S("备注："), .column = S("备注"), .chinese = true, .upper = true},
    };
    d.enterOrder = {S("DBComboBoxEh4"), S("DBComboBoxEh6"), S("Edit3"), S("Edit5"), S("Edit1"),
                    S("DBDateTimeEditEh1"), S("DBDateTimeEditEh2"), S("Edit4"), S("DBComboBoxEh1"),
                    S("DBComboBoxEh3"), S("Edit2")};
    d.msgIncomplete = S("必须输入完整的发货日期,请重新输入!");
    d.msgOrder = S("发货日期从不能大于发货日期到,请重新输入!");
    build(d);
}

void showFreightDispatchSearch(QWidget *owner)
{
    auto dlg = std::make_unique<TForm_freight_ddb_cx>(owner);
    fillPickLists(Dm1->q_search, {S("select * from 上游客户 "), S("order by 客户名称 ")}, S("客户名称"),
                  {dlg->findChild<QComboBox *>(S("DBComboBoxEh4"))});
    fillPickLists(Dm1->q_search, {S("select * from 下游运输商 "), S("order by 单位名称 ")}, S("单位名称"),
                  {dlg->findChild<QComboBox *>(S("DBComboBoxEh6"))});
    data::showModal(dlg.get());
}
