#pragma once

class QWidget;
class QAbstractButton;

namespace app {

// Enter (Return or keypad Enter) in `from` moves the focus to `to`.
void enterMovesTo(QWidget *from, QWidget *to);
// Enter in `from` presses `button`.
void enterPresses(QWidget *from, QAbstractButton *button);

} // namespace app
