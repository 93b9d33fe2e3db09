#include "app/intel/WhoisQuery.h"

#include "LoopbackWhoisServer.h"
#include "QtTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using rovex::WhoisQuery;
using rovex::test::LoopbackWhoisServer;
using rovex::test::runUntil;

namespace {

const QByteArray record = "% Information related to 192.0.2.0 - 192.0.2.255\n"
                          "# registry data\n"
                          "##\n"
                          "inetnum:        192.0.2.0 - 192.0.2.255\n"
                          "remarks:        load at 50%\n";
const QString cleanedRecord = QStringLiteral("Information related to 192.0.2.0 - 192.0.2.255\n"
                                             "registry data\n"
                                             "\n"
                                             "inetnum:        192.0.2.0 - 192.0.2.255\n"
                                             "remarks:        load at 50%\n");

// The one delivery of a query: (address, text).
QList<QVariant> onlyDelivery(QSignalSpy& finished)
{
    EXPECT_EQ(finished.count(), 1);
    return finished.isEmpty() ? QList<QVariant>{QString(), QString()} : finished.first();
}

} // namespace

TEST(WhoisQuery, TheClientsAnswerArrivesCleaned)
{
    LoopbackWhoisServer server([](const QByteArray&) { return record; });
    WhoisQuery query(server.server());
    QSignalSpy finished(&query, &WhoisQuery::finished);
    query.start(QStringLiteral("192.0.2.1"));
    EXPECT_TRUE(query.isRunning());
    ASSERT_TRUE(runUntil([&] { return !finished.isEmpty(); }));
    const QList<QVariant> delivery = onlyDelivery(finished);
    EXPECT_EQ(delivery[0].toString(), u"192.0.2.1");
    EXPECT_EQ(delivery[1].toString().toStdString(), cleanedRecord.toStdString());
    EXPECT_EQ(server.queries(), QList<QByteArray>{"192.0.2.1"});
    EXPECT_FALSE(query.isRunning());
}

TEST(WhoisQuery, AnAddressBeginningWithADashIsTheQueryNotAnOption)
{
    LoopbackWhoisServer server([](const QByteArray&) { return QByteArray("% answered\n"); });
    WhoisQuery query(server.server());
    QSignalSpy finished(&query, &WhoisQuery::finished);
    query.start(QStringLiteral("-192.0.2.1"));
    ASSERT_TRUE(runUntil([&] { return !finished.isEmpty(); }));
    EXPECT_EQ(server.queries(), QList<QByteArray>{"-192.0.2.1"});
    EXPECT_EQ(onlyDelivery(finished)[1].toString(), u"answered\n");
}

TEST(WhoisQuery, AnAddressThatWouldAddQueryLinesIsNotAsked)
{
    WhoisQuery query(rovex::WhoisServer{"127.0.0.1", 43});
    QSignalSpy finished(&query, &WhoisQuery::finished);
    for (const QString& address : {QStringLiteral("192.0.2.1\r\nhelp"), QStringLiteral("192.0.2.1 x"), QString()}) {
        finished.clear();
        query.start(address);
        EXPECT_FALSE(query.isRunning());
        const QList<QVariant> delivery = onlyDelivery(finished);
        EXPECT_EQ(delivery[0].toString(), address);
        EXPECT_TRUE(delivery[1].toString().startsWith(u"Not asked")) << delivery[1].toString().toStdString();
    }
}

TEST(WhoisQuery, AClientThatCannotStartSaysWhy)
{
    WhoisQuery query(std::nullopt);
    query.setProgram(QStringLiteral("/nonexistent/whois"));
    QSignalSpy finished(&query, &WhoisQuery::finished);
    query.start(QStringLiteral("192.0.2.1"));
    ASSERT_TRUE(runUntil([&] { return !finished.isEmpty(); }));
    const QString text = onlyDelivery(finished)[1].toString();
    EXPECT_TRUE(text.contains(u"/nonexistent/whois could not be started")) << text.toStdString();
    EXPECT_FALSE(query.isRunning());
}

TEST(WhoisQuery, AnEndlessAnswerIsCutAtTheLimit)
{
    const QByteArray flood = QByteArray("inetnum: 192.0.2.0 - 192.0.2.255\n").repeated(100'000); // 3.4 MB
    LoopbackWhoisServer server([&flood](const QByteArray&) { return flood; });
    WhoisQuery query(server.server());
    QSignalSpy finished(&query, &WhoisQuery::finished);
    query.start(QStringLiteral("192.0.2.1"));
    ASSERT_TRUE(runUntil([&] { return !finished.isEmpty(); }, std::chrono::seconds(30)));
    const QString text = onlyDelivery(finished)[1].toString();
    const QString note = QStringLiteral("\n(the rest of the answer was not read)\n");
    EXPECT_EQ(text.size(), WhoisQuery::outputLimit + note.size());
    EXPECT_TRUE(text.endsWith(note));
    EXPECT_TRUE(text.startsWith(u"inetnum: 192.0.2.0 - 192.0.2.255\ninetnum:"));
}
