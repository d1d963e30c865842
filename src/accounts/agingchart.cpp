#include "accounts/agingchart.h"
#include "db/text.h"
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QPainter>
#include <QHorizontalStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace accounts {

QStringList bucketTitles()
{
    return {S("0-30天"), S("31-60天"), S("61-90天"), S("90天以上")};
}

namespace {

// A bar's label: the name without the legal form, which every firm shares.
QString shortName(QString name)
{
    for (const char *form : {"股份有限公司", "有限责任公司", "有限公司"})
        if (name.endsWith(S(form)) && name.size() > S(form).size() + 1) {
            name.chop(S(form).size());
            break;
        }
    return name;
}

} // namespace

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
            m_categories << (rest ? S("其它") : shortName(rows[i].party));
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
    // Lying bars, the largest on top: the names read across on the left.
    auto *series = new QHorizontalStackedBarSeries;
    const QStringList titles = bucketTitles();
    for (int b = 0; b < 4; ++b) {
        auto *set = new QBarSet(titles[b]);
        for (int i = int(m_values[b].size()) - 1; i >= 0; --i)
            *set << m_values[b][i];
        series->append(set);
    }
    c->addSeries(series);
    auto *names = new QBarCategoryAxis;
    QStringList reversed = m_categories;
    std::reverse(reversed.begin(), reversed.end());
    names->append(reversed);
    names->setTruncateLabels(false);
    c->addAxis(names, Qt::AlignLeft);
    series->attachAxis(names);
    auto *amounts = new QValueAxis;
    amounts->setLabelFormat(S("%.0f"));
    c->addAxis(amounts, Qt::AlignBottom);
    series->attachAxis(amounts);
    amounts->applyNiceNumbers();
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
