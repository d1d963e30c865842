#pragma once
#include "data/declarations.h"
#include <QIcon>
#include <QPair>
#include <QVector>

class QAbstractButton;
class QBoxLayout;
class QWidget;

namespace data {

// The icon theme's picture for what a button does (custom buttons by their
// caption: 查找, 选…); none where the theme has none.
QIcon buttonIcon(const ButtonDecl &d);

// The tool buttons of a record list or editor window, made from their
// declarations: the navigation roles as small picture buttons with a hint,
// every other role as a push button with its caption and icon. A click runs
// the declaration's handler, or else the window's standard action for the
// role; each button is enabled by its `when` for the window's state.
class ButtonBar {
public:
    using RoleAction = std::function<void(Role)>;
    using RoleWhen = std::function<When(Role)>;

    // Adds the declared buttons to `row`, left to right, as children of
    // `owner`. `roleWhen` gives a role's own enabling (custom buttons keep
    // the declared one); `alwaysEnabled` overrides both.
    void add(QWidget *owner, QBoxLayout *row, const QVector<ButtonDecl> &decls, const RoleWhen &roleWhen,
             const RoleAction &standard, bool alwaysEnabled = false);

    QAbstractButton *button(const QString &objectName) const;
    QAbstractButton *button(Role role) const;
    void setWhen(const QString &objectName, When when);

    // Enables each button for the state. The navigation roles rest while
    // editing; otherwise first/prior follow `firstPrior`, next/last `nextLast`.
    void update(bool editing, bool adding, bool firstPrior = true, bool nextLast = true) const;

private:
    QVector<QPair<QAbstractButton *, ButtonDecl>> m_buttons;
};

} // namespace data
