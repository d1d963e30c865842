#include "dbctrls/datalink.h"
#include "dbctrls/operatorime.h"
#include "db/dberror.h"
#include "db/query.h"
#include "dbctrls/messages.h"
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTimer>
#include <QWidget>

namespace dbctrls {
namespace {

const char *const ChineseProperty = "chineseText";
const char *const ImeProperty = "imeName";

QSet<DataLink *> &allLinks()
{
    static QSet<DataLink *> links;
    return links;
}

} // namespace

// ---------------------------------------------------------------- DataLink

DataLink::DataLink(QWidget *editor, DataAware *aware) : QObject(editor), m_editor(editor), m_aware(aware)
{
    setObjectName(QStringLiteral("dataLink"));
    allLinks().insert(this);
    editor->installEventFilter(this);
}

bool DataLink::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::FocusOut)
            focusLost(static_cast<QFocusEvent *>(event)->reason());
        else if (event->type() == QEvent::Hide)
            pushNow(Refusal::Silent);   // its window closes: keep the text in the row
    }
    return false;
}

DataLink::~DataLink()
{
    allLinks().remove(this);
}

QList<DataLink *> DataLink::linksOf(const db::Query *query)
{
    QList<DataLink *> out;
    for (DataLink *l : allLinks())
        if (l->m_query == query)
            out << l;
    return out;
}

void DataLink::setDataSource(db::Query *query, const QString &field)
{
    if (m_query)
        disconnect(m_query, nullptr, this, nullptr);
    m_query = query;
    m_field = field;
    m_col = -1;
    m_modified = false;
    if (query) {
        connect(query, &db::Query::opened, this, &DataLink::resolve);
        connect(query, &db::Query::closed, this, [this] {
            m_col = -1;
            reload();
            applyLook();
        });
        connect(query, &db::Query::dataReset, this, [this] {
            resolve();
            reload();
            applyLook();
        });
        connect(query, &db::Query::currentChanged, this, &DataLink::onCurrentChanged);
        connect(query, &db::Query::fieldChanged, this, &DataLink::onFieldChanged);
        connect(query, &db::Query::stateChanged, this, &DataLink::onStateChanged);
        connect(query, &db::Query::updateRecordRequested, this, [this] { push(); });
        resolve();
    }
    reload();
    applyLook();
}

void DataLink::resolve()
{
    m_col = m_query && m_query->isActive() ? m_query->fieldIndex(m_field) : -1;
    if (m_query && m_query->isActive() && m_col < 0)
        qWarning("%s: %s has no column '%s'", qPrintable(m_editor->objectName()),
                 qPrintable(m_query->objectName()), qPrintable(m_field));
}

bool DataLink::isActive() const
{
    return m_query && m_query->isActive() && m_col >= 0;
}

void DataLink::setEditable(bool editable)
{
    m_editable = editable;
    applyLook();
}

void DataLink::setAlwaysReadOnly(bool on)
{
    m_alwaysReadOnly = on;
    applyLook();
}

bool DataLink::canWrite() const
{
    if (!m_editable || m_alwaysReadOnly)
        return false;
    if (!m_query)
        return true;
    return isActive() && m_query->canModify();
}

void DataLink::applyLook()
{
    const bool writable = canWrite();
    m_aware->applyWritable(writable, !m_query || isActive());
    applyStateLook(m_editor, writable, m_alwaysReadOnly);
    refreshInputMethod(m_editor);
}

void applyStateLook(QWidget *editor, bool writable, bool computed)
{
    if (writable) {
        if (editor->testAttribute(Qt::WA_SetPalette))
            editor->setPalette(QPalette());   // the window's own look again
        return;
    }
    // Read-only boxes and disabled ones look alike: grey (computed values
    // sky blue) with text as dark as ever, and no selection shown.
    QPalette p = editor->parentWidget() ? editor->parentWidget()->palette() : QApplication::palette(editor);
    const QColor back = computed ? computedColour() : p.color(QPalette::Active, QPalette::Window);
    const QColor text = p.color(QPalette::Active, QPalette::Text);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, back);
        p.setColor(group, QPalette::Highlight, back);
        p.setColor(group, QPalette::HighlightedText, text);
        for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            p.setColor(group, role, text);
    }
    editor->setPalette(p);
}

void DataLink::reload()
{
    ++m_loading;
    m_modified = false;
    if (isActive())
        m_aware->loadValue(m_query->fieldByIndex(m_col));
    else if (m_query || !m_field.isEmpty())
        m_aware->loadEmpty();
    --m_loading;
}

void DataLink::onCurrentChanged()
{
    if (!m_entering)
        reload();
}

void DataLink::onFieldChanged(int col)
{
    if (col == m_col && !m_pushing)
        reload();
}

void DataLink::onStateChanged()
{
    applyLook();
    // After a cancel the stored value shows again.
    if (m_query && m_modified && !m_query->isEditing() && !m_query->controlsDisabled())
        reload();
}

