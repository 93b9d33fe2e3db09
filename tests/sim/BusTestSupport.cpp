#include "BusTestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace rovex::simtest {

namespace {

constexpr int patienceMs = 5000;

} // namespace

SignalCatcher::SignalCatcher()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    EXPECT_TRUE(bus.connect(QString(), QStringLiteral("/rovexid"), QStringLiteral("rovexid.Notification"), QString(),
                            this, SLOT(take(QDBusMessage))));
    // Answered only after the bus has taken the match rule sent before it.
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId")));
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    // A new connection holds messages back until the loop has run once; a message arriving
    // while it lets them go could overtake them.
    QCoreApplication::processEvents();
}

const QList<QDBusMessage>& SignalCatcher::waitFor(qsizetype count)
{
    QSignalSpy spy(this, &SignalCatcher::received);
    const QDeadlineTimer deadline(patienceMs);
    while (m_messages.size() < count && spy.wait(static_cast<int>(deadline.remainingTime()))) {
    }
    return m_messages;
}

void SignalCatcher::take(const QDBusMessage& message)
{
    m_messages.append(message);
    Q_EMIT received();
}

} // namespace rovex::simtest
