#pragma once
#include "db/query.h"
#include "dbctrls/messages.h"
#include "grid/columns.h"
#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
namespace grid { class DBGridEh; class GridToolBar; struct PrintSettings; }
namespace dbctrls { class DBNavigator; class EnterRing; }

namespace data {

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

// The icon theme's picture for what a button does (custom buttons by their
// caption: 查找, 选…); none where the theme has none.
QIcon buttonIcon(const ButtonDecl &d);

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

// The duplicate rule: rows found by the lines on the search query are a
// duplicate for a new row of `row`, and for an edited row only when one of
// the key fields differs from the value the row was read with.
bool isDuplicate(db::Query *row, db::Query *search, const QStringList &searchLines, const QStringList &keyFields);

// The window nearly every function of the system is: a grid over one shared
// query with the grid services, a tool bar, and for the panel variant bound
// editors with a browse and an editing state and the one save shape.
class RecordListWindow : public QDialog {
    Q_OBJECT
public:
    explicit RecordListWindow(QWidget *owner);
    ~RecordListWindow() override;

    db::Query *query() const { return m_decl.query; }
    grid::DBGridEh *grid() const { return m_grid; }
    bool editing() const { return m_editing; }
    bool resetLayoutRequested() const { return m_resetLayout; }
    QWidget *editorFor(const QString &field) const { return m_editors.value(field); }
    QAbstractButton *button(const QString &objectName) const;
    // Changes when a declared button is enabled (e.g. 选中 in picker mode).
    void setButtonWhen(const QString &objectName, When when);
    // A picker: opens beside the caller's editors of these fields (the ones
    // it fills), never over them.
    void keepClear(QWidget *caller, const QStringList &fields);

    // The standard actions (public so that pickers and tests can call them).
    void add();
    void edit();
    void save();
    void cancel();
    void remove();
    void refresh();
    void print();
    void exportData();
    void resetLayout();
    void quickSearch();
    // A bulk marking after its question (caption "请选择", No the default): a
    // change being typed is dropped, not posted unchecked, then every listed
    // row is marked in one transaction (markEveryRow). True when all were.
    bool markListed(const QString &question, const QString &action, const std::function<void(db::Query &)> &mark,
                    const std::function<QString(db::Query &)> &describe);

protected:
    void build(const ListDecl &decl);
    const ListDecl &decl() const { return m_decl; }

    // The window's checks in order; on a failure show the message through
    // fail() and return false.
    virtual bool checks() { return true; }
    // Computed columns, inside the guarded step, before the post; and what
    // else the save writes after it, in the same transaction.
    virtual void beforePost() {}
    virtual void afterPost() {}
    virtual bool canDelete() { return true; }
    // Inside the delete's transaction, before the current row goes: what
    // belongs to the row goes with it (an order's lines, say).
    virtual void beforeDelete() {}
    // Inside the same transaction, after the row went (a recomputation).
    virtual void afterDelete() {}
    virtual QString deleteQuestion() const { return QStringLiteral("要删除当前记录吗? "); }
    virtual QString deleteCaption() const { return QStringLiteral("请选择"); }
    // Browse variant: the modal edit window on the current row.
    virtual void openEditor() {}
    virtual void afterAppend() {}
    // What a window adds to its print (a trailing page, say).
    virtual void preparePrint(grid::PrintSettings &) {}

    // Check helpers. fail() shows the message ("提示") and focuses the field's editor.
    bool fail(const QString &message, const QString &focusField, msg::Icon icon = msg::Icon::Exclamation);
    bool requireText(const QString &field, const QString &message);
    // The duplicate rule (data::isDuplicate) on the window's query and q_search.
    bool isDuplicate(const QStringList &searchLines, const QStringList &keyFields);
    // Text of a field's editor as displayed (untrimmed).
    QString editorText(const QString &field) const;

    void setEditing(bool on);
    void done(int r) override;
    void showEvent(QShowEvent *e) override;

    QVBoxLayout *m_top = nullptr;            // windows may add their own rows
    QHBoxLayout *m_toolRow = nullptr;
    QGroupBox *m_panel = nullptr;

private:
    void buildButtons();
    void buildPanel();
    void buildQuickSearch();
    void updateButtons();
    void openMemo();
    QString layoutFile() const;
    // First show: as large as the content needs within the screen, over the
    // owner, or for a picker below its caller's editors.
    void placeOnScreen();
    QRect keepClearRect(bool wholePanel) const;
    void placeBeside(const QRect &keep, const QRect &avail, const QSize &frame, int &width, int &height, QPoint &at) const;

    ListDecl m_decl;
    bool m_editing = false;
    bool m_resetLayout = false;
    bool m_layoutLoaded = false;
    bool m_placed = false;
    grid::DBGridEh *m_grid = nullptr;
    grid::GridToolBar *m_gridTools = nullptr;
    dbctrls::DBNavigator *m_navigator = nullptr;
    QCheckBox *m_dichromatic = nullptr;
    QCheckBox *m_fit = nullptr;
    QHash<QString, QWidget *> m_editors;     // field -> editor
    QVector<QPair<QAbstractButton *, ButtonDecl>> m_buttons;
    QVector<QWidget *> m_searchWidgets;
    dbctrls::EnterRing *m_ring = nullptr;
    QPointer<QWidget> m_keepClearOf;
    QStringList m_keepClearFields;
};

// When the database cannot be written, tells the user so and returns true:
// 增加, 编辑 and 删除 stop before anything is typed only to be lost at 存盘.
bool refuseReadOnly(QWidget *parent, const db::Connection *connection);

// Deletes the current row of a list a window shows beside its own (an
// order's lines): refused on a read-only file, a failure cancelled and told.
// True when the row is gone.
bool deleteCurrentRow(QWidget *parent, db::Query *query);

// Builds a search condition from declared fields and their widgets: terms in
// order, each parenthesised, later ones prefixed with "and" and no blank.
QString searchTerm(const SearchField &f, const QString &value);
QString joinTerms(const QStringList &terms);

} // namespace data
