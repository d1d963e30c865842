#pragma once
#include <QList>
#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
#include "db/query.h"

// Data-aware editors: widgets bound to (query, column) that show the current
// row's value, follow the query, and write what the user typed back into the
// row. The behaviour shared by every editor lives in DataLink; an editor only
// says how to show a value, how to store it and how to look writable.
namespace dbctrls {

class DataAware;

// One per editor, owned by it. Follows the query's signals, keeps the user's
// pending change and pushes it into the field on focus-out, when the editor
// is hidden (its window closes) and whenever the query asks its editors for
// their text (Query::updateRecord, post, moving).
class DataLink : public QObject {
    Q_OBJECT
public:
    DataLink(QWidget *editor, DataAware *aware);
    ~DataLink() override;

    QWidget *editor() const { return m_editor; }

    void setDataSource(db::Query *query, const QString &field);
    db::Query *query() const { return m_query; }
    QString fieldName() const { return m_field; }
    bool isBound() const { return !m_query.isNull(); }
    // Bound to an open query that has the column.
    bool isActive() const;

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    void setAlwaysReadOnly(bool on);
    bool isAlwaysReadOnly() const { return m_alwaysReadOnly; }
    // Editable, not pinned read-only and, when bound, the query can take the change.
    bool canWrite() const;

    bool isModified() const { return m_modified; }
    bool isLoading() const { return m_loading > 0; }

    // Shows the field's value again, dropping any pending change.
    void reload();
    // The editor reports a change made by the user: the browsing row goes
    // into edit mode and the change is kept until pushed.
    void userChanged();
    // Writes the pending change into the field. A refused text shows its
    // message, puts the focus back into the editor and returns false; the
    // field keeps its value and the text stays for correction.
    bool push();
    // Re-applies the writable look (after open/close or setEditable).
    void applyLook();

    // Every link bound to the query.
    static QList<DataLink *> linksOf(const db::Query *query);

protected:
    // Focus-out and hide of the editor push its change.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusLost(Qt::FocusReason reason);
    void resolve();
    void onCurrentChanged();
    void onFieldChanged(int col);
    void onStateChanged();
    enum class Refusal { Show, Defer, Silent };
    bool pushNow(Refusal refusal);
    void refuse(const QString &message);

    QWidget *m_editor;
    DataAware *m_aware;
    QPointer<db::Query> m_query;
    QString m_field;
    int m_col = -1;
    bool m_editable = true;
    bool m_alwaysReadOnly = false;
    bool m_modified = false;
    bool m_entering = false;   // inside our own query->edit()
    bool m_pushing = false;
    bool m_refusing = false;   // showing a refusal
    int m_loading = 0;
    QString m_lastRefusal;     // suppresses the same message twice in one action
    bool m_refusalRecent = false;
};

// The interface every data-aware editor implements, with the common API the
// windows call. The editor class derives from its Qt widget and from this.
class DataAware {
public:
    virtual ~DataAware();

    // Binds the editor to a column of the query (nullptr unbinds). Unbound
    // editors work as plain editors (search dialogs' fields).
    void setDataSource(db::Query *query, const QString &field);
    db::Query *dataSource() const { return m_link->query(); }
    QString dataField() const { return m_link->fieldName(); }
    bool isBound() const { return m_link->isBound(); }

    // Browse state: text and date editors read-only; combo, number, check
    // and radio editors disabled. Editing state: writable. The link
    // re-applies this look (and disables editors over a closed query)
    // whenever the query changes state, so bound editors are switched
    // through here, not with setReadOnly/setEnabled.
    void setEditable(bool editable) { m_link->setEditable(editable); }
    bool isEditable() const { return m_link->isEditable(); }
    // Never writable, whatever setEditable says (display-only columns).
    void setAlwaysReadOnly(bool on) { m_link->setAlwaysReadOnly(on); }

    // Marks the editor as taking Chinese text (it gets operator_ime) or, with
    // false, as a code/number editor with the input method switched off.
    void setChineseText(bool chinese);

    // The editor holds a change not yet written into the row.
    bool hasPendingChange() const { return m_link->isModified(); }
    // Writes the pending change now; false when the text was refused.
    bool updateRecord() { return m_link->push(); }

    DataLink *dataLink() const { return m_link; }

protected:
    explicit DataAware(QWidget *self);

    // Shows the field's value (never counts as a user change).
    virtual void loadValue(const db::Field &field) = 0;
    // Shows nothing (closed query, no current row, missing column).
    virtual void loadEmpty() = 0;
    // Writes the editor's value; throws db::DbError with the message to
    // refuse the text.
    virtual void storeValue(db::Field &field) = 0;
    // writable: the user may change the value; active: there is data to show.
    virtual void applyWritable(bool writable, bool active) = 0;

private:
    friend class DataLink;
    DataLink *m_link;
};

// The look of an editor's state, the same for every kind: writable in the
// window's colours; otherwise grey, or sky blue when computed (never
// writable), with dark text and no visible selection, whether the editor is
// read-only or disabled. Bound editors get it from their link.
void applyStateLook(QWidget *editor, bool writable, bool computed);
inline QColor computedColour() { return QColor(0xa6, 0xca, 0xf0); }

// The bound editors of a window, in creation order.
QList<QWidget *> dataAwareChildren(QWidget *window);
// Browse (false) or editing (true) look for every bound editor of a window.
void setEditable(QWidget *window, bool editable);
// Asks the query's editors for their text; false when one of them refused it
// (its message has been shown and it has the focus again).
bool updateRecord(db::Query *query);

// Input method. Editors that take Chinese text (names, places, remarks) get
// Qt::WA_InputMethodEnabled and the operator's input-method name as the
// "imeName" property; code, number and date editors have the input method
// switched off. Works on any widget, bound or not.
void setChineseText(QWidget *editor, bool chinese);
bool isChineseText(const QWidget *editor);
// Gives velorin::operator_ime to every Chinese-text editor of the window.
void applyInputMethod(QWidget *window);
// Re-applies the editor's input-method switch (Qt resets it when a text
// editor changes between read-only and writable).
void refreshInputMethod(QWidget *editor);

} // namespace dbctrls
