#include "accounts/profit.h"
#include "data/dm1.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include <QComboBox>
#include <QStyledItemDelegate>

using namespace accounts;

namespace {

QVector<ResultColumn> columns()
{
    const auto money = [](const char *field, const char *title) {
        return ResultColumn{.field = S(field), .type = S("MONEY_INT"),
                            .grid = {.title = S(title), .width = 90, .sortable = true, .footer = grid::FooterKind::Sum}};
    };
    return {
        {.field = S("日期"), .type = S("DATE_TEXT"),
         .grid = {.title = S("日期"), .width = 85, .sortable = true, .footer = grid::FooterKind::Text, .footerText = S("合计")}},
        {.field = S("业务"), .type = S("TEXT"), .grid = {.title = S("业务"), .width = 65, .sortable = true}},
        {.field = S("单号"), .type = S("TEXT"), .grid = {.title = S("运输单号/调度单号"), .width = 120, .sortable = true, .footer = grid::FooterKind::Count}},
        {.field = S("上游客户"), .type = S("TEXT"), .grid = {.title = S("上游客户"), .width = 150, .sortable = true}},
        {.field = S("承运单位"), .type = S("TEXT"), .grid = {.title = S("承运单位"), .width = 130, .sortable = true}},
        {.field = S("车牌号"), .type = S("TEXT"), .grid = {.title = S("车牌号"), .width = 80, .sortable = true}},
        money("应收运费", "应收运费"),
        money("承运费用", "承运费用"),
        money("毛利", "毛利"),
        {.field = S("毛利率"), .type = S("REAL"), .grid = {.title = S("毛利率(%)"), .width = 80, .sortable = true, .footer = grid::FooterKind::Text}},
    };
}

// Loss-makers in red, whatever the sort.
class LossDelegate : public QStyledItemDelegate {
public:
    LossDelegate(db::Query *rows, QObject *parent) : QStyledItemDelegate(parent), m_rows(rows) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int col = m_rows->isActive() ? m_rows->fieldIndex(S("毛利")) : -1;
        if (col >= 0 && index.row() < m_rows->rowsRead() && m_rows->storedValue(index.row(), col).toLongLong() < 0) {
            option->palette.setColor(QPalette::Text, Qt::red);
            option->palette.setColor(QPalette::HighlightedText, QColor(255, 200, 200));
        }
    }

private:
    db::Query *m_rows;
};

QString percent(double rate)
{
    return QString::number(rate, 'f', 2) + QLatin1Char('%');
}

} // namespace

TForm_profit::TForm_profit(QWidget *owner) : AccountsWindow(owner, S("profit"), S("运输单利润"), columns())
{
    const QDate today = QDate::currentDate();
    m_from = addDate(S("DateTimePicker1"), S("期间："), QDate(today.year(), today.month(), 1));
    m_to = addDate(S("DateTimePicker2"), S("至"), today);
    addCombo(S("ComboBox1"), S("业务："), businessItems(), false);
    m_customer = addCombo(S("DBComboBoxEh1"), S("上游客户："), QStringList{QString()} + names(S("上游客户"), S("客户名称")),
                          true, 180);
    m_carrier = addCombo(S("DBComboBoxEh2"), S("承运单位："), QStringList{QString()} + names(S("下游运输商"), S("单位名称")),
                         true, 160);
    finishParameters();
    grid()->setItemDelegate(new LossDelegate(query(), grid()));
}

bool TForm_profit::parametersOk()
{
    return checkDates(m_from, m_to);
}

void TForm_profit::compute()
{
    m_rows = profit(*Dm1->ADO_system, business(), m_from->date(), m_to->date(), m_customer->currentText().trimmed(),
                    m_carrier->currentText().trimmed());
    QVector<QVariantList> rows;
    rows.reserve(m_rows.size());
    db::Money receivable, margin;
    for (const ProfitRow &p : m_rows) {
        rows.append({p.date, p.business, p.number, p.customers, p.carrier, p.plate, cash(p.receivable),
                     cash(p.carrierCharge), cash(p.margin), p.hasRate ? QVariant(p.rate) : QVariant()});
        receivable += p.receivable;
        margin += p.margin;
    }
    present(rows);
    double rate = 0;
    setFooterText(S("毛利率"), marginRate(margin, receivable, rate) ? percent(rate) : QString());
}
