#pragma once
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace app {

// Window classes by name, so the menu table can open a window that a later
// module provides without the main window knowing its type.
class WindowRegistry {
public:
    using Factory = std::function<QDialog *(QWidget *owner)>;

    // Registers (or replaces) a window class; returns the factory it replaced.
    static Factory add(const QString &className, Factory factory);
    static void remove(const QString &className);
    static bool has(const QString &className);
    // A new window of that class owned by owner; nullptr when not registered.
    static QDialog *create(const QString &className, QWidget *owner);
};

// Registers every window class of the program (one line per window module).
void registerWindows();

} // namespace app
