#pragma once

#include <QString>

#include <cstdint>

// The rules that name grabbed images: the root taken from the settings or from the video's file
// name, the number text, the time stamp, and the path composed from them; plus what the
// next-name bar shows in the file manager. Pure functions of their arguments (and of the file
// system for the last two): any thread may call them.
namespace ImageName
{

// The root of image names: `defaultRacine` unchanged unless `nomFichierImage` is 1; then the
// video's file name without folder and extension, cut to its first `racineLength` characters
// when `limiterLongueur` is set (none when that length is not positive). Empty for the video
// name while no video is open.
QString Root(int nomFichierImage, const QString &defaultRacine, const QString &videoPath,
             bool limiterLongueur, int racineLength);

// `number` in decimal with at least `digits` digits (left-padded with "0", never cut; at least
// one, and no more padding than a file name can hold).
QString NumberText(int number, int digits);

// The position text of the frame ("H:MM:SS:FF") with every ":" replaced by ".".
QString TimeStampText(int64_t position, int64_t frameDuration);

// `folder` with "/" appended unless it already ends with one ("" becomes "/").
QString FolderWithSeparator(const QString &folder);

// Any image-extension setting other than 0 means JPEG.
inline bool IsJpeg(int imageExtension)
{
    return imageExtension != 0;
}

// folder (with its separator) + root + "_" + suffix + ".jpg" or ".bmp".
QString Compose(const QString &folder, const QString &root, const QString &suffix, bool jpeg);

// The default save folder, ending with "/": the user's pictures folder when it exists, else the
// documents folder when it exists, else the home folder.
QString DefaultPicturesFolder();

// What a click on the next-name bar shows in the file manager.
struct SaveFolderView {
    enum Kind { Nothing, SelectFile, OpenFolder } kind = Nothing;
    QString path;
    friend bool operator==(const SaveFolderView &, const SaveFolderView &) = default;
};

// The next image when it exists; else the first entry of the folder (by name) whose name starts
// with root + "_"; else the folder itself when it exists; else nothing.
SaveFolderView FindSaveFolderView(const QString &nextImagePath, const QString &folder, const QString &root);

} // namespace ImageName
