#pragma once
#include "data/recordlist.h"
#include <QHash>

class QGroupBox;

namespace data {

// A bound editor for one declared field of the query, named as declared.
QWidget *makeEditor(const EditorDecl &e, db::Query *q, QWidget *parent);

// The edit panel ("Panel1") of list and editor windows: label + editor pairs,
// `perRow` pairs to a row, an editor spanning the pairs it declares. The
// editors are put into `editors` by field.
QGroupBox *buildEditorPanel(QWidget *parent, db::Query *q, const QVector<EditorDecl> &decls, int perRow,
                            QHash<QString, QWidget *> &editors);

// A failed check: the message ("提示") and the focus on the field's editor;
// false, for `return fail(...)`.
bool failCheck(QWidget *window, const QHash<QString, QWidget *> &editors, const QString &message,
               const QString &focusField, msg::Icon icon = msg::Icon::Exclamation);
// The field is empty or blank: fails with the message.
bool requireTextOf(QWidget *window, const QHash<QString, QWidget *> &editors, db::Query *q, const QString &field,
                   const QString &message);

// The text of a field's editor as displayed (untrimmed); the field's value
// when it has no text editor.
QString editorTextOf(const QHash<QString, QWidget *> &editors, db::Query *q, const QString &field);

} // namespace data
