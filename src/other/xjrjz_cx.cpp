#include "other/xjrjz_cx.h"
#include "data/dm1.h"
#include "db/text.h"

using namespace data;

TForm_xjrjz_cx::TForm_xjrjz_cx(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(S("Form_xjrjz_cx"));
    const auto like = [](const char *name, const char *label, const char *column, bool chinese) {
        return SearchField{.objectName = S(name), .label = S(label), .column = S(column), .chinese = chinese};
    };
    const auto amounts = [](const char *column, const char *from, const char *to, const char *message) {
        return SearchField{.objectName = S(from), .label = S(column) + S("  大于："), .column = S(column),
                           .term = TermKind::Range, .kind = EditorKind::Money, .objectName2 = S(to),
                           .label2 = S("小于："),
                           .format = S("(%1 between ccur('%2') and ccur('%3'))").arg(S(column), S("%1"), S("%2")),
                           .msgOrder = S(message)};
    };
    SearchDecl d;
    d.target = Dm1->q_xjrjz;
    d.table = S("现金日记帐");
    d.orderLine = S("order by 日期,编号");
    d.fields = {
        like("Edit1", "凭证号：", "凭证号", false),
        // First a prefix of the entry kind, after another term anywhere in it.
        {.objectName = S("DBComboBoxEh1"), .label = S("摘要："), .column = S("摘要"), .kind = EditorKind::Combo,
         .items = {S("收入"), S("支出")}, .format = S("(摘要 like '%1%')"),
         .formatLater = S("(摘要 like '%%1%')")},
        like("Edit2", "明细：", "明细", true),
        like("Edit3", "经办人：", "经办人", true),
        like("Edit4", "备注：", "备注", true),
        {.objectName = S("DBDateTimeEditEh1"), .label = S("日期  从："), .column = S("日期"), .term = TermKind::Range,
         .kind = EditorKind::Date, .objectName2 = S("DBDateTimeEditEh2"), .label2 = S("到："),
         .format = S("(日期 between cdate('%1') and cdate('%2'))")},
        amounts("借方", "DBNumberEditEh1", "DBNumberEditEh2", "借方金额输入错误,请重新输入!"),
        amounts("贷方", "DBNumberEditEh3", "DBNumberEditEh4", "贷方金额输入错误,请重新输入!"),
    };
    d.enterOrder = {S("Edit1"), S("DBComboBoxEh1"), S("Edit2"), S("Edit3"), S("DBDateTimeEditEh1"),
                    S("DBDateTimeEditEh2"), S("DBNumberEditEh1"), S("DBNumberEditEh2"), S("DBNumberEditEh3"),
                    S("DBNumberEditEh4"), S("Edit4")};
    d.msgIncomplete = S("日期输入错误,请重新输入!");
    d.msgOrder = S("日期从大于日期到,请重新输入!");
    d.columns = 1;
    build(d);
}
