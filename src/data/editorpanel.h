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

// The text of a field's editor as displayed (untrimmed); the field's value
// when it has no text editor.
QString editorTextOf(const QHash<QString, QWidget *> &editors, db::Query *q, const QString &field);

} // namespace data
