#include "container/container_ddb_cx.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/modal.h"
#include <QComboBox>

using namespace data;

namespace {

void fill(QWidget *combo, const QStringList &lines, const QString &column)
{
    auto *c = qobject_cast<QComboBox *>(combo);
    db::Query *q = Dm1->q_search;
    q->reopenWith(lines);
    const int col = q->fieldIndex(column);
    for (int row = 0; row < q->recordCount(); ++row)
        c->addItem(q->displayText(row, col));
    q->close();
}
} // namespace

TForm_container_ddb_cx::TForm_container_ddb_cx(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(S("Form_container_ddb_cx"));
    const QStringList yesNo = {S("是"), S("否")};
    SearchDecl d;
    d.target = Dm1->q_container_ysd;
    d.table = S("集装箱运输单");
    d.orderLine = S("order by 运输期限从");
    d.fields = {
        {S("DBComboBoxEh4"), S("上游客户："), S("上游客户"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("DBComboBoxEh6"), S("下游运输商："), S("承运单位"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("Edit3"), S("调度单编号："), S("调度单编号"), TermKind::Exact, EditorKind::Edit, {}, false, true},
        {S("Edit5"), S("车牌号："), S("车牌号"), TermKind::Like, EditorKind::Edit, {}, true, true},
        {S("Edit1"), S("驾驶员："), S("驾驶员"), TermKind::Exact, EditorKind::Edit, {}, true, true},
        {S("Edit4"), S("运输动态："), S("运输动态"), TermKind::Like, EditorKind::Edit, {}, true, true},
        {S("DBDateTimeEditEh1"), S("发车日期 从："), S("运输期限从"), TermKind::Range, EditorKind::Date, {}, false, false,
         S("DBDateTimeEditEh2"), S("到")},
        {S("DBComboBoxEh1"), S("帐款结清："), S("下游帐款结清"), TermKind::Exact, EditorKind::Combo, yesNo},
        {S("DBComboBoxEh3"), S("执行完结："), S("执行完结"), TermKind::Exact, EditorKind::Combo, yesNo},
        {S("Edit2"), S("备注："), S("备注"), TermKind::Like, EditorKind::Edit, {}, true, true},
    };
    d.enterOrder = {S("DBComboBoxEh4"), S("DBComboBoxEh6"), S("Edit3"), S("Edit5"), S("Edit1"),
                    S("DBDateTimeEditEh1"), S("DBDateTimeEditEh2"), S("Edit4"), S("DBComboBoxEh1"),
                    S("DBComboBoxEh3"), S("Edit2")};
    d.msgIncomplete = S("发车日期输入错误,请重新输入!");
    d.msgOrder = S("发车日期从不能大于发车日期到,请重新输入!");
    build(d);
}

void openDispatchSearch(QWidget *owner)
{
    TForm_container_ddb_cx dialog(owner);
    fill(dialog.fieldWidget(S("DBComboBoxEh4")), {S("select * from 上游客户"), S("order by 客户名称")}, S("客户名称"));
    fill(dialog.fieldWidget(S("DBComboBoxEh6")), {S("select * from 下游运输商"), S("order by 单位名称")}, S("单位名称"));
    data::showModal(&dialog);
}
