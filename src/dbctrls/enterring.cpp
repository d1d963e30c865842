#include "dbctrls/enterring.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace dbctrls {
namespace {

bool isEnter(const QKeyEvent *k)
{
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool canTakeFocus(const QWidget *w)
{
    return w && w->isEnabled() && w->isVisibleTo(w->window()) && w->focusPolicy() != Qt::NoFocus;
}

// The widget (or the combo holding it) that the watched object stands for.
QWidget *memberOf(QObject *watched)
{
    auto *w = qobject_cast<QWidget *>(watched);
    if (w && qobject_cast<QLineEdit *>(w))
        if (auto *cb = qobject_cast<QComboBox *>(w->parentWidget()); cb && cb->lineEdit() == w)
            return cb;
    return w;
}

} // namespace

EnterRing::EnterRing(const QList<QWidget *> &order, QObject *parent)
    : EnterRing(order, Predicate(), Action(), parent)
{
}

EnterRing::EnterRing(const QList<QWidget *> &order, Predicate isActive, Action finalAction, QObject *parent)
    : QObject(parent ? parent : (order.isEmpty() ? nullptr : order.first())),
      m_active(std::move(isActive)), m_final(std::move(finalAction))
{
    for (QWidget *w : order) {
        m_order << w;
        watch(w);
    }
}

void EnterRing::watch(QWidget *w)
{
    if (!w)
        return;
    w->installEventFilter(this);
    // Keys typed into an editable combo may reach its line edit directly.
    if (auto *cb = qobject_cast<QComboBox *>(w); cb && cb->lineEdit())
        cb->lineEdit()->installEventFilter(this);
}

void EnterRing::setFinalButton(QAbstractButton *button)
{
    QPointer<QAbstractButton> b(button);
    m_final = [b] {
        if (b && b->isEnabled())
            b->click();
    };
}

void EnterRing::addJump(QWidget *from, QWidget *to)
{
    m_jumps.append(qMakePair(QPointer<QWidget>(from), QPointer<QWidget>(to)));
    watch(from);
}

QList<QWidget *> EnterRing::widgets() const
{
    QList<QWidget *> out;
    for (const auto &w : m_order)
        out << w.data();
    return out;
}

int EnterRing::indexOf(QObject *watched) const
{
    QWidget *w = memberOf(watched);
    for (int i = 0; i < m_order.size(); ++i)
        if (m_order[i] == w)
            return i;
    return -1;
}

void EnterRing::advance(int from)
{
    const int n = int(m_order.size());
    for (int step = 1; step <= n; ++step) {
        const int i = from + step;
        if (i >= n && m_final) {
            m_final();
            return;
        }
        QWidget *w = m_order[i % n];
        if (canTakeFocus(w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool EnterRing::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent *>(event)) || !isActive())
        return false;
    const int i = indexOf(watched);
    if (i >= 0) {
        advance(i);
        return true;
    }
    QWidget *w = memberOf(watched);
    for (const auto &[from, to] : m_jumps) {
        if (from != w)
            continue;
        if (to) {
            if (canTakeFocus(to))
                to->setFocus(Qt::TabFocusReason);
        } else if (m_final) {
            m_final();
        }
        return true;
    }
    return false;
}

} // namespace dbctrls
