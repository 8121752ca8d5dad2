#include "ScreenSaverInhibitor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace
{

QDBusMessage ScreenSaverCall(const char *method)
{
    return QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QLatin1String(method));
}

} // namespace

bool ScreenSaverInhibitor::Inhibit(const char *reason)
{
    if (cookie_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = ScreenSaverCall("Inhibit");
    call << QCoreApplication::applicationName() << QString::fromUtf8(reason);
    QDBusReply<uint32_t> reply = bus.call(call, QDBus::Block, 2000);
    if (!reply.isValid())
        return false;
    cookie_ = reply.value();
    return cookie_ != 0;
}

void ScreenSaverInhibitor::Release()
{
    if (!cookie_)
        return;
    QDBusMessage call = ScreenSaverCall("UnInhibit");
    call << cookie_;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    cookie_ = 0;
}
