#include "BusTestSupport.h"

#include "SimTestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

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
    const QDBusMessage reply = bus.call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
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

RunningSim::RunningSim(const QStringList& arguments)
{
    m_process.start(QString::fromUtf8(simExecutable), arguments);
    EXPECT_TRUE(m_process.waitForStarted(patienceMs)) << m_process.errorString().toStdString();
}

RunningSim::~RunningSim()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(patienceMs);
    }
}

std::string RunningSim::nextLine()
{
    const QDeadlineTimer deadline(patienceMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired()
            || !m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return {};
    }
    return m_process.readLine().chopped(1).toStdString();
}

nlohmann::json RunningSim::nextEvent()
{
    const std::string line = nextLine();
    return line.empty() ? nlohmann::json() : nlohmann::json::parse(line);
}

int RunningSim::stop(int signal)
{
    ::kill(static_cast<pid_t>(m_process.processId()), signal);
    return waitForExit();
}

int RunningSim::waitForExit()
{
    if (!m_process.waitForFinished(patienceMs) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

} // namespace rovex::simtest
