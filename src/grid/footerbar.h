#pragma once
#include <QWidget>

class QHeaderView;

namespace grid {

class GridModel;

// The one-line footer under the grid's rows. It paints each visible
// column's footer text at the position the header gives the column, so it
// stays aligned through resizing, moving and horizontal scrolling.
class FooterBar : public QWidget {
    Q_OBJECT
public:
    FooterBar(QHeaderView *header, GridModel *model, QWidget *parent);
    int barHeight() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;
    // A total wider than its column is cut with "…": the tip shows it whole.
    bool event(QEvent *e) override;

private:
    QHeaderView *m_header;
    GridModel *m_model;
};

} // namespace grid
