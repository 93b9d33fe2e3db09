#include "sim/SimBus.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>

#include <stdexcept>
#include <string>

namespace rovex::simbus {

QDBusConnection sessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        throw std::runtime_error("no session bus: " + bus.lastError().message().toStdString());
    // QtDBus holds back what arrives on a new connection until the event loop has run once,
    // and a message arriving while it lets the held ones go can overtake them. One pass of
    // the loop now keeps the record in the order of the bus.
    QCoreApplication::processEvents();
    return bus;
}

void roundTrip(const QDBusConnection& bus)
{
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId")));
    if (reply.type() != QDBusMessage::ReplyMessage)
        throw std::runtime_error("the session bus did not answer: " + reply.errorMessage().toStdString());
}

} // namespace rovex::simbus
