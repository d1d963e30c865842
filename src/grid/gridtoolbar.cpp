#include "grid/gridtoolbar.h"
#include "dbctrls/icons.h"
#include "grid/dbgrideh.h"
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace grid {

GridToolBar::GridToolBar(DBGridEh *grid, QWidget *parent) : QToolBar(parent)
{
    setIconSize(QSize(16, 16));
    setMovable(false);
    setFloatable(false);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));

    m_show = new QToolButton(this);
    m_show->setObjectName(QStringLiteral("ToolButton1"));
    m_show->setToolTip(QStringLiteral("显示隐藏的列"));
    m_show->setIcon(dbctrls::themeIcon({"arrow-right"}, QStyle::SP_ArrowRight));
    m_show->setMenu(m_menu);
    m_show->setPopupMode(QToolButton::MenuButtonPopup);
    m_show->setEnabled(false);

    m_hide = new QToolButton(this);
    m_hide->setObjectName(QStringLiteral("ToolButton2"));
    m_hide->setToolTip(QStringLiteral("隐藏最右边的列"));
    m_hide->setIcon(dbctrls::themeIcon({"arrow-left"}, QStyle::SP_ArrowLeft));

    addWidget(m_show);
    addWidget(m_hide);

    connect(m_show, &QToolButton::clicked, this, &GridToolBar::reshowLast);
    connect(m_hide, &QToolButton::clicked, this, &GridToolBar::hideRightmost);
    connect(m_menu, &QMenu::triggered, this, &GridToolBar::reshow);
    setGrid(grid);
}

void GridToolBar::setGrid(DBGridEh *grid)
{
    if (m_grid)
        disconnect(m_grid, nullptr, this, nullptr);
    m_grid = grid;
    if (grid)
        connect(grid, &DBGridEh::columnsReset, this, &GridToolBar::rebuild);
    rebuild();
}

QString GridToolBar::menuCaption(const QString &title)
{
    QString caption = title;
    if (caption.count(QLatin1Char('|')) >= 2) {
        const int last = caption.lastIndexOf(QLatin1Char('|'));
        const int secondLast = caption.lastIndexOf(QLatin1Char('|'), last - 1);
        caption = caption.mid(secondLast + 1);
    }
    caption.replace(QLatin1Char('|'), QLatin1Char('\t'));
    return caption;
}

QAction *GridToolBar::addItem(int logical, bool atTop)
{
    auto *item = new QAction(menuCaption(m_grid->column(logical).title), m_menu);
    item->setData(logical);
    const QList<QAction *> items = m_menu->actions();
    if (atTop && !items.isEmpty())
        m_menu->insertAction(items.first(), item);
    else
        m_menu->addAction(item);
    return item;
}

// A new column set (or a loaded layout) may bring hidden columns: list them
// so that they can be shown again, the one nearest the visible ones on top.
void GridToolBar::rebuild()
{
    m_menu->clear();
    if (m_grid)
        for (int l : m_grid->displayOrder())
            if (!m_grid->isColumnVisible(l))
                addItem(l, false);
    m_show->setEnabled(!m_locked && !m_menu->actions().isEmpty());
}

void GridToolBar::setLocked(bool locked)
{
    m_locked = locked;
    m_hide->setEnabled(!locked);
    rebuild();
}

void GridToolBar::hideRightmost()
{
    if (!m_grid || m_locked)
        return;
    const QList<int> visible = m_grid->visibleColumns();
    if (visible.size() <= m_minimum)
        return;
    const int logical = visible.last();
    addItem(logical, true);
    m_grid->setColumnVisible(logical, false);
    m_show->setEnabled(true);
}

void GridToolBar::reshowLast()
{
    if (m_locked)
        return;
    const QList<QAction *> items = m_menu->actions();
    if (!items.isEmpty())
        reshow(items.first());
    m_hide->setEnabled(true);
}

void GridToolBar::reshow(QAction *item)
{
    if (!item || !m_grid || !m_menu->actions().contains(item))
        return;
    const int logical = item->data().toInt();
    if (m_grid->isColumnVisible(logical)) {
        m_menu->removeAction(item);
        item->deleteLater();
        m_show->setEnabled(!m_menu->actions().isEmpty());
        return;
    }
    // Just after the visible columns: behind the last visible one.
    int lastVisiblePos = -1;
    const QList<int> order = m_grid->displayOrder();
    for (int v = 0; v < order.size(); ++v)
        if (m_grid->isColumnVisible(order[v]))
            lastVisiblePos = v;
    const int from = int(order.indexOf(logical));
    m_grid->moveColumn(logical, from < lastVisiblePos ? lastVisiblePos : lastVisiblePos + 1);
    m_grid->setColumnVisible(logical, true);
    m_menu->removeAction(item);
    item->deleteLater();
    m_show->setEnabled(!m_menu->actions().isEmpty());
}

} // namespace grid
