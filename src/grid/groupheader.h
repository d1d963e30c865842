#pragma once
#include <QHeaderView>
#include <QStringList>
#include <functional>

namespace grid {

// Column titles with group levels: "运费|应收" and "运费|实收" side by side
// are drawn as one band "运费" over the sub-titles "应收" and "实收". The
// header is as tall as the deepest title needs. Marked titles get a small
// sort arrow.
class GroupHeaderView : public QHeaderView {
    Q_OBJECT
public:
    enum Arrow { NoArrow, Up, Down };

    explicit GroupHeaderView(QWidget *parent = nullptr);

    // Which arrow a column's title shows (by logical index).
    void setArrowLookup(std::function<Arrow(int)> lookup) { m_arrow = std::move(lookup); }

    int levelCount() const;
    int lineHeight() const;
    QStringList titleParts(int logical) const;
    // Top of the leaf title of a section: clicks above it hit a group band.
    int leafTop(int logical) const;
    // Whether the last press landed on a leaf title (not on a group band).
    bool pressedOnLeaf() const { return m_pressOnLeaf; }

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logical) const override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    bool inSameGroup(int otherLogical, const QStringList &parts, int level) const;
    void drawCell(QPainter *p, const QRect &r, int logical, const QString &text, Arrow arrow) const;

    std::function<Arrow(int)> m_arrow;
    bool m_pressOnLeaf = false;
};

} // namespace grid
