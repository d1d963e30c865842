#include "accounts/agingchart.h"
#include "db/text.h"
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QPainter>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>

namespace accounts {

QStringList bucketTitles()
{
    return {S("0-30天"), S("31-60天"), S("61-90天"), S("90天以上")};
}

AgingChart::AgingChart(QWidget *parent) : QWidget(parent)
{
    m_view = new QChartView(this);
    m_view->setObjectName(S("ChartView1"));
    m_view->setRenderHint(QPainter::Antialiasing);
    QFont f(S("AR PL UMing CN"));
    f.setPointSize(9);
    m_view->chart()->setFont(f);
    m_view->chart()->legend()->setFont(f);
    m_view->chart()->legend()->setAlignment(Qt::AlignRight);
    m_view->chart()->setMargins(QMargins(4, 4, 4, 4));
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(m_view);
}

QChart *AgingChart::chart() const
{
    return m_view->chart();
}

void AgingChart::setRows(const QVector<AgingRow> &rows)
{
    // Rows come largest first; the tail is summed into one bar.
    m_categories.clear();
    m_values = QVector<QVector<double>>(4);
    for (int i = 0; i < rows.size(); ++i) {
        const bool rest = i >= Largest;
        if (!rest || i == Largest) {
            m_categories << (rest ? S("其它") : rows[i].party);
            for (auto &b : m_values)
                b.append(0);
        }
        for (int b = 0; b < 4; ++b)
            m_values[b].last() += rows[i].buckets[b].toDouble();
    }
    QChart *c = m_view->chart();
    c->removeAllSeries();
    for (QAbstractAxis *a : c->axes()) {
        c->removeAxis(a);
        delete a;
    }
    auto *series = new QStackedBarSeries;
    const QStringList titles = bucketTitles();
    for (int b = 0; b < 4; ++b) {
        auto *set = new QBarSet(titles[b]);
        for (double v : m_values[b])
            *set << v;
        series->append(set);
    }
    c->addSeries(series);
    auto *x = new QBarCategoryAxis;
    x->append(m_categories);
    x->setLabelsAngle(-45);
    x->setTruncateLabels(false);
    c->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto *y = new QValueAxis;
    y->setLabelFormat(S("%.0f"));
    c->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    y->applyNiceNumbers();
}

void AgingChart::render(QPainter &painter, const QRectF &target)
{
    // On paper the chart takes the page's width and two thirds as much
    // height, laid out at that size and put back.
    QChart *c = chart();
    const QSizeF onScreen = c->size();
    const QSizeF paper(1000, 650);
    const auto layOut = [c] {
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

} // namespace accounts
