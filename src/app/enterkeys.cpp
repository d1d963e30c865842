#include "app/enterkeys.h"
#include <QAbstractButton>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace app {
namespace {

class EnterFilter : public QObject {
public:
    EnterFilter(QWidget *from, std::function<void()> action) : QObject(from), m_action(std::move(action))
    {
        from->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_action();
        return true;   // the dialog must not also press its default button
    }

private:
    std::function<void()> m_action;
};

} // namespace

void enterMovesTo(QWidget *from, QWidget *to)
{
    QPointer<QWidget> target(to);
    new EnterFilter(from, [target] {
        if (target)
            target->setFocus(Qt::TabFocusReason);
    });
}

void enterPresses(QWidget *from, QAbstractButton *button)
{
    QPointer<QAbstractButton> target(button);
    new EnterFilter(from, [target] {
        if (target)
            target->click();
    });
}

} // namespace app
