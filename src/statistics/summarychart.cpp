#include "statistics/summarychart.h"
#include "db/query.h"
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCursor>
#include <QHorizontalBarSeries>
#include <QToolTip>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QLayout>
#include <QPainter>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace stats {
namespace {

// Distinct colours for up to nine amounts side by side (the theme's own
// fade to white after the fifth).
const QColor barColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
                          QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                          QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22)};

QFont chartFont(int points)
{
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setPointSize(points);
    return f;
}

} // namespace

SummaryChart::SummaryChart(db::Query *rows, const grid::Columns &columns, const QStringList &labelFields,
                           const QString &totalLabel, QWidget *parent)
    : QWidget(parent), m_rows(rows), m_labelFields(labelFields), m_total(totalLabel)
{
    for (const grid::Column &c : columns)
        if (c.field.startsWith(QLatin1String("money")))
            m_money.append({c.field, c.title});
    m_view = new QChartView(this);
    m_view->setObjectName(QStringLiteral("ChartView1"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->chart()->setFont(chartFont(9));
    m_view->chart()->legend()->setFont(chartFont(9));
    m_view->chart()->legend()->setAlignment(Qt::AlignRight);
    m_view->chart()->setMargins(QMargins(4, 4, 4, 4));
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(m_view);

    // Every change of the rows marks the chart stale; it is read again once
    // the change is over (a run appends many rows) and only while shown.
    for (auto sig : {&db::Query::opened, &db::Query::closed, &db::Query::dataReset})
        connect(rows, sig, this, &SummaryChart::markDirty);
    for (auto sig : {&db::Query::rowInserted, &db::Query::rowRemoved, &db::Query::rowChanged})
        connect(rows, sig, this, &SummaryChart::markDirty);
}

QChart *SummaryChart::chart() const
{
    return m_view->chart();
}

void SummaryChart::markDirty()
{
    m_dirty = true;
    if (m_scheduled || !isVisible())
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        rebuildIfDirty();
    });
}

void SummaryChart::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    rebuildIfDirty();
}

void SummaryChart::rebuildIfDirty()
{
    if (!m_dirty)
        return;
    // A row being typed or appended is not part of the result yet.
    if (m_rows && m_rows->isEditing())
        return;
    m_dirty = false;
    read();
    draw();
}

QStringList SummaryChart::categories()
{
    rebuildIfDirty();
    return m_categories;
}

QVector<SummaryChart::Series> SummaryChart::series()
{
    rebuildIfDirty();
    return m_series;
}

void SummaryChart::read()
{
    m_categories.clear();
    m_axisNames.clear();
    m_series.clear();
    m_folded = 0;
    for (const auto &m : m_money)
        m_series.append({m.second, {}});
    db::Query *q = m_rows;
    if (!q || !q->isActive())
        return;
    QVector<int> labelCols, moneyCols;
    for (const QString &f : m_labelFields)
        labelCols << q->fieldIndex(f);
    for (const auto &m : m_money)
        moneyCols << q->fieldIndex(m.first);
    QSet<QString> seen;
    for (int r = 0; r < q->recordCount(); ++r) {
        QStringList parts;
        for (int c : labelCols)
            if (c >= 0 && !q->displayText(r, c).isEmpty())
                parts << q->displayText(r, c);
        QString label = parts.join(QLatin1Char(' '));
        if (!m_total.isEmpty() && label == m_total)
            continue;
        // The axis takes each category once: a repeated label gets a number.
        for (int n = 2; seen.contains(label); ++n)
            label = parts.join(QLatin1Char(' ')) + QStringLiteral(" (%1)").arg(n);
        seen.insert(label);
        m_categories << label;
        m_axisNames << (parts.isEmpty() ? label : parts.first());
        for (int i = 0; i < moneyCols.size(); ++i) {
            const QVariant v = moneyCols[i] >= 0 ? q->storedValue(r, moneyCols[i]) : QVariant();
            m_series[i].values << (v.isNull() || !v.isValid() ? 0.0 : db::Money::fromRaw(v.toLongLong()).toDouble());
        }
    }
    foldSmallest();
}

void SummaryChart::foldSmallest()
{
    // A thousand customers side by side are a grey comb: the largest by the
    // first amount keep a bar each (largest first), the rest share "其它".
    if (m_categories.size() <= MaxBars || m_series.isEmpty())
        return;
    QVector<int> order(m_categories.size());
    std::iota(order.begin(), order.end(), 0);
    const QVector<double> &key = m_series[0].values;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[a] > key[b]; });
    QStringList categories, axisNames;
    QVector<Series> series = m_series;
    for (Series &s : series)
        s.values.clear();
    for (int i = 0; i < MaxBars; ++i) {
        categories << m_categories[order[i]];
        axisNames << m_axisNames[order[i]];
        for (int k = 0; k < series.size(); ++k)
            series[k].values << m_series[k].values[order[i]];
    }
    categories << QStringLiteral("其它");
    axisNames << categories.last();
    for (int k = 0; k < series.size(); ++k) {
        double rest = 0;
        for (int i = MaxBars; i < order.size(); ++i)
            rest += m_series[k].values[order[i]];
        series[k].values << rest;
    }
    m_folded = int(order.size()) - MaxBars;
    m_categories = categories;
    m_axisNames = axisNames;
    m_series = series;
}

