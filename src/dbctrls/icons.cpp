#include "dbctrls/icons.h"
#include <QApplication>

namespace dbctrls {

QIcon themeIcon(const QStringList &names, const QIcon &fallback)
{
    for (const QString &name : names)
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    return fallback;
}

QIcon themeIcon(std::initializer_list<const char *> names, const QIcon &fallback)
{
    QStringList list;
    for (const char *n : names)
        list << QString::fromLatin1(n);
    return themeIcon(list, fallback);
}

QIcon themeIcon(std::initializer_list<const char *> names, QStyle::StandardPixmap fallback)
{
    return themeIcon(names, QApplication::style()->standardIcon(fallback));
}

} // namespace dbctrls
