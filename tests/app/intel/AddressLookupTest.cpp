#include "app/intel/AddressLookup.h"

#include "app/intel/BackgroundWork.h"
#include "app/intel/WhoisQuery.h"
#include "LoopbackWhoisServer.h"
#include "QtTestSupport.h"
#include "lookup/CountryDatabase.h"

#include <QFile>
#include <QHostInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>

using rovex::AddressLookup;
using rovex::test::LoopbackWhoisServer;
using rovex::test::runUntil;

namespace {

// What the popover shows, signal by signal.
struct Shown {
    explicit Shown(AddressLookup& lookup)
        : cleared(&lookup, &AddressLookup::cleared),
          dnsStarted(&lookup, &AddressLookup::dnsStarted),
          hostName(&lookup, &AddressLookup::hostNameFound),
          country(&lookup, &AddressLookup::countryFound),
          whoisStarted(&lookup, &AddressLookup::whoisStarted),
          simpleLog(&lookup, &AddressLookup::updatewhoisinfo),
          logParser(&lookup, &AddressLookup::updatewhoisinfoLogParser)
    {}

    QSignalSpy cleared;
    QSignalSpy dnsStarted;
    QSignalSpy hostName;
    QSignalSpy country;
    QSignalSpy whoisStarted;
    QSignalSpy simpleLog;
    QSignalSpy logParser;
};

// A country database where 127.0.0.0/8 is Italy's.
class AddressLookupTest : public testing::Test {
protected:
    void SetUp() override
    {
        QFile zone(m_folder.filePath(QStringLiteral("it-aggregated.zone")));
        ASSERT_TRUE(zone.open(QIODevice::WriteOnly));
        zone.write("127.0.0.0/8\n");
        zone.close();
        std::ostringstream diagnostics;
        countries.load(m_folder.path().toStdString(), diagnostics);
    }

    QTemporaryDir m_folder;
    rovex::CountryDatabase countries;
};

std::optional<QByteArray> holdFirstAnswerOthers(const QByteArray& query)
{
    if (query == "first.example")
        return std::nullopt;
    return "% record of " + query + "\n";
}

} // namespace

TEST_F(AddressLookupTest, FillsCountryHostNameAndWhois)
{
    LoopbackWhoisServer server([](const QByteArray&) {
        return QByteArray("% Information related to 127.0.0.0 - 127.255.255.255\n# registry data\n");
    });
    AddressLookup lookup(countries, server.server(), QStringLiteral("SimpleLog"));
    const Shown shown(lookup);
    lookup.resolveIP(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(shown.cleared.count(), 1);
    EXPECT_EQ(shown.cleared.first().first().toString(), u"127.0.0.1");
    EXPECT_EQ(shown.dnsStarted.count(), 1);
    EXPECT_EQ(shown.whoisStarted.count(), 1);
    ASSERT_EQ(shown.country.count(), 1);
    EXPECT_EQ(shown.country.first(), (QList<QVariant>{QStringLiteral("it"), QStringLiteral("Italy")}));
    EXPECT_EQ(lookup.ipAddressforwhois(), u"127.0.0.1");

    ASSERT_TRUE(runUntil([&] { return shown.hostName.count() == 1 && shown.simpleLog.count() == 1; }));
    // Qt's own reverse lookup of an address literal, as a second opinion.
    EXPECT_EQ(shown.hostName.first().first().toString(), QHostInfo::fromName(QStringLiteral("127.0.0.1")).hostName());
    EXPECT_EQ(lookup.tempWhoisString(), u"Information related to 127.0.0.0 - 127.255.255.255\nregistry data\n");
    EXPECT_EQ(server.queries(), QList<QByteArray>{"127.0.0.1"});
    EXPECT_EQ(shown.logParser.count(), 0);
}

TEST_F(AddressLookupTest, NoServerGivesNoneToTheStatistics)
{
    LoopbackWhoisServer server(holdFirstAnswerOthers);
    const rovex::WhoisServer gone = server.server();
    server.stopListening();
    AddressLookup lookup(countries, gone, QStringLiteral("LogParser"));
    const Shown shown(lookup);
    lookup.resolveIP(QStringLiteral("not-an-address"));
    ASSERT_TRUE(runUntil([&] { return shown.hostName.count() == 1 && shown.logParser.count() == 1; }));
    EXPECT_EQ(shown.hostName.first().first().toString(), u"Hostname not found");
    EXPECT_EQ(lookup.tempWhoisString(), u"none");
    EXPECT_EQ(shown.simpleLog.count(), 0);
    EXPECT_EQ(shown.country.count(), 0);
}

TEST_F(AddressLookupTest, ASecondLookupDuringASlowFirstShowsOnlyTheSecond)
{
    LoopbackWhoisServer server(holdFirstAnswerOthers);
    AddressLookup lookup(countries, server.server(), QStringLiteral("SimpleLog"));
    const Shown shown(lookup);
    lookup.resolveIP(QStringLiteral("first.example"));
    ASSERT_TRUE(runUntil([&] { return server.queries().size() == 1; }));
    lookup.resolveIP(QStringLiteral("second.example"));
    // The first client is ended: the server sees its connection closed unanswered.
    ASSERT_TRUE(runUntil([&] { return shown.simpleLog.count() == 1 && server.heldConnectionsClosed() == 1; }));
    EXPECT_EQ(lookup.tempWhoisString(), u"record of second.example\n");
    EXPECT_EQ(server.queries(), (QList<QByteArray>{"first.example", "second.example"}));
    EXPECT_EQ(shown.simpleLog.count(), 1);
}

TEST_F(AddressLookupTest, ANewerLookupEndsTheOlderClientEvenWhenItsProbeFails)
{
    LoopbackWhoisServer server([](const QByteArray&) { return std::nullopt; });
    AddressLookup lookup(countries, server.server(), QStringLiteral("SimpleLog"));
    const Shown shown(lookup);
    lookup.resolveIP(QStringLiteral("first.example"));
    ASSERT_TRUE(runUntil([&] { return server.queries().size() == 1; }));
    server.stopListening();
    lookup.resolveIP(QStringLiteral("second.example"));
    ASSERT_TRUE(runUntil([&] { return shown.simpleLog.count() == 1 && server.heldConnectionsClosed() == 1; }));
    EXPECT_EQ(lookup.tempWhoisString(), u"none");
    EXPECT_FALSE(lookup.whoisQuery().isRunning());
}

TEST_F(AddressLookupTest, AHostNameOfAnOlderLookupIsDropped)
{
    LoopbackWhoisServer server(holdFirstAnswerOthers);
    AddressLookup lookup(countries, server.server(), QStringLiteral("SimpleLog"));
    const Shown shown(lookup);
    lookup.resolveIP(QStringLiteral("127.0.0.1"));
    lookup.resolveIP(QStringLiteral("not-an-address"));
    ASSERT_TRUE(runUntil([&] { return rovex::backgroundJobsPending(&lookup) == 0; }));
    ASSERT_EQ(shown.hostName.count(), 1);
    EXPECT_EQ(shown.hostName.first().first().toString(), u"Hostname not found");
    EXPECT_EQ(shown.cleared.count(), 2);
    EXPECT_EQ(shown.country.count(), 1); // 127.0.0.1's, given before the second began
}
