#pragma once

#include <QString>

// File-name parts of a path, split at "/" only. The name is what follows the last "/"; the
// extension is the name's text from its last dot, the dot included, so "archive.tar.gz" has ".gz",
// ".profile" has ".profile", and a dot in a folder name is no extension.
//
// Pure text functions: they never touch the file system and may be called from any thread.
namespace Paths
{

QString ExtractFileName(const QString &path);
QString ExtractFilePath(const QString &path); // the folder with its trailing "/", empty without one
QString ExtractFileDir(const QString &path);  // the folder without its trailing "/" except the root's
QString ExtractFileExt(const QString &path);  // empty when the name has no dot
// The path with its extension replaced by `extension` (which brings its own dot), or with
// `extension` appended when the name has none.
QString ChangeFileExt(const QString &path, const QString &extension);
QString IncludeTrailingPathDelimiter(const QString &path); // "" gives "/"
QString ExcludeTrailingPathDelimiter(const QString &path); // the root "/" stays

} // namespace Paths
