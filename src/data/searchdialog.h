#pragma once
#include "data/recordlist.h"
#include <QDialog>

class QProgressBar;

namespace data {

struct SearchDecl {
    db::Query *target = nullptr;
    QString table;                 // "select * from " + table
    QString orderLine;             // the last SQL line
    QVector<SearchField> fields;   // in term order; one may be a Range
    QStringList enterOrder;        // objectNames; Enter in the last runs the search
    QHash<QString, QString> enterJumps;   // objectName -> objectName Enter goes to, outside the order
    QString msgIncomplete;         // one date of the range only
    QString msgOrder;              // from later than to
    int columns = 2;
};

// The search dialog (caption "查询"): declared fields, date range checks, the
// condition, the three-line SQL and the "search again?" loop.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit SearchDialog(QWidget *owner);
    QWidget *fieldWidget(const QString &objectName) const;
    // Runs the search as 查找 (&F) does; public for tests.
    void seek();

protected:
    void build(const SearchDecl &decl);

private:
    QString valueOf(const SearchField &f, int index) const;
    SearchDecl m_decl;
    QVector<QWidget *> m_widgets;     // per field (Range: the from editor)
    QVector<QWidget *> m_widgets2;    // Range: the to editor
    QProgressBar *m_busy = nullptr;
};

} // namespace data
