#include "app/bus/DesktopNotifier.h"

#include "BusTestSupport.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>

namespace rovex {
namespace {

using test::RecorderProcess;
using test::runUntil;
using test::settle;
using namespace std::chrono_literals;

ServiceNotification blocked(const std::string& subtitle, const std::string& names)
{
    return ServiceNotification{"Inbound connection blocked", subtitle, names, "ssh"};
}

QString body(const QJsonObject& notify) { return notify.value(QStringLiteral("body")).toString(); }

quint32 idOf(const QJsonObject& line, const char* key = "id")
{
    return static_cast<quint32>(line.value(QString::fromLatin1(key)).toDouble());
}

// The recorder has answered as many Notify calls as it received, and the latest carries
// the given body.
bool settledOn(const RecorderProcess& recorder, const QSignalSpy& delivered, const QString& lastBody)
{
    const std::vector<QJsonObject> calls = recorder.calls(QStringLiteral("Notify"));
    return !calls.empty() && body(calls.back()) == lastBody && delivered.size() == static_cast<qsizetype>(calls.size());
}

class DesktopNotifierTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_bus.isConnected()) << "run the tests inside dbus-run-session"; }

    QDBusConnection m_bus = QDBusConnection::sessionBus();
};

TEST_F(DesktopNotifierTest, ShowsTheFieldsAndReusesTheNotification)
{
    RecorderProcess recorder;
    ASSERT_TRUE(recorder.ready());
    DesktopNotifier notifier(m_bus);
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);

    notifier.deliver(blocked("203.0.113.7 port 22", " SSH & Co"), QStringLiteral("/icons/ssh.png"));
    ASSERT_TRUE(delivered.wait());
    ServiceNotification passed{"Inbound connection passed", "198.51.100.4 port 80", " Web Server Proxy", ""};
    notifier.deliver(passed, QString());
    ASSERT_TRUE(recorder.waitFor([&](const RecorderProcess&) { return delivered.size() == 2; }));

    const std::vector<QJsonObject> calls = recorder.calls(QStringLiteral("Notify"));
    ASSERT_EQ(calls.size(), 2U);
    const QJsonObject& first = calls[0];
    EXPECT_EQ(first.value(QStringLiteral("app_name")), QStringLiteral("RovexLogsVisualizer"));
    EXPECT_EQ(idOf(first, "replaces_id"), 0U);
    EXPECT_EQ(first.value(QStringLiteral("summary")), QStringLiteral("Inbound connection blocked"));
    // A server without markup gets the texts as they are.
    EXPECT_EQ(body(first), QStringLiteral("203.0.113.7 port 22\n SSH & Co"));
    EXPECT_EQ(first.value(QStringLiteral("hints")).toObject(),
              (QJsonObject{{QStringLiteral("image-path"), QStringLiteral("/icons/ssh.png")},
                           {QStringLiteral("suppress-sound"), true}}));
    const QJsonArray actions = first.value(QStringLiteral("actions")).toArray();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0], QStringLiteral("default"));
    EXPECT_EQ(first.value(QStringLiteral("timeout")), -1);
    EXPECT_EQ(delivered[0][0].value<quint32>(), idOf(first));

    const QJsonObject& second = calls[1];
    EXPECT_EQ(idOf(second, "replaces_id"), idOf(first));
    EXPECT_EQ(idOf(second), idOf(first));
    EXPECT_EQ(second.value(QStringLiteral("summary")), QStringLiteral("Inbound connection passed"));
    EXPECT_EQ(body(second), QStringLiteral("198.51.100.4 port 80\n Web Server Proxy"));
    EXPECT_FALSE(second.value(QStringLiteral("hints")).toObject().contains(QStringLiteral("image-path")));
    EXPECT_EQ(notifier.notificationId(), idOf(first));
}

TEST_F(DesktopNotifierTest, EscapesTheBodyForAServerThatReadsMarkup)
{
    RecorderProcess recorder({QStringLiteral("--body-markup")});
    ASSERT_TRUE(recorder.ready());
    DesktopNotifier notifier(m_bus);
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
    notifier.deliver(blocked("203.0.113.7 port 22", " R&D <lab>"), QString());
    ASSERT_TRUE(delivered.wait());
    EXPECT_EQ(body(recorder.calls(QStringLiteral("Notify")).back()),
              QStringLiteral("203.0.113.7 port 22\n R&amp;D &lt;lab&gt;"));
}

