#pragma once
#include <QDialog>

namespace db { class Query; }

// 备忘录: one large memo bound to the opener's row, so the long text is
// edited in the same pending change.
class TForm_bz : public QDialog {
    Q_OBJECT
public:
    TForm_bz(QWidget *owner, db::Query *query, const QString &field = QStringLiteral("备注"));
};
