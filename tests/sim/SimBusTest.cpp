// rovex-sim's side of the session bus, run as real processes on the test's private bus and
// watched by this process, gdbus and a second rovex-sim.
#include "BusTestSupport.h"
#include "QtTestSupport.h"
#include "SimTestSupport.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QVariantMap>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <map>

namespace rovex {
namespace {

using namespace simtest;
using Json = nlohmann::json;
using test::ChildProcess;

// The next JSON line the recorder printed; null when none came.
Json nextEvent(ChildProcess& record)
{
    const QByteArray line = record.nextLine();
    return line.isEmpty() ? Json() : Json::parse(line.toStdString());
}

ProcessResult gdbus(const std::vector<std::string>& arguments, const TempRoot& scratch)
{
    std::vector<std::string> command{"gdbus"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const ProcessResult result = runProcess(command, scratch.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result;
}

void emitSignal(const std::string& path, const std::string& signal, const std::string& arguments,
                const TempRoot& scratch)
{
    std::vector<std::string> command{"emit", "--session", "--object-path", path, "--signal", signal};
    if (!arguments.empty())
        command.push_back(arguments);
    gdbus(command, scratch);
}

struct PostCase {
    std::vector<std::string> arguments;
    std::map<std::string, std::string> userInfo;
};
// A signal as posted: its member and its user information, whose values must be texts.
using Posted = std::pair<std::string, std::map<std::string, std::string>>;

Posted readPosted(const QDBusMessage& message)
{
    EXPECT_EQ(message.type(), QDBusMessage::SignalMessage);
    EXPECT_EQ(message.path(), QStringLiteral("/rovexid"));
    EXPECT_EQ(message.interface(), QStringLiteral("rovexid.Notification"));
    Posted posted{message.member().toStdString(), {}};
    if (message.signature() != QStringLiteral("a{sv}")) {
        ADD_FAILURE() << posted.first << " carries " << message.signature().toStdString();
        return posted;
    }
    const QVariantMap map = qdbus_cast<QVariantMap>(message.arguments().front());
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        EXPECT_EQ(entry.value().metaType().id(), QMetaType::QString) << entry.key().toStdString();
        posted.second[entry.key().toStdString()] = entry.value().toString().toStdString();
    }
    return posted;
}

TEST(SimPost, EachProductNotificationLeavesAsOneAsvSignalOnTheProductPath)
{
    const TempRoot scratch;
    SignalCatcher catcher;
    const std::vector<PostCase> cases{
        {{"addservice", "--name", "SSH", "--ports", "22", "--image", "ssh"},
         {{"serviceName", "SSH"}, {"servicePorts", "22"}, {"serviceImage", "ssh"}}},
        {{"delservice", "--name", "Web Server", "--ports", "80 443"},
         {{"serviceName", "Web Server"}, {"servicePorts", "80 443"}}},
        // Given empty is given: the viewer tells an empty port list from a missing one.
        {{"addserviceblock", "--ports", ""}, {{"servicePorts", ""}}},
        {{"delserviceblock", "--image=shield"}, {{"serviceImage", "shield"}}},
        {{"rovexTempConfSaved"}, {}},
    };
    // Each process ends right after posting: what arrives proves that it flushed first.
    std::vector<Posted> expected;
    for (const PostCase& post : cases) {
        std::vector<std::string> command{simExecutable, "post"};
        command.insert(command.end(), post.arguments.begin(), post.arguments.end());
        const ProcessResult result = runProcess(command, scratch.path());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        expected.emplace_back(post.arguments.front(), post.userInfo);
    }

    std::vector<Posted> received;
    for (const QDBusMessage& message : catcher.waitFor(static_cast<qsizetype>(cases.size())))
        received.push_back(readPosted(message));
    EXPECT_EQ(received, expected);
}

TEST(SimPost, BusCommandsFailClearlyWithoutASessionBus)
{
    const TempRoot scratch;
    const std::string noBus = "DBUS_SESSION_BUS_ADDRESS=unix:path=" + (scratch.path() / "no-bus").string();
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"env", noBus, simExecutable, "post", "addservice", "--name", "SSH"},
          std::vector<std::string>{"env", noBus, simExecutable, "record", "--seconds", "5"}}) {
        const ProcessResult result = runProcess(command, scratch.path());
        EXPECT_EQ(result.exitCode, 1) << command[3];
        EXPECT_TRUE(result.err.starts_with("rovex-sim: no session bus")) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(SimRecord, WritesEverySignalOfTheProductPathAsOneJsonLine)
{
    const TempRoot scratch;
    ChildProcess record(QString::fromUtf8(simExecutable), {QStringLiteral("record")});
    ASSERT_EQ(record.nextLine(), R"({"event":"ready"})");

    // Not the product's: another path, another interface. The next line must be the
    // signal sent after them.
    const std::string addresses = "{'addresses': <['1.2.3.4','5.6.7.8']>}";
    emitSignal("/rovexid/other", "rovexid.Notification.blacklistIPs", addresses, scratch);
    emitSignal("/", "rovexid.Notification.blacklistIPs", addresses, scratch);
    emitSignal("/rovexid", "other.Notification.blacklistIPs", addresses, scratch);
    emitSignal("/rovexid", "rovexid.Notification.blacklistIPs", addresses, scratch);
    EXPECT_EQ(record.nextLine(),
              R"({"event":"signal","member":"blacklistIPs","userInfo":{"addresses":["1.2.3.4","5.6.7.8"]}})");

    // The viewer's start announcement carries an empty map; a bare signal reads the same.
    emitSignal("/rovexid", "rovexid.Notification.startVisualizer", "@a{sv} {}", scratch);
    emitSignal("/rovexid", "rovexid.Notification.startVisualizer", "", scratch);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(record.nextLine(), R"({"event":"signal","member":"startVisualizer","userInfo":{}})");

    emitSignal("/rovexid", "rovexid.Notification.addToGroup",
               "{'group': <'Friends'>, 'count': <int32 -5>, 'big': <uint64 18446744073709551615>, "
               "'on': <true>, 'share': <1.5>, 'nested': <{'k': <'v'>}>, 'bytes': <[byte 0x61, 0x00]>, "
               "'pair': <(1, 'x')>, 'where': <objectpath '/a/b'>, 'inner': <<'deep'>>}",
               scratch);
    EXPECT_EQ(nextEvent(record)["userInfo"],
              Json::parse(R"({"group":"Friends","count":-5,"big":18446744073709551615,"on":true,"share":1.5,
                              "nested":{"k":"v"},"bytes":[97,0],"pair":[1,"x"],"where":"/a/b","inner":"deep"})"));

    // A signal of another shape than the contract's a{sv} is written whole.
    emitSignal("/rovexid", "rovexid.Notification.blacklistIP", "'9.9.9.9'", scratch);
    EXPECT_EQ(nextEvent(record), Json::parse(R"({"event":"signal","member":"blacklistIP","userInfo":{},
                                                  "arguments":["9.9.9.9"]})"));

    // One rovex-sim hears the other.
    ASSERT_EQ(runProcess({simExecutable, "post", "addservice", "--name", "SSH", "--ports", "22", "--image", "ssh"},
                         scratch.path())
                  .exitCode,
              0);
    EXPECT_EQ(nextEvent(record), Json::parse(R"({"event":"signal","member":"addservice",
        "userInfo":{"serviceName":"SSH","servicePorts":"22","serviceImage":"ssh"}})"));

    EXPECT_EQ(record.stop(SIGTERM), 0);
}

TEST(SimRecord, IsTheRunningProductThatTheViewerActivates)
{
    const TempRoot scratch;
    ChildProcess record(QString::fromUtf8(simExecutable), {QStringLiteral("record")});
    ASSERT_EQ(record.nextLine(), R"({"event":"ready"})");

    // Found by its process name and by its bus name.
    EXPECT_EQ(readFile("/proc/" + std::to_string(record.pid()) + "/comm"), "Rovex\n");
    const QDBusConnection bus = QDBusConnection::sessionBus();
    EXPECT_EQ(bus.interface()->servicePid(QStringLiteral("rovexid.Rovex")).value(), static_cast<uint>(record.pid()));

    // Called as gdbus does, waiting for the answer, and as the viewer does, without.
    const ProcessResult call = gdbus({"call", "--session", "--dest", "rovexid.Rovex", "--object-path", "/rovexid",
                                      "--method", "rovexid.Product.Activate"},
                                     scratch);
    EXPECT_EQ(call.out, "()\n");
    EXPECT_EQ(record.nextLine(), R"({"event":"call","member":"Activate"})");
    EXPECT_TRUE(
        bus.send(QDBusMessage::createMethodCall(QStringLiteral("rovexid.Rovex"), QStringLiteral("/rovexid"),
                                                QStringLiteral("rovexid.Product"), QStringLiteral("Activate"))));
    EXPECT_EQ(record.nextLine(), R"({"event":"call","member":"Activate"})");

    // One product at a time; a wrongly started second one would still end by itself.
    const ProcessResult second = runProcess({simExecutable, "record", "--seconds", "5"}, scratch.path());
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.out, "");
    EXPECT_NE(second.err.find("rovexid.Rovex is already owned"), std::string::npos) << second.err;

    EXPECT_EQ(record.stop(SIGINT), 0);

    // With the first gone the name is free again, and --seconds ends a record by itself.
    ChildProcess timed(QString::fromUtf8(simExecutable),
                       {QStringLiteral("record"), QStringLiteral("--seconds"), QStringLiteral("0.2")});
    EXPECT_EQ(timed.nextLine(), R"({"event":"ready"})");
    EXPECT_EQ(timed.waitForExit(), 0);
}

} // namespace
} // namespace rovex