TEST_F(DesktopNotifierTest, AFloodGivesFewCallsThatEndWithTheLatestFields)
{
    RecorderProcess recorder;
    ASSERT_TRUE(recorder.ready());
    DesktopNotifier notifier(m_bus);
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
    // Image files are looked up only for what is sent, never for every line.
    int lookups = 0;
    notifier.setImageFiles([&lookups](const QString& name) {
        ++lookups;
        return QStringLiteral("/icons/%1.png").arg(name);
    });
    // The server answers at once and the loop runs between the lines, so only the minimum
    // interval holds the calls back.
    QElapsedTimer flood;
    flood.start();
    for (int line = 0; line < 1000; ++line) {
        ServiceNotification notification = blocked("203.0.113." + std::to_string(line % 256) + " port 22",
                                                   " SSH " + std::to_string(line));
        notification.image = line % 2 == 0 ? "ssh" : "rdp";
        notifier.deliver(notification);
        if (line % 10 == 0)
            test::runFor(5ms);
    }
    const qint64 floodMilliseconds = flood.elapsed();
    const QString last = QStringLiteral("203.0.113.231 port 22\n SSH 999");
    ASSERT_TRUE(recorder.waitFor([&](const RecorderProcess& r) { return settledOn(r, delivered, last); }));

    const std::vector<QJsonObject> calls = recorder.calls(QStringLiteral("Notify"));
    const auto allowed = static_cast<std::size_t>(floodMilliseconds / DesktopNotifier::defaultInterval.count() + 2);
    EXPECT_LE(calls.size(), allowed) << "over " << floodMilliseconds << " ms";
    EXPECT_TRUE(std::all_of(calls.cbegin() + 1, calls.cend(),
                            [&](const QJsonObject& call) { return idOf(call, "replaces_id") == idOf(calls.front()); }));
    EXPECT_EQ(static_cast<std::size_t>(lookups), calls.size());
    EXPECT_EQ(calls.back().value(QStringLiteral("hints")).toObject().value(QStringLiteral("image-path")).toString(),
              QStringLiteral("/icons/rdp.png"));
}

TEST_F(DesktopNotifierTest, ASlowServerNeverHasTwoCallsInFlight)
{
    // The server holds every answer a while, so that the bursts below find a call in flight.
    RecorderProcess recorder({QStringLiteral("--reply-delay-ms"), QStringLiteral("150")});
    ASSERT_TRUE(recorder.ready());
    DesktopNotifier notifier(m_bus, std::chrono::milliseconds::zero());
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
    // Bursts without the event loop in between: of each, at most the first can go out at
    // once, the rest wait for the answer. The next burst follows the server's taking up a
    // call, not a time.
    constexpr int bursts = 4;
    constexpr int burstLines = 10;
    for (int burst = 0; burst < bursts; ++burst) {
        const std::size_t before = recorder.calls(QStringLiteral("Notify")).size();
        for (int line = burst * burstLines; line < (burst + 1) * burstLines; ++line)
            notifier.deliver(blocked("192.0.2.1 port 22", " SSH " + std::to_string(line)), QString());
        ASSERT_TRUE(recorder.waitFor(
            [before](const RecorderProcess& r) { return r.calls(QStringLiteral("Notify")).size() > before; }));
    }
    ASSERT_TRUE(recorder.waitFor([&](const RecorderProcess& r) {
        return settledOn(r, delivered, QStringLiteral("192.0.2.1 port 22\n SSH 39"));
    }));

    const std::vector<QJsonObject>& seen = recorder.lines();
    EXPECT_TRUE(std::all_of(seen.cbegin() + 1, seen.cend(),
                            [](const QJsonObject& line) { return line.value(QStringLiteral("in_flight")) == 1; }));
    const std::size_t calls = recorder.calls(QStringLiteral("Notify")).size();
    EXPECT_GE(calls, static_cast<std::size_t>(bursts));
    EXPECT_LE(calls, static_cast<std::size_t>(2 * bursts));
}

