#include "data/modal.h"
#include <QDialog>

namespace data {
namespace {
ShowHook &showHook()
{
    static ShowHook h;
    return h;
}
} // namespace

ShowHook setShowHook(ShowHook hook)
{
    ShowHook old = showHook();
    showHook() = std::move(hook);
    return old;
}

int showModal(QDialog *window)
{
    if (showHook())
        return showHook()(window);
    return window->exec();
}

} // namespace data