void DataLink::userChanged()
{
    if (m_loading > 0 || !m_query)
        return;
    if (!canWrite()) {
        reload();
        return;
    }
    if (m_query->state() == db::Query::Browse) {
        m_entering = true;
        try {
            m_query->edit();
        } catch (const db::DbError &e) {
            m_entering = false;
            reload();
            msg::dbError(m_editor, e.message());
            return;
        }
        m_entering = false;
    }
    m_modified = true;
}

bool DataLink::push()
{
    return pushNow(Refusal::Show);
}

bool DataLink::pushNow(Refusal refusal)
{
    if (!m_modified)
        return true;
    if (m_refusing)
        return false;   // the refusal's own message box took the focus
    if (!isActive() || !canWrite()) {
        reload();
        return true;
    }
    m_pushing = true;
    try {
        db::Field f = m_query->fieldByIndex(m_col);
        m_aware->storeValue(f);
    } catch (const db::DbError &e) {
        m_pushing = false;
        if (refusal == Refusal::Show)
            refuse(e.message());
        else if (refusal == Refusal::Defer)
            QTimer::singleShot(0, this, [this, message = e.message()] {
                if (m_modified)
                    refuse(message);
            });
        return false;
    }
    m_pushing = false;
    reload();   // the stored form ("2024-02-01" shows as "2024-2-1")
    return true;
}

void DataLink::refuse(const QString &message)
{
    // Query::post asks for the text again right after a window did: one
    // message for one action is enough.
    if (!(m_refusalRecent && message == m_lastRefusal)) {
        m_refusing = true;
        msg::hint(m_editor, message);
        m_refusing = false;
        m_lastRefusal = message;
        m_refusalRecent = true;
        QTimer::singleShot(0, this, [this] { m_refusalRecent = false; });
    }
    if (m_editor->isVisible())
        m_editor->setFocus(Qt::OtherFocusReason);
}

void DataLink::focusLost(Qt::FocusReason reason)
{
    // A popup (calendar, combo list) taking the focus is not the user leaving
    // the editor. Anything else is, including the window closing or another
    // window coming up: the text goes into the row at once. The message about
    // a refused text waits until the focus has settled, and is left for the
    // next push when only the window lost the focus.
    if (reason == Qt::PopupFocusReason)
        return;
    pushNow(reason == Qt::ActiveWindowFocusReason ? Refusal::Silent : Refusal::Defer);
}

// ---------------------------------------------------------------- DataAware

DataAware::DataAware(QWidget *self) : m_link(new DataLink(self, this)) {}

DataAware::~DataAware()
{
    // The link must not call back into an editor that is being destroyed.
    delete m_link;
}

void DataAware::setDataSource(db::Query *query, const QString &field)
{
    m_link->setDataSource(query, field);
}

void DataAware::setChineseText(bool chinese)
{
    dbctrls::setChineseText(m_link->editor(), chinese);
}

// ---------------------------------------------------------------- window-wide

QList<QWidget *> dataAwareChildren(QWidget *window)
{
    QList<QWidget *> out;
    if (!window)
        return out;
    for (DataLink *l : window->findChildren<DataLink *>())
        if (l->isBound())
            out << l->editor();
    return out;
}

void setEditable(QWidget *window, bool editable)
{
    if (!window)
        return;
    for (DataLink *l : window->findChildren<DataLink *>())
        if (l->isBound())
            l->setEditable(editable);
}

bool updateRecord(db::Query *query)
{
    if (!query)
        return true;
    query->updateRecord();
    for (DataLink *l : DataLink::linksOf(query))
        if (l->isModified())
            return false;
    return true;
}

// ---------------------------------------------------------------- input method

void setChineseText(QWidget *editor, bool chinese)
{
    if (!editor)
        return;
    editor->setProperty(ChineseProperty, chinese);
    refreshInputMethod(editor);
}

bool isChineseText(const QWidget *editor)
{
    return editor && editor->property(ChineseProperty).toBool();
}

void refreshInputMethod(QWidget *editor)
{
    if (!editor)
        return;
    const QVariant mark = editor->property(ChineseProperty);
    if (!mark.isValid())
        return;   // left as Qt has it
    const bool chinese = mark.toBool();
    bool writable = true;
    QWidget *inner = nullptr;
    if (auto *le = qobject_cast<QLineEdit *>(editor))
        writable = !le->isReadOnly();
    else if (auto *te = qobject_cast<QPlainTextEdit *>(editor))
        writable = !te->isReadOnly();
    else if (auto *cb = qobject_cast<QComboBox *>(editor))
        inner = cb->lineEdit();
    for (QWidget *w : {editor, inner}) {
        if (!w)
            continue;
        w->setAttribute(Qt::WA_InputMethodEnabled, chinese && writable);
        w->setProperty(ImeProperty, chinese ? velorin::operator_ime : QString());
        Qt::InputMethodHints h = w->inputMethodHints();
        h.setFlag(Qt::ImhPreferLatin, !chinese);
        w->setInputMethodHints(h);
    }
}

void applyInputMethod(QWidget *window)
{
    if (!window)
        return;
    QList<QWidget *> all = window->findChildren<QWidget *>();
    all.prepend(window);
    for (QWidget *w : all)
        if (isChineseText(w))
            refreshInputMethod(w);
}

} // namespace dbctrls
