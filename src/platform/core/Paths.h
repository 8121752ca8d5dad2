#pragma once

#include <QString>

// File-name parts, split at "/" only. A folder keeps its trailing "/"; an extension keeps its
// dot and is what follows the last dot of the file name (a dot in a folder name is no extension).
namespace Paths
{

QString ExtractFileName(const QString &path);
QString ExtractFilePath(const QString &path); // with the trailing "/"
QString ExtractFileDir(const QString &path);  // without it ("/" for the root)
QString ExtractFileExt(const QString &path);
QString ChangeFileExt(const QString &path, const QString &extension);
QString IncludeTrailingPathDelimiter(const QString &path);
QString ExcludeTrailingPathDelimiter(const QString &path);

} // namespace Paths
