#pragma once
#include <QPointer>
#include <QWidget>

class QToolButton;
namespace db { class Query; }

namespace dbctrls {

// Record navigator ("DBNavigator1"): first, prior, next and last buttons
// over a query. The buttons follow the cursor: first/prior are off on the
// first row, next/last on the last, all four when the query is empty or
// closed. Windows disable the whole navigator while editing.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget *parent = nullptr);

    void setDataSource(db::Query *query);
    db::Query *dataSource() const { return m_query; }
    // Buttons are named "nbFirst", "nbPrior", "nbNext" and "nbLast".
    QToolButton *button(Button b) const { return m_buttons[b]; }

    // Does what the button does (posting a pending change first, as moving
    // the cursor always does).
    void press(Button b);

private:
    void updateButtons();
    QPointer<db::Query> m_query;
    QToolButton *m_buttons[4];
};

} // namespace dbctrls
