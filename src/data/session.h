#pragma once
#include <QDateTime>
#include <QString>
#include "dbctrls/operatorime.h"   // operator_ime, that operator's input-method name

// Values kept for the whole run, shared by every window.
namespace velorin {
inline QString operator_name;      // 姓名 of the operator who logged in last
inline QString login_password;     // password typed at the last successful login
inline QDateTime accounting_date;  // 核算时间 of the company record, read at start-up
inline bool startup_done = false;  // false until the start-up login has returned
} // namespace velorin
