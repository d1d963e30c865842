#pragma once
#include <QString>

// The logged-in operator's input-method name: a run-wide value kept here,
// below the windows, because every Chinese-text editor applies it.
namespace velorin {
inline QString operator_ime;
} // namespace velorin
