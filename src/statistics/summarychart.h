#pragma once
#include "grid/columns.h"
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QChart;
class QChartView;
class QPainter;
namespace db { class Query; }

namespace stats {

// Bars of a result's money columns, one group of bars per result row in the
// dataset's current order (so it follows the grid's sort), the total row
// left out. Rebuilt from the rows whenever they change and it is shown.
class SummaryChart : public QWidget {
    Q_OBJECT
public:
    struct Series {
        QString title;             // the grid title of the money column
        QVector<double> values;    // one per category
    };

    SummaryChart(db::Query *rows, const grid::Columns &columns, const QStringList &labelFields,
                 const QString &totalLabel, QWidget *parent = nullptr);

    // At most this many bars of their own; the rest are summed into "其它".
    static constexpr int MaxBars = 20;

    // What the bars show now (rebuilt first when the rows changed): the
    // result rows in the grid's order, or the largest MaxBars by the first
    // amount and "其它".
    QStringList categories();
    QVector<Series> series();
    QChart *chart() const;

    // Paints the chart into the rectangle (for print).
    void render(QPainter &painter, const QRectF &target);

protected:
    void showEvent(QShowEvent *e) override;

private:
    void markDirty();
    void rebuildIfDirty();
    void read();
    void foldSmallest();
    void draw();

    QPointer<db::Query> m_rows;
    QVector<QPair<QString, QString>> m_money;   // field, title
    QStringList m_labelFields;
    QString m_total;
    QChartView *m_view;
    bool m_dirty = true;
    bool m_scheduled = false;
    QStringList m_categories;   // every label column of the row
    QStringList m_axisNames;    // the first, under the bar (the rest in the tooltip)
    QVector<Series> m_series;
    int m_folded = 0;   // result rows summed into "其它"
};

} // namespace stats
