#pragma once
#include "accounts/ledger.h"
#include <QWidget>

class QChart;
class QChartView;
class QPainter;

namespace accounts {

// Stacked bars of an aging result, lying, the largest on top: the four age
// buckets of the largest parties (by total) and one bar "其它" for all the
// rest; a bar is named by the party without its legal form (有限公司 and
// the like).
class AgingChart : public QWidget {
    Q_OBJECT
public:
    static constexpr int Largest = 20;

    explicit AgingChart(QWidget *parent = nullptr);
    void setRows(const QVector<AgingRow> &rows);

    // What the bars show: a category per bar, and per bucket a value per bar.
    const QStringList &categories() const { return m_categories; }
    const QVector<QVector<double>> &buckets() const { return m_values; }
    QChart *chart() const;
    // Paints the chart into the rectangle (for print).
    void render(QPainter &painter, const QRectF &target);

private:
    QChartView *m_view;
    QStringList m_categories;
    QVector<QVector<double>> m_values;
};

// The names of the bucket columns and series.
QStringList bucketTitles();

} // namespace accounts
