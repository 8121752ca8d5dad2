#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Registry key paths: names joined by "\" (these are never file paths).
namespace RegistryPath
{

// The key names of a path below a hive; empty names (doubled, leading or trailing "\") are dropped.
QStringList Split(const QString &path);

// The part of a full key path below the current user's hive, written HKEY_CURRENT_USER or
// HKCU in any case; nullopt for a path in another hive. The hive itself gives the empty path.
std::optional<QString> BelowCurrentUser(const QString &fullPath);

// The first name of a full key path: the hive.
QString HiveName(const QString &fullPath);

} // namespace RegistryPath
