#include "ImageName.h"

#include "media/PositionText.h"
#include "platform/shell/DesktopShell.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ImageName
{

namespace
{

// No file system takes a longer name, so more padding could only make the write fail.
constexpr int MaxDigits = 255;

// The file name without its folder and without everything from its last ".".
QString VideoName(const QString &videoPath)
{
    const QString name = videoPath.mid(videoPath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

// The first `length` characters, never ending inside a surrogate pair.
QString FirstCharacters(const QString &text, int length)
{
    if (length <= 0)
        return {};
    if (length >= text.size())
        return text;
    const bool splitsPair = text.at(length - 1).isHighSurrogate();
    return text.left(splitsPair ? length - 1 : length);
}

bool IsExistingFolder(const QString &folder)
{
    return QFileInfo(folder).isDir();
}

} // namespace

QString Root(int nomFichierImage, const QString &defaultRacine, const QString &videoPath,
             bool limiterLongueur, int racineLength)
{
    if (nomFichierImage != 1)
        return defaultRacine;
    const QString name = VideoName(videoPath);
    return limiterLongueur ? FirstCharacters(name, racineLength) : name;
}

QString NumberText(int number, int digits)
{
    return QString::asprintf("%.*d", std::clamp(digits, 1, MaxDigits), number);
}

QString TimeStampText(int64_t position, int64_t frameDuration)
{
    return PositionText(position, frameDuration).replace(QLatin1Char(':'), QLatin1Char('.'));
}

QString FolderWithSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString Compose(const QString &folder, const QString &root, const QString &suffix, bool jpeg)
{
    return FolderWithSeparator(folder) + root + QLatin1Char('_') + suffix +
           (jpeg ? QLatin1String(".jpg") : QLatin1String(".bmp"));
}

QString DefaultPicturesFolder()
{
    for (const QString &folder : {DesktopShell::PicturesFolder(), DesktopShell::DocumentsFolder()})
        if (IsExistingFolder(folder))
            return folder;
    return FolderWithSeparator(QDir::homePath());
}

SaveFolderView FindSaveFolderView(const QString &nextImagePath, const QString &folder, const QString &root)
{
    if (QFileInfo::exists(nextImagePath))
        return {SaveFolderView::SelectFile, nextImagePath};
    const QString withSeparator = FolderWithSeparator(folder);
    // Compared as text rather than as a wildcard pattern, so brackets or stars in the root
    // match only themselves.
    const QString prefix = root + QLatin1Char('_');
    const QStringList entries =
        QDir(withSeparator)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries)
        if (entry.startsWith(prefix))
            return {SaveFolderView::SelectFile, withSeparator + entry};
    if (IsExistingFolder(withSeparator))
        return {SaveFolderView::OpenFolder, withSeparator};
    return {};
}

} // namespace ImageName
