#include "data/editorwindow.h"
#include "data/editorpanel.h"
#include "data/memowindow.h"
#include "data/savestep.h"
#include "db/connection.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/sorting.h"
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace data {
namespace {

// The roles' own enabling: the state table of the two-state editors, and
// the entry rule (增加 and 返回 rest while a new row is entered).
When defaultWhen(Role r, EditorStyle style)
{
    const bool twoStates = style == EditorStyle::TwoStates;
    switch (r) {
    case Role::Edit: return twoStates ? When::Browse : When::Always;
    case Role::Add: return When::NotAdding;
    case Role::Save: case Role::Cancel: case Role::Choose: return twoStates ? When::Editing : When::Always;
    case Role::Close: return twoStates ? When::Always : When::NotAdding;
    default: return When::Always;
    }
}

} // namespace

EditorWindow::EditorWindow(QWidget *owner) : QDialog(owner)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

EditorWindow::~EditorWindow() = default;

QAbstractButton *EditorWindow::button(const QString &objectName) const
{
    return m_bar.button(objectName);
}

void EditorWindow::build(const EditWindowDecl &decl)
{
    m_decl = decl;
    setWindowTitle(decl.caption);
    m_top = new QVBoxLayout(this);
    m_top->setContentsMargins(6, 6, 6, 6);
    m_top->setSpacing(4);

    auto *toolRow = new QHBoxLayout;
    toolRow->setSpacing(2);
    buildButtons(toolRow, decl.buttons, false);
    if (!decl.buttonsBelow)
        m_top->addLayout(toolRow);
    m_panel = buildEditorPanel(this, decl.query, decl.editors, decl.panelColumns, m_editors);
    m_top->addWidget(m_panel);
    if (!decl.note.isEmpty()) {
        auto *note = new QLabel(decl.note, this);
        note->setWordWrap(true);
        note->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_top->addWidget(note);
    }
    if (decl.attached.query)
        buildAttached();
    else
        m_top->addStretch(1);
    if (decl.buttonsBelow)
        m_top->addLayout(toolRow);

    QList<QWidget *> ring;
    for (const auto &f : decl.enterRing)
        if (auto *w = m_editors.value(f))
            ring << w;
    if (!ring.isEmpty()) {
        // While browsing the two-state editors leave Enter to the control.
        const bool always = decl.style == EditorStyle::Entry;
        m_ring = new dbctrls::EnterRing(ring, [this, always] { return always || m_editing; }, {}, this);
        if (decl.enterSaves)
            if (auto *b = button(QStringLiteral("bitbtn_save")))
                m_ring->setFinalButton(b);
        for (auto it = decl.enterExtra.cbegin(); it != decl.enterExtra.cend(); ++it)
            if (auto *from = m_editors.value(it.key()))
                m_ring->addJump(from, m_editors.value(it.value()));
    }
    if (!decl.memoField.isEmpty())
        if (auto *memo = findChild<dbctrls::DBMemo *>(QStringLiteral("DBMemo1")))
            connect(memo, &dbctrls::DBMemo::doubleClicked, this, &EditorWindow::openMemo);
    dbctrls::applyInputMethod(this);
    setEditing(false);
}

void EditorWindow::buildButtons(QHBoxLayout *row, const QVector<ButtonDecl> &buttons, bool attachedBar)
{
    if (m_decl.buttonsBelow && !attachedBar)
        row->addStretch(1);
    const EditorStyle style = m_decl.style;
    m_bar.add(this, row, buttons, [style](Role r) { return defaultWhen(r, style); },
              [this](Role r) { standardAction(r); }, attachedBar);
    if (!m_decl.buttonsBelow || attachedBar)
        row->addStretch(1);
}

void EditorWindow::standardAction(Role r)
{
    switch (r) {
    case Role::Add: add(); break;
    case Role::Edit: edit(); break;
    case Role::Save: save(); break;
    case Role::Cancel: cancel(); break;
    case Role::Close: close(); break;
    case Role::First: first(); break;
    case Role::Prior: prior(); break;
    case Role::Next: next(); break;
    case Role::Last: last(); break;
    default: break;
    }
}

void EditorWindow::buildAttached()
{
    const AttachedDecl &a = m_decl.attached;
    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    if (!a.note.isEmpty()) {
        auto *note = new QLabel(a.note, this);
        note->setStyleSheet(QStringLiteral("color: #b00000;"));
        bar->addWidget(note);
    }
    buildButtons(bar, a.buttons, true);
    m_top->addLayout(bar);
    m_attachedGrid = new grid::DBGridEh(this);
    m_attachedGrid->setObjectName(a.objectName);
    grid::Columns cols = a.columns;
    if (!a.sortable)
        for (auto &c : cols)
            c.sortable = false;
    m_attachedGrid->setColumns(cols);
    m_attachedGrid->setQuery(a.query);
    m_attachedGrid->setDichromatic(true);
    m_attachedGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_top->addWidget(m_attachedGrid, 1);
    if (a.sortable)
        connect(m_attachedGrid, &grid::DBGridEh::sortMarkingChanged, this,
                [this] { grid::applySort(m_decl.attached.query, m_attachedGrid->sortMarkers()); });
    if (a.doubleClick)
        connect(m_attachedGrid, &QAbstractItemView::doubleClicked, this, [this] { m_decl.attached.doubleClick(); });
}

void EditorWindow::updateButtons()
{
    m_bar.update(m_editing, m_adding, m_navFirstPrior, m_navNextLast);
}

void EditorWindow::setNavigation(bool firstPrior, bool nextLast)
{
    m_navFirstPrior = firstPrior;
    m_navNextLast = nextLast;
    updateButtons();
}

QVector<ButtonDecl> EditorWindow::twoStateButtons(const QVector<ButtonDecl> &choices)
{
    QVector<ButtonDecl> b = {
        {.role = Role::First, .objectName = QStringLiteral("first")},
        {.role = Role::Prior, .objectName = QStringLiteral("prior")},
        {.role = Role::Next, .objectName = QStringLiteral("next")},
        {.role = Role::Last, .objectName = QStringLiteral("last")},
    };
    b += choices;
    b += {
        {.role = Role::Edit, .objectName = QStringLiteral("bitbtn_edit"), .caption = QStringLiteral("编辑")},
        {.role = Role::Add, .objectName = QStringLiteral("bitbtn_add"), .caption = QStringLiteral("新增")},
        {.role = Role::Save, .objectName = QStringLiteral("bitbtn_save"), .caption = QStringLiteral("存盘")},
        {.role = Role::Cancel, .objectName = QStringLiteral("bitbtn_cancel"), .caption = QStringLiteral("取消")},
        {.role = Role::Close, .objectName = QStringLiteral("bitbtn_close"), .caption = QStringLiteral("返回")},
    };
    return b;
}

QString EditorWindow::entryRowList() const
{
    QStringList keys;
    for (qint64 k : m_entryRows)
        keys << QString::number(k);
    return keys.join(QLatin1Char(','));
}

void EditorWindow::setEditing(bool editing, bool adding)
{
    // An entry begins or ends: the rows stored for the last one are its own.
    if (editing != m_editing || adding != m_adding)
        m_entryRows.clear();
    m_editing = editing;
    m_adding = adding;
    if (!editing)
        m_navFirstPrior = m_navNextLast = true;
    const bool writable = m_decl.style == EditorStyle::Entry || editing;
    for (const EditorDecl &e : m_decl.editors)
        if (auto *da = dynamic_cast<dbctrls::DataAware *>(m_editors.value(e.field)))
            da->setEditable(writable);
    updateButtons();
}

void EditorWindow::focusField(const QString &field)
{
    const QString f = !field.isEmpty() ? field : m_decl.focusField;
    if (auto *w = m_editors.value(f.isEmpty() && !m_decl.enterRing.isEmpty() ? m_decl.enterRing.first() : f))
        w->setFocus();
}

void EditorWindow::add()
{
    auto *q = m_decl.query;
    if (refuseReadOnly(this, q->connection()))
        return;
    // 新增 during an edit drops the edit and starts a new row.
    if (m_adding)
        giveUpNewEntry();
    q->cancel();
    beforeAppend();
    setEditing(m_decl.style == EditorStyle::TwoStates, true);
    q->last();
    q->append();
    afterAppend();
    reloadAttached();
    focusField({});
}

void EditorWindow::edit()
{
    if (refuseReadOnly(this, m_decl.query->connection()))
        return;
    setEditing(true, false);
    focusField({});
}

void EditorWindow::rereadShown(bool written)
{
    if (db::Query *rows = m_decl.attached.query; rows && rows->isActive())
        rows->cancel();
    // The whole list: a save may have rewritten other rows of it (balances).
    rereadAfterFailure(m_decl.query, written, true);
    reloadAttached();
}

void EditorWindow::save()
{
    auto *q = m_decl.query;
    db::Query *rows = m_decl.attached.query;
    const SaveOutcome outcome =
        saveRow(this, {.query = q,
                       .stampOperator = m_decl.stampOperator,
                       .stampDate = m_decl.stampDate,
                       .refuseReadOnly = true,
                       .checks = [this] { return checks(); },
                       .beforePost = [this] { beforePost(); },
                       .afterPost =
                           [this, rows] {
                               // Then a change pending on the attached row the grid shows.
                               if (rows && rows->isActive() && rows->isEditing())
                                   rows->post();
                               afterPost();
                           },
                       .committed = [this] { afterSave(); },
                       .savedMessage = m_decl.savedMessage,
                       .alsoCancelled = {rows},
                       .rereadList = true,
                       .rereadOthers = [this] { reloadAttached(); }});
    if (outcome != SaveOutcome::Stopped)
        setEditing(false, false);
}

void EditorWindow::giveUpNewEntry()
{
    m_decl.query->cancel();
    guarded(this, m_decl.query->connection(), QStringLiteral("取消"), [this] { discardNewEntry(); },
            [this] { rereadShown(false); });
    m_adding = false;
}

void EditorWindow::cancel()
{
    auto *q = m_decl.query;
    db::Query *rows = m_decl.attached.query;
    if (m_decl.style == EditorStyle::Entry) {
        q->cancel();
        setEditing(false, false);
        return;
    }
    if (m_adding) {
        giveUpNewEntry();
    } else {
        if (rows && rows->isActive())
            rows->cancel();
        q->cancel();
        reloadAttached();
    }
    // Back to the list as the database holds it, on its first row.
    q->close();
    q->open();
    q->first();
    reloadAttached();
    setEditing(false, false);
}

void EditorWindow::first()
{
    m_decl.query->first();
    reloadAttached();
    setNavigation(false, true);
}

void EditorWindow::prior()
{
    m_decl.query->prior();
    reloadAttached();
    setNavigation(!m_decl.query->bof(), true);
}

void EditorWindow::next()
{
    m_decl.query->next();
    reloadAttached();
    setNavigation(true, !m_decl.query->eof());
}

void EditorWindow::last()
{
    m_decl.query->last();
    reloadAttached();
    setNavigation(true, false);
}

void EditorWindow::reloadAttached()
{
    const AttachedDecl &a = m_decl.attached;
    if (!a.query || !a.reload || !m_decl.query->isActive())
        return;
    a.query->close();
    a.query->setSql(a.reload(*m_decl.query));
    a.query->open();
}

bool EditorWindow::fail(const QString &message, const QString &focusField, msg::Icon icon)
{
    return failCheck(this, m_editors, message, focusField, icon);
}

bool EditorWindow::requireText(const QString &field, const QString &message)
{
    return requireTextOf(this, m_editors, m_decl.query, field, message);
}

bool EditorWindow::isDuplicate(const QStringList &searchLines, const QStringList &keyFields)
{
    return data::isDuplicate(m_decl.query, m_decl.search, searchLines, keyFields);
}

QString EditorWindow::editorText(const QString &field) const
{
    return editorTextOf(m_editors, m_decl.query, field);
}

void EditorWindow::openMemo()
{
    if (m_decl.style == EditorStyle::TwoStates && !m_editing)
        return;
    TForm_bz memo(this, m_decl.query, m_decl.memoField);
    memo.exec();
}

void EditorWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    // The operator may have changed since the window was made.
    dbctrls::applyInputMethod(this);
}

void EditorWindow::done(int r)
{
    // 返回: what was not saved is dropped, a new row's stored parts with it.
    if (m_adding)
        giveUpNewEntry();
    if (m_decl.query && m_decl.query->isActive())
        m_decl.query->cancel();
    setEditing(false, false);
    QDialog::done(r);
}

} // namespace data
