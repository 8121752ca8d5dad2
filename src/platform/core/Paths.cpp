#include "Paths.h"

namespace Paths
{

namespace
{

qsizetype NameStart(const QString &path)
{
    return path.lastIndexOf(QLatin1Char('/')) + 1;
}

// Index of the extension's dot, or -1.
qsizetype ExtensionDot(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= NameStart(path) ? dot : -1;
}

} // namespace

QString ExtractFileName(const QString &path)
{
    return path.mid(NameStart(path));
}

QString ExtractFilePath(const QString &path)
{
    return path.left(NameStart(path));
}

QString ExtractFileDir(const QString &path)
{
    QString folder = ExtractFilePath(path);
    if (folder.size() > 1 && folder[folder.size() - 2] != QLatin1Char('/')) // not "/" or "...//"
        folder.chop(1);
    return folder;
}

QString ExtractFileExt(const QString &path)
{
    const qsizetype dot = ExtensionDot(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString ChangeFileExt(const QString &path, const QString &extension)
{
    const qsizetype dot = ExtensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
}

QString IncludeTrailingPathDelimiter(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString ExcludeTrailingPathDelimiter(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) && path.size() > 1 ? path.chopped(1) : path;
}

} // namespace Paths
