#pragma once

#include <QString>

// The desktop services the program asks of the system: showing a file in the file manager,
// opening addresses, the trash, standard folders. UI thread only.
namespace DesktopShell
{

// Shows `path` selected in the user's file manager (freedesktop FileManager1 over D-Bus); without
// that service, opens the folder holding it. False when neither could be started.
bool RevealInFileManager(const QString &path);

// Opens a web or mail address with the user's preferred application.
bool OpenAddress(const QString &address);

// Moves a file to the user's trash. False (and the file untouched) when it cannot.
bool MoveToTrash(const QString &path);

// The user's pictures and documents folders, each ending with "/"; the home folder when the
// system names none.
QString PicturesFolder();
QString DocumentsFolder();

} // namespace DesktopShell
