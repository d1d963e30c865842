#include "grid/groupheader.h"
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace grid {

GroupHeaderView::GroupHeaderView(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    // A resize moves band texts of neighbouring sections too.
    connect(this, &QHeaderView::sectionResized, this, [this] { viewport()->update(); });
    connect(this, &QHeaderView::sectionMoved, this, [this] { viewport()->update(); });
}

QStringList GroupHeaderView::titleParts(int logical) const
{
    if (!model())
        return {};
    return model()->headerData(logical, orientation(), Qt::DisplayRole).toString().split(QLatin1Char('|'));
}

int GroupHeaderView::levelCount() const
{
    int levels = 1;
    for (int l = 0; l < count(); ++l)
        if (!isSectionHidden(l))
            levels = qMax(levels, int(titleParts(l).size()));
    return levels;
}

int GroupHeaderView::lineHeight() const
{
    return fontMetrics().height() + 6;
}

int GroupHeaderView::leafTop(int logical) const
{
    const int depth = int(titleParts(logical).size());
    return (qMin(depth, levelCount()) - 1) * lineHeight();
}

QSize GroupHeaderView::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    s.setHeight(levelCount() * lineHeight());
    return s;
}

bool GroupHeaderView::inSameGroup(int other, const QStringList &parts, int level) const
{
    if (isSectionHidden(other))
        return false;
    const QStringList o = titleParts(other);
    if (o.size() <= level + 1)
        return false;
    for (int i = 0; i <= level; ++i)
        if (o[i] != parts[i])
            return false;
    return true;
}

void GroupHeaderView::paintSection(QPainter *painter, const QRect &rect, int logical) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->setClipRect(rect);
    const QStringList parts = titleParts(logical);
    const int levels = levelCount();
    const int lineH = lineHeight();
    const int depth = qMin(int(parts.size()), levels);
    const int v = visualIndex(logical);

    // Group bands: each section draws the whole band clipped to itself, so
    // the band reads as one cell across the sections that share it.
    for (int level = 0; level < depth - 1; ++level) {
        int first = v, last = v;
        for (int j = v - 1; j >= 0; --j) {
            const int l = logicalIndex(j);
            if (isSectionHidden(l))
                continue;
            if (!inSameGroup(l, parts, level))
                break;
            first = j;
        }
        for (int j = v + 1; j < count(); ++j) {
            const int l = logicalIndex(j);
            if (isSectionHidden(l))
                continue;
            if (!inSameGroup(l, parts, level))
                break;
            last = j;
        }
        const int x0 = sectionViewportPosition(logicalIndex(first));
        const int lastLogical = logicalIndex(last);
        const int x1 = sectionViewportPosition(lastLogical) + sectionSize(lastLogical);
        drawCell(painter, QRect(x0, rect.top() + level * lineH, x1 - x0, lineH), logical, parts[level], NoArrow);
    }
    const int leafY = rect.top() + (depth - 1) * lineH;
    const QString leafText = parts.mid(depth - 1).join(QLatin1Char('|'));
    drawCell(painter, QRect(rect.left(), leafY, rect.width(), rect.bottom() - leafY + 1), logical, leafText,
             m_arrow ? m_arrow(logical) : NoArrow);
    painter->restore();
}

void GroupHeaderView::drawCell(QPainter *p, const QRect &r, int logical, const QString &text, Arrow arrow) const
{
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = r;
    opt.section = logical;
    opt.state |= QStyle::State_Raised;
    if (isEnabled())
        opt.state |= QStyle::State_Enabled;
    opt.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, p, this);

    QRect textRect = r.adjusted(3, 0, -3, 0);
    if (arrow != NoArrow) {
        const int w = 7, h = 4;
        const int x = r.right() - w - 4;
        const int y = r.center().y() - h / 2;
        QPolygon tri;
        if (arrow == Up)
            tri << QPoint(x, y + h) << QPoint(x + w, y + h) << QPoint(x + w / 2, y);
        else
            tri << QPoint(x, y) << QPoint(x + w, y) << QPoint(x + w / 2, y + h);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(Qt::NoPen);
        p->setBrush(palette().color(QPalette::ButtonText));
        p->drawPolygon(tri);
        p->restore();
        textRect.setRight(x - 2);
    }
    p->setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p->drawText(textRect, Qt::AlignCenter, fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
}

void GroupHeaderView::mousePressEvent(QMouseEvent *e)
{
    const int logical = logicalIndexAt(e->position().toPoint());
    m_pressOnLeaf = logical >= 0 && e->position().y() >= leafTop(logical);
    QHeaderView::mousePressEvent(e);
}

} // namespace grid
