#pragma once
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace app {

// One shared query prepared before a window opens: closed, its lines replaced,
// then opened (or run as a command).
struct QueryStep {
    QString query;                        // name of the shared query (q_...)
    QStringList lines;                    // one entry per SQL line
    std::function<QStringList()> build;   // lines made at run time; replaces `lines`
    bool command = false;                 // execute instead of open
    QStringList sqlLines() const { return build ? build() : lines; }
};

// A pick list filled from a look-up query: every row's `column`, in order,
// into each named combo box of the window; the look-up query is closed after.
struct PickList {
    QString query;
    QStringList lines;
    QString column;
    QStringList targets;                  // objectNames of QComboBox children
};

struct MenuItem {
    enum Kind { Open, Separator, HiddenSeparator, Quit, Help, Nothing };
    Kind kind = Open;
    QString name;                         // component name: the QAction's objectName
    QString caption;
    QString windowClass;                  // as registered in WindowRegistry
    QList<QueryStep> setup;
    QList<PickList> picks;
    QStringList closeAfter;               // shared queries closed after the window
    bool operatorPanelAfter = false;      // refresh status panel 0 after the window
    bool bannerAfter = false;             // banner text := 动态文字 of q_gsxx, before closing it
    bool reconnect = false;               // connection closed while open, reopened from the data folder
};

struct MenuDef {
    QString caption;
    QList<MenuItem> items;
};

// The main menu, in order: captions, component names and what each item does.
const QList<MenuDef> &menuTable();
// The item with that component name, nullptr when none.
const MenuItem *menuItem(const QString &name);

// The tool bar: button caption and the menu item it runs, left to right.
struct ToolButtonDef {
    QString caption;
    QString item;
    QChar glyph;          // with color: the badge shown when the icon theme lacks the icons
    unsigned color;
    QStringList icons;    // icon theme names, the first one found is shown
};
const QList<ToolButtonDef> &toolButtons();

} // namespace app
