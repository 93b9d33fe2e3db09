#include "app/intel/RXSockController.h"

#include "LoopbackWhoisServer.h"
#include "QtTestSupport.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

using rovex::RXSockController;
using rovex::WhoisServer;
using rovex::test::LoopbackWhoisServer;
using rovex::test::runUntil;
using namespace std::chrono_literals;

namespace {

// A loopback port where nothing listens: bound, then given back.
quint16 refusedPort()
{
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost))
        throw std::runtime_error("cannot listen on 127.0.0.1");
    return listener.serverPort();
}

// A loopback port whose queue of connections to accept is full and never served: a new
// connection is neither made nor refused, like a server lost on the way.
class FullListener final {
public:
    FullListener() : m_listener(::socket(AF_INET, SOCK_STREAM, 0)), m_filler(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        if (::bind(m_listener, generic, length) != 0 || ::listen(m_listener, 0) != 0
            || ::getsockname(m_listener, generic, &length) != 0 || ::connect(m_filler, generic, length) != 0)
            throw std::runtime_error("cannot fill a loopback listener");
        m_port = ntohs(address.sin_port);
    }
    ~FullListener()
    {
        ::close(m_filler);
        ::close(m_listener);
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;

    quint16 port() const { return m_port; }

private:
    int m_listener;
    int m_filler;
    quint16 m_port = 0;
};

// A probe of a whois server on loopback, its two start signals recorded.
struct LoopbackProbe {
    LoopbackWhoisServer server{[](const QByteArray&) { return QByteArray("% record\n"); }};
    RXSockController probe{server.server()};
    QSignalSpy simpleLog{&probe, &RXSockController::startwhoisquerySimpleLog};
    QSignalSpy logParser{&probe, &RXSockController::startwhoisqueryLogParser};
};

} // namespace

TEST(RXSockController, AReachableServerIsConnectedOnceAndLeftUntouched)
{
    LoopbackProbe loopback;
    auto& [server, probe, simpleLog, logParser] = loopback;
    EXPECT_EQ(probe.responseString(), u"1");
    probe.checkWhois(QStringLiteral("SimpleLog"));
    ASSERT_TRUE(runUntil([&] { return simpleLog.count() == 1 && server.silentConnections() == 1; }));
    EXPECT_EQ(probe.responseString(), u"2");
    EXPECT_EQ(server.connections(), 1);
    EXPECT_TRUE(server.queries().isEmpty());
    EXPECT_EQ(logParser.count(), 0);
    EXPECT_EQ(simpleLog.count(), 1);
}

TEST(RXSockController, ARefusedPortAnswersOneToItsOwnTag)
{
    RXSockController probe(WhoisServer{"127.0.0.1", refusedPort()});
    QSignalSpy simpleLog(&probe, &RXSockController::startwhoisquerySimpleLog);
    QSignalSpy logParser(&probe, &RXSockController::startwhoisqueryLogParser);
    probe.checkWhois(QStringLiteral("LogParser"));
    ASSERT_TRUE(runUntil([&] { return logParser.count() == 1; }));
    EXPECT_EQ(probe.responseString(), u"1");
    EXPECT_EQ(simpleLog.count(), 0);
}

TEST(RXSockController, AConnectionThatHangsEndsAtTheLimit)
{
    const FullListener listener;
    RXSockController probe(WhoisServer{"127.0.0.1", listener.port()});
    QSignalSpy simpleLog(&probe, &RXSockController::startwhoisquerySimpleLog);
    probe.checkWhois(QStringLiteral("SimpleLog"));
    ASSERT_TRUE(runUntil([&] { return simpleLog.count() == 1; }, 20s));
    EXPECT_EQ(probe.responseString(), u"1");
}

TEST(RXSockController, OtherTagsProbeButSignalNothing)
{
    LoopbackProbe loopback;
    auto& [server, probe, simpleLog, logParser] = loopback;
    probe.checkWhois(QStringLiteral("simplelog"));
    ASSERT_TRUE(runUntil([&] { return server.silentConnections() == 1; }));
    EXPECT_EQ(probe.responseString(), u"2");
    EXPECT_EQ(simpleLog.count() + logParser.count(), 0);
}

TEST(RXSockController, ANewProbeAbandonsTheOlder)
{
    LoopbackProbe loopback;
    auto& [server, probe, simpleLog, logParser] = loopback;
    probe.checkWhois(QStringLiteral("SimpleLog"));
    probe.checkWhois(QStringLiteral("LogParser"));
    ASSERT_TRUE(runUntil([&] { return logParser.count() == 1 && server.silentConnections() == 1; }));
    rovex::test::runFor(100ms); // room for a late word from the abandoned probe
    EXPECT_EQ(simpleLog.count(), 0);
    EXPECT_EQ(logParser.count(), 1);
    EXPECT_EQ(server.connections(), 1);
}
