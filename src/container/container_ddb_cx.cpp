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
        {.objectName = S("DBComboBoxEh4"), .label = S("上游客户："), .column = S("上游客户"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("DBComboBoxEh6"), .label = S("下游运输商："), .column = S("承运单位"), .term = TermKind::Like, .kind = EditorKind::Combo, .items = {}, .chinese = true},
        {.objectName = S("Edit3"), .label = S("调度单编号："), .column = S("调度单编号"), .term = TermKind::Exact, .kind = EditorKind::Edit, .items = {}, .chinese = false, .upper = true},
        {.objectName = S("Edit5"), .label = S("车牌号："), .column = S("车牌号"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
        {.objectName = S("Edit1"), .label = S("驾驶员："), .column = S("驾驶员"), .term = TermKind::Exact, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
        {.objectName = S("Edit4"), .label = S("运输动态："), .column = S("运输动态"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
        {.objectName = S("DBDateTimeEditEh1"), .label = S("发车日期 从："), .column = S("运输期限从"), .term = TermKind::Range, .kind = EditorKind::Date, .items = {}, .chinese = false, .upper = false,
         .objectName2 = S("DBDateTimeEditEh2"), .label2 = S("到")},
        {.objectName = S("DBComboBoxEh1"), .label = S("帐款结清："), .column = S("下游帐款结清"), .term = TermKind::Exact, .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("DBComboBoxEh3"), .label = S("执行完结："), .column = S("执行完结"), .term = TermKind::Exact, .kind = EditorKind::Combo, .items = yesNo},
        {.objectName = S("Edit2"), .label = S("备注："), .column = S("备注"), .term = TermKind::Like, .kind = EditorKind::Edit, .items = {}, .chinese = true, .upper = true},
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
