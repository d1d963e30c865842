#pragma once
#include <QIcon>
#include <QStringList>
#include <QStyle>
#include <initializer_list>

// Icons of the program's buttons from the icon theme the program sets
// (freedesktop names); the fallback where the theme is missing or lacks them.
namespace dbctrls {

// The first of the names the theme has, else the fallback.
QIcon themeIcon(const QStringList &names, const QIcon &fallback = {});
QIcon themeIcon(std::initializer_list<const char *> names, const QIcon &fallback = {});
QIcon themeIcon(std::initializer_list<const char *> names, QStyle::StandardPixmap fallback);

} // namespace dbctrls
