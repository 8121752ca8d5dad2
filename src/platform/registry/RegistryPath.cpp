#include "platform/registry/RegistryPath.h"

namespace RegistryPath
{

QStringList Split(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString HiveName(const QString &fullPath)
{
    return fullPath.section(QLatin1Char('\\'), 0, 0).trimmed();
}

std::optional<QString> BelowCurrentUser(const QString &fullPath)
{
    const QString hive = HiveName(fullPath);
    if (hive.compare(QLatin1String("HKEY_CURRENT_USER"), Qt::CaseInsensitive) != 0 &&
        hive.compare(QLatin1String("HKCU"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const qsizetype separator = fullPath.indexOf(QLatin1Char('\\'));
    return separator < 0 ? QString() : fullPath.mid(separator + 1);
}

} // namespace RegistryPath
