#include "accounts/aging.h"
#include "accounts/agingchart.h"
#include "accounts/account_guest.h"
#include "accounts/account_trans.h"
#include "accounts/aging_guest.h"
#include "accounts/aging_trans.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/print.h"
#include "statistics/summary.h"
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QSettings>
#include <QVBoxLayout>

namespace accounts {
namespace {

QVector<ResultColumn> columns(Side side)
{
    QVector<ResultColumn> c = {
        {.field = S("名称"), .type = S("TEXT"),
         .grid = {.title = side == Side::Receivable ? S("上游客户") : S("承运单位"), .width = 160, .sortable = true,
          .footer = grid::FooterKind::Text, .footerText = S("合计")}},
    };
    const QStringList fields = {S("账龄30"), S("账龄60"), S("账龄90"), S("账龄90以上")};
    const QStringList titles = bucketTitles();
    for (int b = 0; b < 4; ++b)
        c.append({.field = fields[b], .type = S("MONEY_INT"),
                  .grid = {.title = S("账龄|") + titles[b], .width = 95, .sortable = true, .footer = grid::FooterKind::Sum}});
    c.append({.field = S("合计"), .type = S("MONEY_INT"), .grid = {.title = S("合计"), .width = 100, .sortable = true, .footer = grid::FooterKind::Sum}});
    c.append({.field = S("单数"), .type = S("INTEGER"), .grid = {.title = S("未结单数"), .width = 70, .sortable = true, .footer = grid::FooterKind::Sum}});
    c.append({.field = S("最早日期"), .type = S("DATE_TEXT"), .grid = {.title = S("最早单据日期"), .width = 95, .sortable = true}});
    return c;
}

} // namespace

AgingWindow::AgingWindow(QWidget *owner, Side side)
    : AccountsWindow(owner, side == Side::Receivable ? S("aging_guest") : S("aging_trans"),
                     side == Side::Receivable ? S("应收账款账龄") : S("应付账款账龄"), columns(side)),
      m_side(side)
{
    m_asOf = addDate(S("DateTimePicker1"), S("截止日期："), QDate::currentDate());
    addCombo(S("ComboBox1"), S("业务："), businessItems(), false);
    finishParameters();

    // The summaries' chart switch, remembered per window in the same file.
    m_showChart = new QCheckBox(S("显示图表"), this);
    m_showChart->setObjectName(S("CheckBox_chart"));
    parameterRow()->addWidget(m_showChart);
    m_chart = new AgingChart(this);
    m_chart->setObjectName(S("Chart1"));
    m_chart->setMinimumHeight(320);
    m_top->addWidget(m_chart, 1);
    const QString key = S("charts/") + decl().module;
    const bool shown = QSettings(stats::SummaryWindow::settingsFile(), QSettings::IniFormat).value(key, false).toBool();
    m_showChart->setChecked(shown);
    m_chart->setVisible(shown);
    connect(m_showChart, &QCheckBox::toggled, this, [this, key](bool on) {
        QSettings(stats::SummaryWindow::settingsFile(), QSettings::IniFormat).setValue(key, on);
        m_chart->setVisible(on);
    });
    connect(grid(), &QAbstractItemView::doubleClicked, this, &AgingWindow::openStatement);
}

bool AgingWindow::parametersOk()
{
    return checkDates(m_asOf, nullptr);
}

void AgingWindow::compute()
{
    m_rows = aging(*Dm1->ADO_system, m_side, business(), m_asOf->date());
    QVector<QVariantList> rows;
    rows.reserve(m_rows.size());
    for (const AgingRow &a : m_rows)
        rows.append({a.party, cash(a.buckets[0]), cash(a.buckets[1]), cash(a.buckets[2]), cash(a.buckets[3]),
                     cash(a.total), a.openDocuments, a.oldest});
    present(rows);
    m_chart->setRows(m_rows);
    m_shownAsOf = m_asOf->date();
    m_shownBusiness = business();
}

void AgingWindow::openStatement()
{
    db::Query *q = query();
    if (!q->isActive() || q->isEmpty() || q->currentRow() < 0)
        return;
    const QString party = q->field(S("名称")).asString();
    const QDate oldest = q->field(S("最早日期")).asDate();
    StatementWindow *w = makeStatement();
    w->setParameters(party, oldest.isValid() ? oldest : m_shownAsOf, m_shownAsOf, m_shownBusiness);
    w->run();
    data::showModal(w);
    delete w;
}

void AgingWindow::preparePrint(grid::PrintSettings &s)
{
    AccountsWindow::preparePrint(s);
    if (m_shownAsOf.isValid())
        s.title += S(" (截止 ") + m_shownAsOf.toString(S("yyyy-M-d")) + S(")");
    if (m_showChart->isChecked())
        s.trailer = [this](QPainter &p, const QRectF &r) { m_chart->render(p, r); };
}

} // namespace accounts

accounts::StatementWindow *TForm_aging_guest::makeStatement()
{
    return new TForm_account_guest(this);
}

accounts::StatementWindow *TForm_aging_trans::makeStatement()
{
    return new TForm_account_trans(this);
}
