#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QWidget;

namespace dbctrls {

// Enter moves the focus through a fixed ring of editors. Enter (or the
// keypad's Enter) in a member is swallowed and the focus goes to the next
// member that can take it, wrapping to the first; with a final action, Enter
// in the last member runs it instead (edit windows and dialogs press their
// save or search button). While the predicate says no (panel windows in the
// browse state) Enter is left to the control.
class EnterRing : public QObject {
    Q_OBJECT
public:
    using Predicate = std::function<bool()>;
    using Action = std::function<void()>;

    // The ring belongs to parent, or to the first widget when parent is null.
    explicit EnterRing(const QList<QWidget *> &order, QObject *parent = nullptr);
    EnterRing(const QList<QWidget *> &order, Predicate isActive, Action finalAction = {}, QObject *parent = nullptr);

    void setActivePredicate(Predicate isActive) { m_active = std::move(isActive); }
    void setFinalAction(Action action) { m_final = std::move(action); }
    // Enter in the last member clicks the button (when it is enabled).
    void setFinalButton(QAbstractButton *button);
    // Enter in an editor outside the ring moves to a member (or, with
    // target null, runs the final action).
    void addJump(QWidget *from, QWidget *to);

    QList<QWidget *> widgets() const;
    bool isActive() const { return !m_active || m_active(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *w);
    int indexOf(QObject *watched) const;
    void advance(int from);
    QList<QPointer<QWidget>> m_order;
    QList<QPair<QPointer<QWidget>, QPointer<QWidget>>> m_jumps;
    Predicate m_active;
    Action m_final;
};

} // namespace dbctrls
