#include "db/database.h"
#include "db/pgdriver.h"
#include "db/sqlitedriver.h"
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace db {

bool isServerUrl(const QString &name)
{
    return name.startsWith(QLatin1String("postgresql://")) || name.startsWith(QLatin1String("postgres://"));
}

QString configuredDatabase()
{
    const QString env = qEnvironmentVariable("VELORIN_DATABASE").trimmed();
    if (!env.isEmpty())
        return env;
    if (QFileInfo::exists(QStringLiteral("velorin.ini"))) {
        const QSettings ini(QStringLiteral("velorin.ini"), QSettings::IniFormat);
        const QString url = ini.value(QStringLiteral("database/url")).toString().trimmed();
        if (!url.isEmpty())
            return url;
    }
    return QStringLiteral("data.mdb");
}

QString displayName(const QString &name)
{
    if (isServerUrl(name))
        return PgDriver::displayName(name);
    return QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath());
}

std::unique_ptr<Driver> openDatabase(const QString &name, bool create)
{
    if (isServerUrl(name))
        return std::make_unique<PgDriver>(name);
    return std::make_unique<SqliteDriver>(name, create ? SqliteDriver::Mode::Scratch : SqliteDriver::Mode::ReadWrite);
}

} // namespace db
