#pragma once
#include "data/recordlist.h"
#include <QDialog>
#include <QHash>
#include <functional>

class QAbstractButton;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
namespace grid { class DBGridEh; }
namespace dbctrls { class EnterRing; }

namespace data {

// The separate modal editor working on a list window's shared query: moving
// here moves the list, and what is saved here is what the list shows. It
// holds the two states and their enabling, the navigation and its rules,
// the one save shape (editors into the row, checks in order, then one
// guarded step in a transaction), cancel and close; an optional attached
// grid shows the rows that belong to the current one.
class EditorWindow : public QDialog {
    Q_OBJECT
public:
    explicit EditorWindow(QWidget *owner);
    ~EditorWindow() override;

    db::Query *query() const { return m_decl.query; }
    db::Query *attachedQuery() const { return m_decl.attached.query; }
    grid::DBGridEh *attachedGrid() const { return m_attachedGrid; }
    QWidget *editorFor(const QString &field) const { return m_editors.value(field); }
    QAbstractButton *button(const QString &objectName) const;
    bool editing() const { return m_editing; }
    bool adding() const { return m_adding; }

    // The standard actions (public for openers and tests).
    void add();
    void edit();
    void save();
    virtual void cancel();
    void first();
    void prior();
    void next();
    void last();
    // Lists the attached rows of the current row again.
    void reloadAttached();

    // The tool bar of a two-state editor: first, prior, next, last, the
    // window's choice buttons, then 编辑, 新增, 存盘, 取消, 返回.
    static QVector<ButtonDecl> twoStateButtons(const QVector<ButtonDecl> &choices);

protected:
    void build(const EditWindowDecl &decl);
    const EditWindowDecl &decl() const { return m_decl; }

    // The window's checks in order; on a failure show the message through
    // fail() and return false.
    virtual bool checks() { return true; }
    // Inside the guarded step: computed columns before the post, and what
    // else the save writes after it and after the attached row's pending
    // change (other tables).
    virtual void beforePost() {}
    virtual void afterPost() {}
    // After the save's transaction was committed.
    virtual void afterSave() {}
    // Before a new row is appended (a value carried from the last row) and
    // after (the new row's defaults).
    virtual void beforeAppend() {}
    virtual void afterAppend() {}
    // Inside a transaction when a new row is given up (取消, 返回): what was
    // stored for it meanwhile is taken back.
    virtual void discardNewEntry() {}

    // Rows of another table stored for the current row since 新增 or 编辑
    // (lines chosen, orders attached), by key: a save carries them along,
    // giving up a new row takes them back. Forgotten when the entry ends.
    void noteEntryRow(qint64 key) { m_entryRows << key; }
    bool hasEntryRows() const { return !m_entryRows.isEmpty(); }
    // "k1,k2,..." for an SQL "rowid in (...)".
    QString entryRowList() const;

    bool fail(const QString &message, const QString &focusField, msg::Icon icon = msg::Icon::Exclamation);
    bool requireText(const QString &field, const QString &message);
    bool isDuplicate(const QStringList &searchLines, const QStringList &keyFields);
    QString editorText(const QString &field) const;
    void focusField(const QString &field);

    void setEditing(bool editing, bool adding = false);
    void done(int r) override;
    void showEvent(QShowEvent *e) override;

    QVBoxLayout *m_top = nullptr;

private:
    void buildButtons(QHBoxLayout *row, const QVector<ButtonDecl> &buttons, bool attachedBar);
    void standardAction(Role r);
    // After a failed guarded step: the header and attached rows as the
    // database holds them (`written`: the header row had been posted).
    void rereadShown(bool written);
    void buildAttached();
    void updateButtons();
    void setNavigation(bool firstPrior, bool nextLast);
    void giveUpNewEntry();
    void openMemo();

    EditWindowDecl m_decl;
    bool m_editing = false;
    bool m_adding = false;
    bool m_navFirstPrior = true, m_navNextLast = true;
    QList<qint64> m_entryRows;
    QHash<QString, QWidget *> m_editors;
    ButtonBar m_bar;
    QGroupBox *m_panel = nullptr;
    grid::DBGridEh *m_attachedGrid = nullptr;
    dbctrls::EnterRing *m_ring = nullptr;
};

} // namespace data
