#include "data/editorpanel.h"
#include "dbctrls/dbctrls.h"
#include "grid/designwidth.h"
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace data {

QWidget *makeEditor(const EditorDecl &e, db::Query *q, QWidget *parent)
{
    QWidget *w = nullptr;
    switch (e.kind) {
    case EditorKind::Edit: {
        auto *ed = new dbctrls::DBEdit(parent);
        ed->setDataSource(q, e.field);
        ed->setCharCaseUpper(e.upper);
        if (e.maxLength > 0)
            ed->setMaxLength(e.maxLength);
        w = ed;
        break;
    }
    case EditorKind::Combo: {
        auto *c = new dbctrls::DBComboBox(parent);
        c->addItems(e.items);
        c->setDataSource(q, e.field);
        w = c;
        break;
    }
    case EditorKind::Date: {
        auto *d = new dbctrls::DBDateEdit(parent);
        d->setDataSource(q, e.field);
        w = d;
        break;
    }
    case EditorKind::Whole: case EditorKind::Decimal: case EditorKind::Money: {
        auto *n = new dbctrls::DBNumberEdit(parent);
        n->setMode(e.kind == EditorKind::Whole ? dbctrls::DBNumberEdit::Whole
                   : e.kind == EditorKind::Money ? dbctrls::DBNumberEdit::Money
                                                 : dbctrls::DBNumberEdit::Decimal);
        n->setDataSource(q, e.field);
        w = n;
        break;
    }
    case EditorKind::Memo: {
        auto *m = new dbctrls::DBMemo(parent);
        m->setDataSource(q, e.field);
        m->setFixedHeight(48);
        w = m;
        break;
    }
    case EditorKind::Check: {
        auto *c = new dbctrls::DBCheckBox(parent);
        c->setText(e.label);
        c->setDataSource(q, e.field);
        w = c;
        break;
    }
    case EditorKind::Radio: {
        auto *r = new dbctrls::DBRadioGroup(parent);
        r->setTitle(e.label);
        r->setItems(e.items);
        r->setDataSource(q, e.field);
        w = r;
        break;
    }
    }
    w->setObjectName(e.objectName);
    if (auto *da = dynamic_cast<dbctrls::DataAware *>(w)) {
        da->setChineseText(e.chinese);
        da->setAlwaysReadOnly(e.alwaysReadOnly);
    }
    return w;
}

QGroupBox *buildEditorPanel(QWidget *parent, db::Query *q, const QVector<EditorDecl> &decls, int perRow,
                            QHash<QString, QWidget *> &editors)
{
    auto *panel = new QGroupBox(parent);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto *g = new QGridLayout(panel);
    g->setContentsMargins(6, 4, 6, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);
    int row = 0, col = 0;
    const QFontMetrics fm(panel->font());
    for (const EditorDecl &e : decls) {
        QWidget *w = makeEditor(e, q, panel);
        editors.insert(e.field, w);
        const int span = std::min(e.span, perRow);
        if (e.kind != EditorKind::Check && e.kind != EditorKind::Radio) {
            // Wide enough for a long value of its sort, but not wider: on a
            // maximised window the room goes to the grid, not to the boxes.
            grid::Column sort;
            sort.field = e.field;
            sort.title = e.label;
            sort.width = 0;
            const int need = grid::designWidth(sort, fm) + fm.height() * 2;   // frame, drop-down button
            w->setMaximumWidth(qMax(need, 200) * span * 5 / 4);
        }
        if (col + span > perRow) {
            ++row;
            col = 0;
        }
        if (e.kind == EditorKind::Check || e.kind == EditorKind::Radio) {
            g->addWidget(w, row, col * 2, 1, span * 2);
        } else {
            auto *l = new QLabel(e.label, panel);
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            l->setBuddy(w);
            g->addWidget(l, row, col * 2);
            g->addWidget(w, row, col * 2 + 1, 1, span * 2 - 1);
        }
        col += span;
        if (col >= perRow) {
            ++row;
            col = 0;
        }
    }
    for (int c = 0; c < perRow; ++c)
        g->setColumnStretch(c * 2 + 1, 1);
    // Takes what the capped boxes leave (a column without stretch grows
    // only when the others cannot).
    g->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, perRow * 2);
    return panel;
}

bool failCheck(QWidget *window, const QHash<QString, QWidget *> &editors, const QString &message,
               const QString &focusField, msg::Icon icon)
{
    msg::show(window, {QStringLiteral("提示"), message, icon, QMessageBox::Ok, QMessageBox::Ok});
    if (auto *w = editors.value(focusField))
        w->setFocus();
    return false;
}

bool requireTextOf(QWidget *window, const QHash<QString, QWidget *> &editors, db::Query *q, const QString &field,
                   const QString &message)
{
    return !q->field(field).asString().trimmed().isEmpty() || failCheck(window, editors, message, field);
}

QString editorTextOf(const QHash<QString, QWidget *> &editors, db::Query *q, const QString &field)
{
    QWidget *w = editors.value(field);
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    return q->field(field).asString();
}

} // namespace data
