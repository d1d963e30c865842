#pragma once
#include <functional>

class QDialog;

namespace data {

// Every modal window is shown through here: exec() in the program; a test
// installs a hook that drives the window instead.
using ShowHook = std::function<int(QDialog *)>;
ShowHook setShowHook(ShowHook hook);   // returns the previous hook
int showModal(QDialog *window);

} // namespace data
