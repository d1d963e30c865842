#include "data/recordlist.h"
#include "data/bulkmark.h"
#include "data/editorpanel.h"
#include "data/memowindow.h"
#include "data/savestep.h"
#include "data/session.h"
#include "db/dates.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/enterring.h"
#include "dbctrls/icons.h"
#include "grid/dbgrideh.h"
#include "grid/footerbar.h"
#include "grid/designwidth.h"
#include "grid/gridtoolbar.h"
#include "grid/sorting.h"
#include "grid/tablesource.h"
#include "grid/export.h"
#include "grid/layoutstore.h"
#include <QProgressBar>
#include "grid/print.h"
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace data {

QString searchTerm(const SearchField &f, const QString &value)
{
    if (!f.format.isEmpty())
        return f.format.arg(db::q(value));
    switch (f.term) {
    case TermKind::Like:
        return QStringLiteral("(%1 like '%%2%')").arg(f.column, db::q(value));
    case TermKind::Exact:
        return QStringLiteral("(%1 = '%2')").arg(f.column, db::q(value));
    case TermKind::Day:
        return QStringLiteral("(%1 between cdate('%2') and cdate('%2'))").arg(f.column, db::q(value));
    case TermKind::Range:
        break;   // built from two dates by the search dialog
    }
    return {};
}

QString joinTerms(const QStringList &terms)
{
    QString c;
    for (const auto &t : terms)
        c += c.isEmpty() ? t : QStringLiteral("and") + t;
    return c;
}

bool refuseReadOnly(QWidget *parent, const db::Connection *connection)
{
    if (!connection || !connection->isReadOnly())
        return false;
    msg::hint(parent, QStringLiteral("数据库文件只读，不能增加、修改或删除记录：\n%1")
                          .arg(QDir::toNativeSeparators(connection->filePath())));
    return true;
}

bool deleteCurrentRow(QWidget *parent, db::Query *query)
{
    if (refuseReadOnly(parent, query->connection()))
        return false;
    try {
        query->deleteRecord();
        return true;
    } catch (const db::DbError &e) {
        query->cancel();
        msg::writeFailed(parent, e, QStringLiteral("删除失败：\n%1").arg(e.message()));
        return false;
    }
}

namespace {

When defaultWhen(Role r)
{
    switch (r) {
    case Role::Add: case Role::Edit: case Role::Delete: case Role::Print: case Role::Export:
        return When::Browse;
    case Role::Save: case Role::Cancel: case Role::Choose:
        return When::Editing;
    default:
        return When::Always;
    }
}

} // namespace

RecordListWindow::RecordListWindow(QWidget *owner) : QDialog(owner)
{
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

RecordListWindow::~RecordListWindow() = default;

QAbstractButton *RecordListWindow::button(const QString &objectName) const
{
    return m_bar.button(objectName);
}

void RecordListWindow::setButtonWhen(const QString &objectName, When when)
{
    m_bar.setWhen(objectName, when);
    updateButtons();
}

void RecordListWindow::build(const ListDecl &decl)
{
    m_decl = decl;
    setWindowTitle(decl.caption);
    m_top = new QVBoxLayout(this);
    m_top->setContentsMargins(4, 4, 4, 4);
    m_top->setSpacing(4);

    buildButtons();
    if (!decl.heading.isEmpty()) {
        auto *h = new QLabel(decl.heading, this);
        h->setObjectName(QStringLiteral("Label_heading"));
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        h->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_top->addWidget(h);
    }
    buildQuickSearch();
    if (!decl.editors.isEmpty())
        buildPanel();

    // Grid services row: two-tone, fit, hide/show columns, navigator.
    auto *svc = new QHBoxLayout;
    m_dichromatic = new QCheckBox(decl.dichromaticCaption, this);
    m_dichromatic->setObjectName(QStringLiteral("cbDichromatic"));
    m_dichromatic->setChecked(true);
    m_fit = new QCheckBox(decl.fitCaption, this);
    m_fit->setObjectName(QStringLiteral("CheckBox1"));
    m_fit->setChecked(decl.fit);
    m_grid = new grid::DBGridEh(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setColumns(grid::withDesignWidths(decl.columns, m_grid->fontMetrics()));
    m_grid->setQuery(decl.query);
    m_grid->setDichromatic(true);
    m_grid->setAutoFit(decl.fit);
    m_gridTools = new grid::GridToolBar(m_grid, this);
    m_gridTools->setMinimumVisible(decl.minVisible);
    m_gridTools->setLocked(!decl.columnButtons);
    m_navigator = new dbctrls::DBNavigator(this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator->setDataSource(decl.query);
    svc->addWidget(m_dichromatic);
    svc->addWidget(m_fit);
    svc->addWidget(m_gridTools);
    svc->addStretch(1);
    // Runs while the rest of a long list is read behind the first screen.
    auto *reading = new QProgressBar(this);
    reading->setObjectName(QStringLiteral("ProgressBarReading"));
    reading->setRange(0, 0);
    reading->setTextVisible(false);
    reading->setMaximumWidth(120);
    reading->setToolTip(QStringLiteral("正在读取其余记录"));
    reading->setVisible(false);
    svc->addWidget(reading);
    svc->addWidget(m_navigator);
    m_top->addLayout(svc);
    auto showReading = [this, reading] { reading->setVisible(m_decl.query->isReading()); };
    connect(decl.query, &db::Query::opened, reading, showReading);
    connect(decl.query, &db::Query::closed, reading, showReading);
    connect(decl.query, &db::Query::readFinished, reading, showReading);
    connect(decl.query, &db::Query::readFailed, this, [this](const QString &e) { msg::dbError(this, e); });
    showReading();
    m_top->addWidget(m_grid, 1);

    connect(m_dichromatic, &QCheckBox::toggled, m_grid, &grid::DBGridEh::setDichromatic);
    connect(m_fit, &QCheckBox::toggled, m_grid, &grid::DBGridEh::setAutoFit);
    // A search or sort that reopens the list while a row is being edited has
    // dropped that change: the window must not stay in the editing state.
    connect(decl.query, &db::Query::opened, this, [this] {
        if (m_editing)
            setEditing(false);
    });
    connect(m_grid, &grid::DBGridEh::sortMarkingChanged, this,
            [this] { grid::applySort(m_decl.query, m_grid->sortMarkers()); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] {
        if (!m_decl.gridDoubleClickEdits)
            return;
        if (auto *b = m_bar.button(Role::Edit); b && b->isEnabled())
            b->click();
    });

    if (!m_decl.enterRing.isEmpty()) {
        QList<QWidget *> ring;
        for (const auto &f : m_decl.enterRing)
            if (auto *w = m_editors.value(f))
                ring << w;
        dbctrls::EnterRing::Action last;
        if (m_decl.enterRingStops)
            last = [] {};
        m_ring = new dbctrls::EnterRing(ring, [this] { return m_editing; }, last, this);
        for (auto it = m_decl.enterExtra.cbegin(); it != m_decl.enterExtra.cend(); ++it)
            if (auto *from = m_editors.value(it.key()))
                if (auto *to = m_editors.value(it.value()))
                    m_ring->addJump(from, to);
    }
    if (!m_decl.memoField.isEmpty())
        if (auto *memo = findChild<dbctrls::DBMemo *>(QStringLiteral("DBMemo1")))
            connect(memo, &dbctrls::DBMemo::doubleClicked, this, &RecordListWindow::openMemo);
    dbctrls::applyInputMethod(this);
    setEditing(false);
}

void RecordListWindow::buildButtons()
{
    m_toolRow = new QHBoxLayout;
    m_toolRow->setSpacing(2);
    m_bar.add(this, m_toolRow, m_decl.buttons, defaultWhen, [this](Role r) { standardAction(r); });
    m_toolRow->addStretch(1);
    m_top->addLayout(m_toolRow);
}

void RecordListWindow::standardAction(Role r)
{
    switch (r) {
    case Role::Add: add(); break;
    case Role::Edit: edit(); break;
    case Role::Save: save(); break;
    case Role::Cancel: cancel(); break;
    case Role::Delete: remove(); break;
    case Role::Refresh: refresh(); break;
    case Role::Search: quickSearch(); break;
    case Role::Print: print(); break;
    case Role::Export: exportData(); break;
    case Role::ResetLayout: resetLayout(); break;
    case Role::Close: close(); break;
    case Role::Choose: case Role::Custom: case Role::First: case Role::Prior: case Role::Next:
    case Role::Last: break;
    }
}

void RecordListWindow::buildQuickSearch()
{
    if (m_decl.quickSearch.isEmpty())
        return;
    auto *row = new QHBoxLayout;
    for (const SearchField &f : m_decl.quickSearch) {
        row->addWidget(new QLabel(f.label, this));
        QWidget *w = nullptr;
        if (f.kind == EditorKind::Combo) {
            auto *c = new dbctrls::DBComboBox(this);
            c->addItems(f.items);
            c->setChineseText(f.chinese);
            c->setMinimumWidth(140);
            w = c;
        } else if (f.kind == EditorKind::Date) {
            auto *d = new dbctrls::DBDateEdit(this);
            w = d;
        } else {
            auto *e = new dbctrls::DBEdit(this);
            e->setCharCaseUpper(f.upper);
            e->setChineseText(f.chinese);
            w = e;
        }
        w->setObjectName(f.objectName);
        row->addWidget(w);
        m_searchWidgets << w;
    }
    // The search button, when the window declared it among its buttons,
    // moves next to the fields.
    if (auto *b = button(m_decl.quickSearchButton))
        row->addWidget(b);
    row->addStretch(1);
    m_top->addLayout(row);
    switch (m_decl.quickSearchEnter) {
    case StripEnter::Moves: {
        // Enter moves along the strip and runs the search in its last field.
        QList<QWidget *> ring(m_searchWidgets.begin(), m_searchWidgets.end());
        new dbctrls::EnterRing(ring, [] { return true; }, [this] { quickSearch(); }, this);
        break;
    }
    case StripEnter::EachRuns:
        // A ring of one: Enter in it is its last field's Enter.
        for (QWidget *w : m_searchWidgets)
            new dbctrls::EnterRing({w}, [] { return true; }, [this] { quickSearch(); }, this);
        break;
    case StripEnter::Nothing:
        break;
    }
}

void RecordListWindow::buildPanel()
{
    m_panel = buildEditorPanel(this, m_decl.query, m_decl.editors, m_decl.panelColumns, m_editors);
    m_top->addWidget(m_panel);
}

void RecordListWindow::updateButtons()
{
    m_bar.update(m_editing, false);
}

void RecordListWindow::setEditing(bool on)
{
    m_editing = on;
    updateButtons();
    for (const EditorDecl &e : m_decl.editors)
        if (auto *da = dynamic_cast<dbctrls::DataAware *>(m_editors.value(e.field)))
            da->setEditable(on);
    if (m_grid)
        m_grid->setEnabled(!on);
    if (m_navigator)
        m_navigator->setEnabled(!on);
}

void RecordListWindow::add()
{
    if (refuseReadOnly(this, m_decl.query->connection()))
        return;
    setEditing(true);
    auto *q = m_decl.query;
    q->cancel();
    q->last();
    q->append();
    afterAppend();
    if (!m_decl.editors.isEmpty())
        if (auto *w = m_editors.value(m_decl.editors.first().field))
            w->setFocus();
}

void RecordListWindow::edit()
{
    if (refuseReadOnly(this, m_decl.query->connection()))
        return;
    if (m_decl.editors.isEmpty()) {
        openEditor();
        return;
    }
    // Editing nothing would append a bare row on save.
    if (m_decl.editNeedsRow && m_decl.query->isEmpty())
        return;
    setEditing(true);
    const QString focus = !m_decl.editFocus.isEmpty() ? m_decl.editFocus
                          : m_decl.enterRing.isEmpty() ? m_decl.editors.first().field
                                                       : m_decl.enterRing.first();
    if (auto *w = m_editors.value(focus))
        w->setFocus();
}

bool RecordListWindow::fail(const QString &message, const QString &focusField, msg::Icon icon)
{
    return failCheck(this, m_editors, message, focusField, icon);
}

bool RecordListWindow::requireText(const QString &field, const QString &message)
{
    return requireTextOf(this, m_editors, m_decl.query, field, message);
}

QString RecordListWindow::editorText(const QString &field) const
{
    return editorTextOf(m_editors, m_decl.query, field);
}

bool isDuplicate(db::Query *row, db::Query *search, const QStringList &searchLines, const QStringList &keyFields)
{
    std::unique_ptr<db::Query> own;
    if (!search) {
        own = std::make_unique<db::Query>(row->connection(), QStringLiteral("q_search"));
        search = own.get();
    }
    search->reopenWith(searchLines);
    const bool found = !search->isEmpty();
    search->close();
    if (!found)
        return false;
    if (row->state() == db::Query::Insert)
        return true;
    for (const auto &k : keyFields) {
        const db::Field f = row->field(k);
        if (db::Query::displayOf(f.kind(), f.oldValue()) != f.asString())
            return true;
    }
    return false;
}

bool RecordListWindow::isDuplicate(const QStringList &searchLines, const QStringList &keyFields)
{
    return data::isDuplicate(m_decl.query, m_decl.search, searchLines, keyFields);
}

void RecordListWindow::save()
{
    auto *q = m_decl.query;
    const SaveOutcome outcome = saveRow(this, {.query = q,
                                               .stampOperator = m_decl.stampOperator,
                                               .stampDate = m_decl.stampDate,
                                               .checks = [this] { return checks(); },
                                               .beforePost = [this] { beforePost(); },
                                               .afterPost = [this] { afterPost(); }});
    if (outcome == SaveOutcome::Stopped)
        return;
    setEditing(false);
    if (m_decl.refreshAfterSave)
        q->refetchRows();
}

void RecordListWindow::cancel()
{
    m_decl.query->cancel();
    setEditing(false);
}

void RecordListWindow::remove()
{
    auto *q = m_decl.query;
    if (q->isEmpty())
        return;
    if (refuseReadOnly(this, q->connection()) || !canDelete())
        return;
    if (!msg::confirm(this, deleteQuestion(), deleteCaption()))
        return;
    const db::Query::Bookmark row = q->bookmark();
    bool deleted = false;
    try {
        db::Transaction tx(*q->connection());
        beforeDelete();
        q->deleteRecord();
        deleted = true;
        afterDelete();
        tx.commit();
    } catch (const db::DbError &e) {
        q->cancel();
        // Rolled back after the row had left the list: show it again.
        if (deleted) {
            q->refreshKeepingRow();
            q->gotoBookmark(row);
        }
        msg::writeFailed(this, e, QStringLiteral("删除失败：\n%1").arg(e.message()));
    }
}

bool RecordListWindow::markListed(const QString &question, const QString &action,
                                  const std::function<void(db::Query &)> &mark,
                                  const std::function<QString(db::Query &)> &describe)
{
    if (!msg::confirm(this, question))
        return false;
    if (m_editing)
        cancel();
    return markEveryRow(this, m_decl.query, action, mark, describe);
}

void RecordListWindow::refresh()
{
    m_decl.query->refreshKeepingRow();
}

void RecordListWindow::print()
{
    m_dichromatic->setChecked(false);
    grid::PrintSettings s =
        grid::PrintSettings::standard(m_decl.printTitle, velorin::operator_name, m_decl.pageNumberRight);
    preparePrint(s);
    auto src = m_grid->tableSource();
    grid::printPreview(this, *src, s);
    m_dichromatic->setChecked(true);
}

void RecordListWindow::exportData()
{
    auto src = m_grid->tableSource();
    grid::exportTable(this, *src, m_decl.exportName);
}

void RecordListWindow::resetLayout()
{
    m_resetLayout = true;
    msg::hint(this, QStringLiteral("界面初始化完毕！"));
}

void RecordListWindow::quickSearch()
{
    // A date that is no date would otherwise drop its term and list every row.
    for (QWidget *w : std::as_const(m_searchWidgets))
        if (auto *d = qobject_cast<dbctrls::DBDateEdit *>(w); d && !d->hasValidText()) {
            msg::hint(this, d->refusal());
            d->setFocus();
            return;
        }
    QStringList terms;
    for (int i = 0; i < m_decl.quickSearch.size(); ++i) {
        const SearchField &f = m_decl.quickSearch[i];
        QString v;
        if (auto *c = qobject_cast<QComboBox *>(m_searchWidgets[i]))
            v = c->currentText().trimmed();
        else if (auto *d = qobject_cast<dbctrls::DBDateEdit *>(m_searchWidgets[i]))
            v = d->isEmpty() ? QString() : db::shortDate(d->date());
        else if (auto *e = qobject_cast<QLineEdit *>(m_searchWidgets[i]))
            v = e->text().trimmed();
        if (!v.isEmpty())
            terms << searchTerm(f, v);
    }
    const QString cond = joinTerms(terms);
    QStringList lines = m_decl.quickSearchHead;
    if (!cond.isEmpty())
        lines << QStringLiteral(" where ") + cond;
    lines << m_decl.quickSearchOrder;
    m_decl.query->reopenWith(lines);
    if (m_decl.query->isEmpty())
        msg::info(this, QStringLiteral("没有找到合适的记录！"));
}

void RecordListWindow::openMemo()
{
    if (!m_editing)
        return;
    TForm_bz memo(this, m_decl.query, m_decl.memoField);
    memo.exec();
}

QString RecordListWindow::layoutFile() const
{
    return QDir::current().filePath(m_decl.module + QStringLiteral(".ini"));
}

void RecordListWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!m_layoutLoaded && m_decl.layoutStore && m_grid) {
        m_layoutLoaded = true;
        grid::LayoutStore store(layoutFile());
        if (store.load(*m_grid))
            m_fit->setChecked(m_grid->autoFit());
    }
    // Sized once, after the stored layout; a window that chose its own size keeps it.
    if (!m_placed && m_grid && !isMaximized() && !isFullScreen()) {
        m_placed = true;
        if (!testAttribute(Qt::WA_Resized))
            placeOnScreen();
    }
}

void RecordListWindow::placeOnScreen()
{
    QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *scr = owner ? owner->screen() : screen();
    if (!scr)
        return;
    // The frame a window manager adds: this window's where already known,
    // else as the owner has it.
    const auto frameOf = [](const QWidget *w) { return (w->frameGeometry().size() - w->size()).expandedTo(QSize(0, 0)); };
    const QSize frame = frameOf(this).expandedTo(owner && owner->isVisible() ? frameOf(owner) : QSize(0, 0));
    const QRect avail = scr->availableGeometry().adjusted(0, 0, -frame.width(), -frame.height());

    // As wide as the visible columns side by side (or the rows above the
    // grid), as tall as a screenful of rows; never more than the screen.
    int gridWidth = 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    for (int l : m_grid->visibleColumns())
        gridWidth += qMax(1, m_grid->column(l).width);
    const QMargins margins = m_top->contentsMargins();
    const QSize hint = sizeHint();
    const int rows = qBound(12, m_decl.query && m_decl.query->isActive() ? m_decl.query->rowsRead() : 0, 30);
    const int gridHeight = 2 * m_grid->frameWidth() + m_grid->horizontalHeader()->sizeHint().height() +
                           m_grid->footer()->barHeight() + m_grid->horizontalScrollBar()->sizeHint().height() +
                           rows * m_grid->verticalHeader()->defaultSectionSize();
    int width = qMin(qMax(hint.width(), gridWidth + margins.left() + margins.right()), avail.width());
    int height = qMin(hint.height() - m_grid->sizeHint().height() + gridHeight, avail.height());

    QPoint at;
    const QRect panel = keepClearRect(true), keep = keepClearRect(false);
    if (!panel.isNull() && avail.bottom() - panel.bottom() >= qMin(height, 360)) {
        placeBeside(panel, avail, frame, width, height, at);
    } else if (!keep.isNull()) {
        placeBeside(keep, avail, frame, width, height, at);
    } else {
        const QRect around = owner && owner->isVisible() ? owner->geometry() : avail;
        at = around.center() - QPoint(width / 2, height / 2);
    }
    resize(width, height);
    at.setX(qBound(avail.left(), at.x(), avail.right() - width));
    at.setY(qBound(avail.top(), at.y(), avail.bottom() - height));
    move(at);
}

void RecordListWindow::keepClear(QWidget *caller, const QStringList &fields)
{
    m_keepClearOf = caller;
    m_keepClearFields = fields;
}

QRect RecordListWindow::keepClearRect(bool wholePanel) const
{
    QWidget *caller = m_keepClearOf ? m_keepClearOf.data() : parentWidget();
    if (!caller || !caller->window()->isVisible())
        return {};
    QRect keep;
    for (QWidget *e : dbctrls::dataAwareChildren(caller->window())) {
        const auto *aware = dynamic_cast<const dbctrls::DataAware *>(e);
        if (aware && e->isVisible() && m_keepClearFields.contains(aware->dataField()))
            keep |= QRect(e->mapToGlobal(QPoint(0, 0)), e->size());
    }
    // A list entering a row: its whole edit panel stays in sight, where it can.
    auto *list = qobject_cast<RecordListWindow *>(caller->window());
    if ((keep.isNull() || wholePanel) && list && list->m_panel && list->m_panel->isVisible())
        keep |= QRect(list->m_panel->mapToGlobal(QPoint(0, 0)), list->m_panel->size());
    return keep;
}

void RecordListWindow::placeBeside(const QRect &keep, const QRect &avail, const QSize &frame, int &width, int &height,
                                   QPoint &at) const
{
    // Below the editors being filled, else above, else beside them; where
    // none has room for the whole window it gets shorter, never on top.
    constexpr int gap = 6;
    const int minHeight = qMax(qMin(height, 300), minimumSizeHint().height());
    const int minWidth = qMax(qMin(width, 480), minimumSizeHint().width());
    const int below = avail.bottom() - (keep.bottom() + gap) + 1;
    const int above = keep.top() - gap - frame.height() - avail.top();
    const int right = avail.right() - (keep.right() + gap) + 1;
    const int left = keep.left() - gap - frame.width() - avail.left();
    const int x = keep.left() - 20;
    if (below >= minHeight || (below >= above && right < minWidth && left < minWidth)) {
        height = qMin(height, below);
        at = QPoint(x, keep.bottom() + gap);
    } else if (above >= minHeight || (right < minWidth && left < minWidth)) {
        height = qMin(height, above);
        at = QPoint(x, keep.top() - gap - frame.height() - height);
    } else if (right >= left) {
        width = qMin(width, right);
        at = QPoint(keep.right() + gap, keep.top());
    } else {
        width = qMin(width, left);
        at = QPoint(keep.left() - gap - frame.width() - width, keep.top());
    }
}

void RecordListWindow::done(int r)
{
    if (m_decl.layoutStore && m_grid && m_layoutLoaded)
        grid::LayoutStore(layoutFile()).save(*m_grid);
    if (m_decl.query)
        m_decl.query->cancel();
    // Nobody is left to look at the rest of a list still being read: its
    // openers and pickers open it anew each time.
    if (m_decl.query && m_decl.query->isReading())
        m_decl.query->close();
    if (m_resetLayout && QFile::exists(layoutFile()))
        QFile::remove(layoutFile());
    QDialog::done(r);
}

} // namespace data