void SummaryChart::draw()
{
    QChart *c = m_view->chart();
    c->removeAllSeries();
    for (QAbstractAxis *a : c->axes())
        c->removeAxis(a);
    // Long names (customers, carriers, goods with their customer) read
    // across, one under the other; short ones (months, sizes) stand upright.
    bool longNames = false;
    for (const QString &name : std::as_const(m_axisNames))
        longNames = longNames || name.size() > 6;
    const bool across = longNames && !m_categories.isEmpty();
    // Bars across are drawn from the bottom up: reversed, the first reads first.
    const auto at = [&](int i) { return across ? int(m_categories.size()) - 1 - i : i; };
    QAbstractBarSeries *bars = across ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                      : static_cast<QAbstractBarSeries *>(new QBarSeries);
    double low = 0, high = 0;
    for (const Series &s : std::as_const(m_series)) {
        auto *set = new QBarSet(s.title);
        set->setColor(barColours[bars->count() % int(std::size(barColours))]);
        set->setBorderColor(set->color());
        for (int i = 0; i < s.values.size(); ++i) {
            const double v = s.values[at(i)];
            *set << v;
            low = std::min(low, v);
            high = std::max(high, v);
        }
        // The whole name and the amount, however the label had to be cut.
        connect(set, &QBarSet::hovered, this, [this, set, at](bool on, int index) {
            if (!on) {
                QToolTip::hideText();
                return;
            }
            const int i = at(index);
            QString name = m_categories.value(i);
            if (i == m_categories.size() - 1 && m_folded > 0)
                name += QStringLiteral("（%1 项）").arg(m_folded);
            QToolTip::showText(QCursor::pos(), QStringLiteral("%1\n%2：%3").arg(name, set->label()).arg(set->at(index), 0, 'f', 2));
        });
        bars->append(set);
    }
    c->addSeries(bars);
    QStringList labels;
    QSet<QString> seen;
    for (int i = 0; i < m_categories.size(); ++i) {
        const QString &name = m_axisNames[at(i)];
        const QString cut = name.size() > 14 ? name.left(13) + QChar(0x2026) : name;
        QString label = cut;
        for (int n = 2; seen.contains(label); ++n)
            label = cut + QStringLiteral(" (%1)").arg(n);
        seen.insert(label);
        labels << label;
    }
    auto *names = new QBarCategoryAxis;
    names->append(labels);
    names->setLabelsFont(chartFont(8));
    names->setLabelsAngle(!across && labels.size() > 12 ? -90 : 0);
    names->setTruncateLabels(false);
    auto *amounts = new QValueAxis;
    amounts->setLabelsFont(chartFont(8));
    if (high <= low) {
        // Nothing to show: a plain scale, not 0 and 1 printed as 0,0,0,1,1,1.
        amounts->setRange(0, 100);
        amounts->setTickCount(6);
    } else {
        amounts->setRange(low, high * 1.05);
        amounts->applyNiceNumbers();
    }
    // As many decimals as the step between two labels needs, so no two read alike.
    const double step = (amounts->max() - amounts->min()) / std::max(1, amounts->tickCount() - 1);
    const int decimals = step >= 1 ? 0 : std::min(4, int(std::ceil(-std::log10(step))));
    amounts->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    c->addAxis(names, across ? Qt::AlignLeft : Qt::AlignBottom);
    c->addAxis(amounts, across ? Qt::AlignBottom : Qt::AlignLeft);
    bars->attachAxis(names);
    bars->attachAxis(amounts);
}

void SummaryChart::render(QPainter &painter, const QRectF &target)
{
    rebuildIfDirty();
    // On paper the chart takes the page's width and two thirds as much
    // height, whatever its shape on screen; laid out at that size and put back.
    QChart *c = chart();
    const QSizeF onScreen = c->size();
    const QSizeF paper(1000, 1000 * std::min(0.65, target.height() / std::max(1.0, target.width())));
    const auto layOut = [c] {
        // Axes and legend are placed by the chart's own deferred layout.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (QGraphicsLayout *l = c->layout())
            l->activate();
    };
    c->resize(paper);
    layOut();
    const QRectF to(target.topLeft(), QSizeF(target.width(), target.width() * paper.height() / paper.width()));
    m_view->scene()->render(&painter, to, QRectF(c->pos(), paper), Qt::KeepAspectRatio);
    c->resize(onScreen);
    layOut();
}

} // namespace stats