TEST_F(DesktopNotifierTest, AMissingServerIsLoggedOnceAndAServerThatAppearsIsUsed)
{
    DesktopNotifier notifier(m_bus, std::chrono::milliseconds::zero());
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
    test::StdoutCapture output;
    for (int attempt = 0; attempt < 3; ++attempt) {
        notifier.deliver(blocked("192.0.2.1 port 22", " SSH"), QString());
        settle(m_bus);
    }
    const std::string log = output.take();
    EXPECT_EQ(std::count(log.cbegin(), log.cend(), '\n'), 1) << log;
    EXPECT_NE(log.find("org.freedesktop.DBus.Error.ServiceUnknown"), std::string::npos) << log;

    auto recorder = std::make_unique<RecorderProcess>();
    ASSERT_TRUE(recorder->ready());
    notifier.deliver(blocked("192.0.2.2 port 22", " SSH"), QString());
    ASSERT_TRUE(delivered.wait());

    // The server goes: its notification id goes with it.
    recorder->stop();
    notifier.deliver(blocked("192.0.2.3 port 22", " SSH"), QString());
    settle(m_bus);
    recorder = std::make_unique<RecorderProcess>();
    ASSERT_TRUE(recorder->ready());
    notifier.deliver(blocked("192.0.2.4 port 22", " SSH"), QString());
    ASSERT_TRUE(delivered.wait());
    const std::vector<QJsonObject> calls = recorder->calls(QStringLiteral("Notify"));
    ASSERT_EQ(calls.size(), 1U);
    EXPECT_EQ(idOf(calls[0], "replaces_id"), 0U);
    EXPECT_EQ(body(calls[0]), QStringLiteral("192.0.2.4 port 22\n SSH"));
}

TEST_F(DesktopNotifierTest, AnErrorReplyIsLoggedAndWhatWaitedMeanwhileIsStillShown)
{
    RecorderProcess recorder({QStringLiteral("--reply-delay-ms"), QStringLiteral("300"),
                              QStringLiteral("--refuse-notify"), QStringLiteral("1")});
    ASSERT_TRUE(recorder.ready());
    DesktopNotifier notifier(m_bus, std::chrono::milliseconds::zero());
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
    test::StdoutCapture output;
    notifier.deliver(blocked("192.0.2.1 port 22", " SSH"), QString());
    ASSERT_TRUE(recorder.waitFor([](const RecorderProcess& r) { return !r.calls(QStringLiteral("Notify")).empty(); }));
    notifier.deliver(blocked("192.0.2.2 port 22", " SSH"), QString()); // waits for the refused call
    ASSERT_TRUE(delivered.wait());
    const std::string log = output.take();

    const std::vector<QJsonObject> calls = recorder.calls(QStringLiteral("Notify"));
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(body(calls[1]), QStringLiteral("192.0.2.2 port 22\n SSH"));
    EXPECT_EQ(delivered[0][0].value<quint32>(), idOf(calls[1]));
    EXPECT_EQ(std::count(log.cbegin(), log.cend(), '\n'), 1) << log;
    EXPECT_NE(log.find("org.freedesktop.DBus.Error.Failed"), std::string::npos) << log;
}

bool signalsSent(const RecorderProcess& recorder, std::ptrdiff_t count)
{
    return std::count_if(recorder.lines().cbegin(), recorder.lines().cend(),
                         [](const QJsonObject& line) { return line.contains(QStringLiteral("signal")); })
        == count;
}

TEST_F(DesktopNotifierTest, OnlyTheServersActionOnOurNotificationActivates)
{
    RecorderProcess recorder({QStringLiteral("--invoke-after"), QStringLiteral("1")});
    ASSERT_TRUE(recorder.ready());
    DesktopNotifier notifier(m_bus);
    QSignalSpy activated(&notifier, &DesktopNotifier::activated);
    QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
    notifier.deliver(blocked("203.0.113.7 port 22", " SSH"), QString());
    ASSERT_TRUE(runUntil([&] { return activated.size() == 1; }));

    // Someone else claiming to be the server, and the server for another notification.
    ASSERT_EQ(
        test::runProgram(QStringLiteral("gdbus"),
                         {QStringLiteral("emit"), QStringLiteral("--session"), QStringLiteral("--object-path"),
                          QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("--signal"),
                          QStringLiteral("org.freedesktop.Notifications.ActionInvoked"),
                          QStringLiteral("uint32 %1").arg(notifier.notificationId()), QStringLiteral("'default'")}),
        0);
    recorder.sendSignal(SIGUSR2);
    ASSERT_TRUE(recorder.waitFor([](const RecorderProcess& r) { return signalsSent(r, 2); }));
    // The server answers this call after it sent the action, so the action is seen first.
    notifier.deliver(blocked("203.0.113.8 port 22", " SSH"), QString());
    ASSERT_TRUE(runUntil([&] { return delivered.size() == 2; }));
    EXPECT_EQ(activated.size(), 1);

    recorder.sendSignal(SIGUSR1);
    EXPECT_TRUE(runUntil([&] { return activated.size() == 2; }));
}

} // namespace
} // namespace rovex
