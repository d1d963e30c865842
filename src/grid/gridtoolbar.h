#pragma once
#include <QPointer>
#include <QToolBar>

class QAction;
class QMenu;
class QToolButton;

namespace grid {

class DBGridEh;

// The two buttons beside a record list's grid: ToolButton2 hides the
// rightmost visible column, ToolButton1 shows the column hidden last, and
// its drop-down PopupMenu1 lists every hidden column, newest at the top.
class GridToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit GridToolBar(DBGridEh *grid = nullptr, QWidget *parent = nullptr);

    void setGrid(DBGridEh *grid);
    DBGridEh *grid() const { return m_grid; }
    // This many columns always stay visible (5 unless the window says so).
    void setMinimumVisible(int n) { m_minimum = n; }
    int minimumVisible() const { return m_minimum; }
    // Both buttons disabled for good (a list whose columns stay as they are).
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }

    QToolButton *toolButton1() const { return m_show; }
    QToolButton *toolButton2() const { return m_hide; }
    QMenu *popupMenu() const { return m_menu; }

    // The menu caption of a hidden column: of a title with more than two
    // levels only the last two, and each remaining "|" as a tab.
    static QString menuCaption(const QString &title);

    void hideRightmost();
    void reshowLast();
    void reshow(QAction *item);

private:
    void rebuild();
    QAction *addItem(int logical, bool atTop);

    QPointer<DBGridEh> m_grid;
    QToolButton *m_show;
    QToolButton *m_hide;
    QMenu *m_menu;
    int m_minimum = 5;
    bool m_locked = false;
};

} // namespace grid
