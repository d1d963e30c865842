#pragma once
#include "grid/columns.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace db { class Query; }

// What a record list window or an editor window declares: its buttons, its
// editors, its search fields and the window as a whole. The windows are
// mostly these declarations; the bases (recordlist.h, editorwindow.h) do
// the rest.
namespace data {

// A grid column by name, the title its field unless given; a Text footer
// reads "记录数". Lists that choose their columns from a family's table
// (the dispatch lists) look them up by field.
struct ColumnLook {
    const char *field;
    const char *title = nullptr;
    int width = 80;
    bool sortable = false;
    grid::FooterKind footer = grid::FooterKind::None;
};
grid::Column column(const ColumnLook &look);
grid::Columns columns(std::initializer_list<ColumnLook> looks);
// The given fields in their order, each as the table has it (80 wide when absent).
grid::Columns columnsOf(const QStringList &fields, std::initializer_list<ColumnLook> table);

// What a tool button does; the role decides when it is enabled.
enum class Role { Add, Edit, Save, Cancel, Delete, Refresh, Search, Print, Export, ResetLayout, Choose, Close, Custom,
                  First, Prior, Next, Last };
// When a button is enabled: in the browse state, while editing, always,
// never (a button that stays disabled, such as 选中 outside picker mode), or
// unless a new row is being entered (新增 of an editor window).
enum class When { Browse, Editing, Always, Never, NotAdding };

struct ButtonDecl {
    Role role = Role::Custom;
    QString objectName = {};
    QString caption = {};
    When when = When::Always;              // for Custom; other roles take their own
    std::function<void()> handler = {};    // for Custom and Search; replaces the standard action otherwise
};

enum class EditorKind { Edit, Combo, Date, Whole, Decimal, Money, Memo, Check, Radio };

struct EditorDecl {
    QString field = {};
    QString label = {};
    EditorKind kind = EditorKind::Edit;
    QString objectName = {};
    QStringList items = {};       // combo and radio items
    bool chinese = false;         // takes Chinese text: gets the operator's input method
    bool alwaysReadOnly = false;  // never writable (e.g. a computed route)
    bool upper = false;
    int span = 1;                 // label+editor pairs it spans in the panel
    int maxLength = 0;
};

enum class TermKind { Like, Exact, Day, Range };

// Enter in the quick-search strip: moves along it and runs the search in its
// last field, runs the search in every field, or is left to the control.
enum class StripEnter { Moves, EachRuns, Nothing };

// A field of an in-window quick search or a search dialog and the term it adds.
struct SearchField {
    QString objectName = {};
    QString label = {};
    QString column = {};
    TermKind term = TermKind::Like;
    EditorKind kind = EditorKind::Edit;   // Edit, Combo or Date
    QStringList items = {};
    bool chinese = false;
    bool upper = false;
    QString objectName2 = {};             // Range: the to-date editor
    QString label2 = {};
    QString format = {};                  // a term of its own shape ("%1": the quoted value) instead of `term`'s;
                                          // for a Range "%1" and "%2": from and to
    QString formatLater = {};             // the shape when another term precedes it, if it differs
    // Range: its own messages (one bound only; from above to). A money range
    // (kind Money) without msgIncomplete ignores a single bound.
    QString msgIncomplete = {};
    QString msgOrder = {};
};

// The declaration of one record list window; a window fills it and calls build().
struct ListDecl {
    QString caption;
    QString module;                          // ini file name and module name
    db::Query *query = nullptr;
    db::Query *search = nullptr;             // look-ups and duplicate checks (q_search)
    grid::Columns columns;
    int minVisible = 5;
    bool columnButtons = true;               // false: hide/show-column buttons disabled for good
    bool fit = false;
    QString dichromaticCaption = QStringLiteral("区分列表");
    QString fitCaption = QStringLiteral("满屏显示");
    QString printTitle;
    bool pageNumberRight = false;
    QString exportName;
    bool layoutStore = true;
    QString heading;                         // fixed text above the list, if any
    QVector<ButtonDecl> buttons;
    QVector<EditorDecl> editors;             // the panel; empty for the browse variant
    int panelColumns = 3;
    QStringList enterRing;                   // fields in Enter order while editing (wraps)
    bool enterRingStops = false;             // Enter in the ring's last field goes nowhere instead
    QHash<QString, QString> enterExtra;      // field -> field Enter also goes to
    QVector<SearchField> quickSearch;        // the search strip
    QString quickSearchButton = QStringLiteral("SpeedButton2");
    QStringList quickSearchHead;             // lines before " where " (usually one)
    QString quickSearchOrder;                // the order-by line
    StripEnter quickSearchEnter = StripEnter::Moves;
    QString stampOperator = QStringLiteral("操作员");
    QString stampDate = QStringLiteral("操作日期");
    QString memoField;                       // double-click column of DBMemo1 (opens 备忘录)
    bool gridDoubleClickEdits = false;
    QString editFocus;                       // field 编辑 focuses; empty: the first of the Enter ring
    bool editNeedsRow = false;               // 编辑 on an empty list does nothing
    bool refreshAfterSave = false;           // a save reads the listed rows' values again
};

// How an editor window's states work.
enum class EditorStyle {
    // Browse and editing (the goods order and dispatch editors): the editors
    // are read-only while browsing; 编辑 edits the current row, 新增 enters a
    // new one; the navigation buttons move through the list.
    TwoStates,
    // Always writable (the log and cash-journal editors, the line editor):
    // typing edits the current row; 增加 starts an entry, during which the
    // buttons declared NotAdding (增加, 返回) rest until 存盘 or 取消.
    Entry,
};

// A read-only grid of rows that belong to the current row (an order's lines,
// a dispatch's orders) over a second shared query, reloaded on every move.
struct AttachedDecl {
    db::Query *query = nullptr;
    QString objectName = QStringLiteral("DBGridEh1");
    grid::Columns columns = {};
    // The SQL lines that list the rows of the header's current row.
    std::function<QStringList(db::Query &header)> reload = {};
    bool sortable = false;                 // title clicks replace the last SQL line
    QString note = {};                     // a hint beside the grid
    QVector<ButtonDecl> buttons = {};      // the bar over the grid; always enabled
    std::function<void()> doubleClick = {};
};

// The declaration of one editor window; the window fills it and calls build().
struct EditWindowDecl {
    QString caption;
    db::Query *query = nullptr;            // the list's own dataset
    db::Query *search = nullptr;           // look-ups and duplicate checks (q_search)
    EditorStyle style = EditorStyle::TwoStates;
    QVector<ButtonDecl> buttons;           // left to right; Role::First..Last are the navigation
    bool buttonsBelow = false;             // the dialog form: buttons under the editors
    QVector<EditorDecl> editors;
    int panelColumns = 3;
    QStringList enterRing;                 // fields in Enter order (wraps unless enterSaves)
    bool enterSaves = false;               // Enter in the ring's last field presses 存盘
    QHash<QString, QString> enterExtra;    // field -> field Enter also goes to
    QString focusField;                    // focus after 新增 / 编辑 / 增加
    QString stampOperator = QStringLiteral("操作员");
    QString stampDate = QStringLiteral("操作日期");
    QString savedMessage;                  // shown after a save, e.g. "保存完毕！"
    QString memoField;                     // DBMemo1's double click opens 备忘录 on it
    AttachedDecl attached;
    QString note;                          // a hint under the editors
};

} // namespace data
