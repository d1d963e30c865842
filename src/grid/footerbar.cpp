#include "grid/footerbar.h"
#include "grid/gridmodel.h"
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace grid {

FooterBar::FooterBar(QHeaderView *header, GridModel *model, QWidget *parent)
    : QWidget(parent), m_header(header), m_model(model)
{
    setObjectName(QStringLiteral("footer"));
    setAutoFillBackground(false);
    connect(model, &GridModel::footerChanged, this, qOverload<>(&QWidget::update));
    connect(model, &QAbstractItemModel::modelReset, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionResized, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionMoved, this, qOverload<>(&QWidget::update));
}

int FooterBar::barHeight() const
{
    return fontMetrics().height() + 6;
}

QSize FooterBar::sizeHint() const
{
    return {m_header->length(), barHeight()};
}

void FooterBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor back = palette().color(QPalette::Button);
    const QColor line = palette().color(QPalette::Mid);
    p.fillRect(rect(), back);
    p.setPen(line);
    p.drawLine(0, 0, width() - 1, 0);
    for (int v = 0; v < m_header->count(); ++v) {
        const int l = m_header->logicalIndex(v);
        if (m_header->isSectionHidden(l))
            continue;
        const int x = m_header->sectionViewportPosition(l);
        const int w = m_header->sectionSize(l);
        if (x + w < 0 || x > width())
            continue;
        const QRect cell(x, 1, w, height() - 1);
        p.setPen(line);
        p.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
        const QString text = m_model->footerShown(l);
        if (text.isEmpty())
            continue;
        const QRect textRect = cell.adjusted(3, 0, -4, 0);
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(textRect, int(GridModel::alignmentOf(m_model->kind(l))),
                   fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    }
}

bool FooterBar::event(QEvent *e)
{
    if (e->type() != QEvent::ToolTip)
        return QWidget::event(e);
    const auto *help = static_cast<QHelpEvent *>(e);
    const int l = m_header->logicalIndexAt(help->pos().x());
    const QString text = l >= 0 ? m_model->footerShown(l) : QString();
    // Text, the 3 px and 4 px margins of the painted cell included.
    if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) > m_header->sectionSize(l) - 7)
        QToolTip::showText(help->globalPos(), text, this);
    else
        QToolTip::hideText();
    return true;
}

} // namespace grid
