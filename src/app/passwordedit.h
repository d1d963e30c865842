#pragma once
#include <QLineEdit>

namespace app {

// A masked edit that turns every letter into upper case as it is typed or
// pasted (passwords are compared in upper case). maxLength 0: no limit.
QLineEdit *newPasswordEdit(QWidget *parent, const QString &objectName, int maxLength = 0);

} // namespace app
