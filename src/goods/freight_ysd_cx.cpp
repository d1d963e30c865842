#include "goods/freight_ysd_cx.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "data/picklist.h"
#include "db/text.h"
#include <QComboBox>
#include <memory>

using namespace data;

TForm_freight_ysd_cx::TForm_freight_ysd_cx(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(S("Form_freight_ysd_cx"));
    const QStringList yesNo{S("是"), S("否")};
    const auto flag = [&](const char *name, const char *label, const char *column) {
        return SearchField{.objectName = S(name), .label = S(label), .column = S(column), .term = TermKind::Exact,
                           .kind = EditorKind::Combo, .items = yesNo};
    };
    SearchDecl d;
    d.target = Dm1->q_freight_ysd;
    d.table = S("普通货物运输单");
    d.orderLine = S("order by 发货日期");
    d.fields = {
        {.objectName = S("DBComboBoxEh4"), .label = S("上游客户："), .column = S("上游客户"), .kind = EditorKind::Combo,
         .chinese = true},
        {.objectName = S("Edit3"), .label = S("运输单号："), .column = S("运输单号"), .term = TermKind::Exact, .upper = true},
        {.objectName = S("Edit4"), .label = S("运输动态："), .column = S("运输动态"), .chinese = true, .upper = true,
         .format = S("(运输动态 like  '%%1%')")},
        {.objectName = S("DBComboBoxEh5"), .label = S("收货人："), .column = S("收货人"), .kind = EditorKind::Combo,
         .chinese = true},
        {.objectName = S("DBDateTimeEditEh1"), .label = S("发货日期 从："), .column = S("发货日期"), .term = TermKind::Range,
         .kind = EditorKind::Date, .objectName2 = S("DBDateTimeEditEh2"), .label2 = S("到")},
        flag("DBComboBoxEh3", "执行完结：", "执行完结"),
        flag("DBComboBoxEh1", "回单返回：", "回单返回"),
        flag("DBComboBoxEh2", "帐款结清：", "帐款结清"),
        {.objectName = S("Edit2"), .label = S("备注："), .column = S("备注"), .chinese = true, .upper = true},
    };
    d.enterOrder = {S("DBComboBoxEh4"), S("Edit3"), S("DBComboBoxEh3"), S("DBComboBoxEh2"), S("Edit2")};
    d.enterJumps = {{S("DBDateTimeEditEh1"), S("DBDateTimeEditEh2")}, {S("DBDateTimeEditEh2"), S("Edit4")},
                    {S("Edit4"), S("DBComboBoxEh5")}, {S("DBComboBoxEh5"), S("DBComboBoxEh1")},
                    {S("DBComboBoxEh1"), S("DBComboBoxEh2")}};
    d.msgIncomplete = S("必须输入完整的发车日期,请重新输入!");
    d.msgOrder = S("发车日期从不能大于发车日期到,请重新输入!");
    build(d);
}

void showFreightOrderSearch(QWidget *owner)
{
    auto dlg = std::make_unique<TForm_freight_ysd_cx>(owner);
    fillPickLists(Dm1->q_search, {S("select * from 上游客户 "), S("order by 客户名称 ")}, S("客户名称"),
                  {dlg->findChild<QComboBox *>(S("DBComboBoxEh4"))});
    fillPickLists(Dm1->q_search, {S("select * from 收货单位 "), S("order by 单位名称 ")}, S("单位名称"),
                  {dlg->findChild<QComboBox *>(S("DBComboBoxEh5"))});
    data::showModal(dlg.get());
}
