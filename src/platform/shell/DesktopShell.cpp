#include "DesktopShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace DesktopShell
{

namespace
{

const QString FileManagerService = QStringLiteral("org.freedesktop.FileManager1");

bool ShowItemsOverDBus(const QString &path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    // Ask for activation too: file managers are usually started on demand.
    if (!bus.interface()->isServiceRegistered(FileManagerService).value() &&
        !bus.interface()->activatableServiceNames().value().contains(FileManagerService))
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(FileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                                       FileManagerService, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()} << QString();
    return bus.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage;
}

QString FolderOf(QStandardPaths::StandardLocation location)
{
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

bool RevealInFileManager(const QString &path)
{
    if (ShowItemsOverDBus(path))
        return true;
    QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool OpenAddress(const QString &address)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

bool MoveToTrash(const QString &path)
{
    return QFile::moveToTrash(path);
}

QString PicturesFolder()
{
    return FolderOf(QStandardPaths::PicturesLocation);
}

QString DocumentsFolder()
{
    return FolderOf(QStandardPaths::DocumentsLocation);
}

} // namespace DesktopShell
