// The version check against rovex-sim's version server, run as a real process on loopback.
#include "app/intel/VersionCheck.h"

#include "QtTestSupport.h"

#include <QDir>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using rovex::VersionCheck;
using rovex::VersionVerdict;
using rovex::test::ChildProcess;
using rovex::test::runUntil;
using namespace std::chrono_literals;
using namespace std::string_view_literals;

namespace {

// rovex-sim version-server with the options given, and the address it listens on.
class SimVersionServer final {
public:
    explicit SimVersionServer(QStringList options)
        : m_process(QStringLiteral(ROVEX_SIM), QStringList{QStringLiteral("version-server")} + options)
    {
        const QByteArray line = m_process.lineContaining("listening on ");
        if (line.isEmpty())
            throw std::runtime_error("rovex-sim version-server did not start");
        m_base = QUrl(QString::fromLatin1(line.mid(line.indexOf("http://"))));
    }

    const QUrl& base() const { return m_base; }
    QUrl at(const QString& path) const { return m_base.resolved(QUrl(path)); }

private:
    ChildProcess m_process;
    QUrl m_base;
};

// A loopback address where nothing listens: bound, then given back.
QUrl refusedServer()
{
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost))
        throw std::runtime_error("cannot listen on 127.0.0.1");
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(listener.serverPort()));
}

std::optional<VersionVerdict> verdictOf(VersionCheck& check)
{
    std::optional<VersionVerdict> verdict;
    check.checkforupdate([&verdict](VersionVerdict given) { verdict = given; });
    runUntil([&verdict] { return verdict.has_value(); });
    return verdict;
}

struct Reply {
    std::optional<QString> text;
    QString error;
};

std::optional<Reply> replyFrom(VersionCheck& check, const QUrl& address)
{
    std::optional<Reply> result;
    check.requestVersion(address, [&result](std::optional<QString> text, QString error) {
        result = Reply{std::move(text), std::move(error)};
    });
    runUntil([&result] { return result.has_value(); });
    return result;
}

} // namespace

TEST(VersionCheck, NewerBuildAnnouncesTheUpdateAndTheSiteIsTheServerRoot)
{
    const SimVersionServer server({QStringLiteral("--reply"), QStringLiteral("a # 15\n")});
    VersionCheck check(server.at(QStringLiteral("/somewhere/else?x=1")));
    EXPECT_EQ(check.server(), server.base());
    EXPECT_EQ(check.versionUrl(), server.at(QStringLiteral("/versionvisualizer/version.txt")));
    EXPECT_EQ(check.siteUrl(), server.at(QStringLiteral("/")));

    const auto verdict = verdictOf(check);
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->alert, "yesupd"sv);
    EXPECT_TRUE(verdict->openSite);
}

TEST(VersionCheck, NoReadableReplyIsConnectionLost)
{
    QTemporaryFile overLong(QDir::tempPath() + QStringLiteral("/rovex-version-XXXXXX"));
    ASSERT_TRUE(overLong.open());
    // A valid reply but for its length, which alone must make it unreadable.
    overLong.write("a#15" + QByteArray(70 * 1024, ' '));
    overLong.close();
    const SimVersionServer tooLong({QStringLiteral("--reply-file"), overLong.fileName()});
    const SimVersionServer notAscii({QStringLiteral("--reply"), QStringLiteral("a#15 caf\u00e9")});
    const SimVersionServer silent({QStringLiteral("--silent")});

    for (const QUrl& server : {tooLong.base(), notAscii.base(), silent.base(), refusedServer()}) {
        SCOPED_TRACE(server.toString().toStdString());
        VersionCheck check(server);
        check.setTimeout(300ms);
        const auto verdict = verdictOf(check);
        ASSERT_TRUE(verdict.has_value());
        EXPECT_EQ(verdict->alert, "connlost"sv);
        EXPECT_FALSE(verdict->openSite);
    }
}

TEST(VersionCheck, AnErrorPageIsReadAsTextAndAnnouncesNothing)
{
    const SimVersionServer server({});
    VersionCheck check(server.base());
    const auto reply = replyFrom(check, server.at(QStringLiteral("/no/such/file")));
    ASSERT_TRUE(reply.has_value());
    ASSERT_TRUE(reply->text.has_value());
    EXPECT_TRUE(reply->text->contains(u'#')) << reply->text->toStdString();
    EXPECT_FALSE(reply->error.isEmpty());
    const VersionVerdict verdict = rovex::evaluateVersionReply(reply->text->toStdString());
    EXPECT_FALSE(verdict.alert.has_value());
    EXPECT_FALSE(verdict.openSite);
}

TEST(VersionCheck, ACheckStillRunningWhenItsObjectGoesNeverCallsBack)
{
    const SimVersionServer answering({});
    const SimVersionServer silent({QStringLiteral("--silent")});
    int lateCalls = 0;
    for (const QUrl& server : {answering.base(), silent.base()}) {
        auto check = std::make_unique<VersionCheck>(server);
        check->setTimeout(200ms);
        check->checkforupdate([&lateCalls](VersionVerdict) { ++lateCalls; });
        check.reset();
    }
    // A check that lives on answers; by then the others had every chance to call.
    VersionCheck living(answering.base());
    const auto verdict = verdictOf(living);
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->alert, "noupd"sv);
    rovex::test::runFor(300ms);
    EXPECT_EQ(lateCalls, 0);
}

TEST(VersionCheck, SimServerServesTheSiteAndBoundsRequests)
{
    const SimVersionServer server({});
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> page(network.get(QNetworkRequest(server.at(QStringLiteral("/")))));
    ASSERT_TRUE(runUntil([&page] { return page->isFinished(); }));
    EXPECT_EQ(page->error(), QNetworkReply::NoError);
    EXPECT_TRUE(page->readAll().contains("<title>Rovex</title>"));

    // A head past its bound is answered and the connection closed, not read on forever.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(server.base().port()));
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write("GET / HTTP/1.1\r\nX-Filler: " + QByteArray(20 * 1024, 'x'));
    QByteArray answer;
    ASSERT_TRUE(runUntil([&] {
        answer += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 413 ")) << answer.left(80).toStdString();
}
