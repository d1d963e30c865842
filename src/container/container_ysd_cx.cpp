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
        {S("DBComboBoxEh4"), S("上游客户："), S("上游客户"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("Edit3"), S("运输单号："), S("运输单号"), TermKind::Exact, EditorKind::Edit, {}, false, true},
        {S("Edit5"), S("船名航班："), S("船名航班"), TermKind::Like, EditorKind::Edit, {}, true, true},
        {S("Edit1"), S("箱号："), S("箱号"), TermKind::Exact, EditorKind::Edit, {}, false, true},
        {S("DBComboBoxEh7"), S("型号规格："), S("型号规格"), TermKind::Like, EditorKind::Combo, {S("20"), S("40")}},
        {S("Edit4"), S("运输动态："), S("运输动态"), TermKind::Like, EditorKind::Edit, {}, true, true},
        {S("DBComboBoxEh5"), S("收货人："), S("收货人"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("DBDateTimeEditEh1"), S("运输期限 从："), S("运输期限从"), TermKind::Range, EditorKind::Date, {}, false, false,
         S("DBDateTimeEditEh2"), S("到")},
        {S("DBComboBoxEh1"), S("帐款结清："), S("帐款结清"), TermKind::Exact, EditorKind::Combo, yesNo},
        {S("DBComboBoxEh3"), S("执行完结："), S("执行完结"), TermKind::Exact, EditorKind::Combo, yesNo},
        {S("DBComboBoxEh2"), S("回单返回："), S("回单返回"), TermKind::Exact, EditorKind::Combo, yesNo},
        {S("Edit2"), S("备注："), S("备注"), TermKind::Like, EditorKind::Edit, {}, true, true},
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
