#include "container/container_ysd_cx.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/picklist.h"
#include <QComboBox>
#include <memory>

using namespace data;

TForm_container_ysd_cx::TForm_container_ysd_cx(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(S("Form_container_ysd_cx"));
    const QStringList yesNo{S("是"), S("否")};
    SearchDecl d;
    d.target = Dm1->q_container_ysd;
    d.table = S("集装箱运输单");
    d.orderLine = S("order by 运输期限从");
    d.fields = {
        {.objectName = S("DBComboBoxEh4"), .label = S("上游客户："), .column = S("上游客户"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("Edit3"), .label = S("运输单号："), .column = S("运输单号"), .term = TermKind::Exact, .kind = EditorKind::Edit, .items = {}, .chinese = false, .upper = true},
        {.objectName = S("Edit5"), .label = S("船名航班："), .column = S("船名航班"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
        {.objectName = S("Edit1"), .label = S("箱号："), .column = S("箱号"), .term = TermKind::Exact, .kind = EditorKind::Edit, .items = {}, .chinese = false, .upper = true},
        {.objectName = S("DBComboBoxEh7"), .label = S("型号规格："), .column = S("型号规格"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {S("20"), S("40")}},
        {.objectName = S("Edit4"), .label = S("运输动态："), .column = S("运输动态"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
        {.objectName = S("DBComboBoxEh5"), .label = S("收货人："), .column = S("收货人"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("DBDateTimeEditEh1"), .label = S("运输期限 从："), .column = S("运输期限从"), .term = TermKind::Range, .kind = EditorKind::Date, .items = {}, .chinese = false, .upper = false,
         .objectName2 = S("DBDateTimeEditEh2"), .label2 = S("到")},
        {.objectName = S("DBComboBoxEh1"), .label = S("帐款结清："), .column = S("帐款结清"), .term = TermKind::Exact, .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("DBComboBoxEh3"), .label = S("执行完结："), .column = S("执行完结"), .term = TermKind::Exact, .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("DBComboBoxEh2"), .label = S("回单返回："), .column = S("回单返回"), .term = TermKind::Exact, .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("Edit2"), .label = S("备注："), .column = S("备注"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
    };
    d.enterOrder = {S("DBComboBoxEh4"), S("Edit3"), S("Edit5"), S("DBDateTimeEditEh1"), S("DBDateTimeEditEh2"),
                    S("Edit1"), S("DBComboBoxEh7"), S("Edit4"), S("DBComboBoxEh1"), S("DBComboBoxEh5"),
                    S("DBComboBoxEh3"), S("DBComboBoxEh2"), S("Edit2")};
    d.msgIncomplete = S("必须输入完整的运输期限,请重新输入!");
    d.msgOrder = S("运输期限从不能大于运输期限到,请重新输入!");
    build(d);
}

void showOrderSearch(QWidget *owner)
{
    auto dlg = std::make_unique<TForm_container_ysd_cx>(owner);
    fillPickLists(Dm1->q_search, {S("select * from 上游客户"), S("order by 客户名称")}, S("客户名称"),
                  {dlg->findChild<QComboBox *>(S("DBComboBoxEh4"))});
    fillPickLists(Dm1->q_search, {S("select * from 收货单位"), S("order by 单位名称")}, S("单位名称"),
                  {dlg->findChild<QComboBox *>(S("DBComboBoxEh5"))});
    data::showModal(dlg.get());
}
