#pragma once
#include "data/buttonbar.h"
#include "data/declarations.h"
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
    void standardAction(Role r);
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
    ButtonBar m_bar;
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
