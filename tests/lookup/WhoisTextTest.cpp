#include "lookup/WhoisServer.h"
#include "lookup/WhoisText.h"

#include <gtest/gtest.h>

using rovex::cleanWhoisText;
using rovex::parseWhoisServer;
using rovex::WhoisServer;

TEST(WhoisText, RemovesHashesAndPercentSpaceMarks)
{
    EXPECT_EQ(cleanWhoisText("% Information related to 192.0.2.0 - 192.0.2.255\n"),
              "Information related to 192.0.2.0 - 192.0.2.255\n");
    EXPECT_EQ(cleanWhoisText("# registry data\n##\n#comment\n"), "registry data\n\ncomment\n");
    EXPECT_EQ(cleanWhoisText("load 50%\n100%done\n"), "load 50%\n100%done\n");
    // The order counts: "# " goes before "#", so "%# x" keeps its "%" glued to "x".
    EXPECT_EQ(cleanWhoisText("%# x"), "%x");
    // One pass each, left to right: "%% " loses one mark.
    EXPECT_EQ(cleanWhoisText("%% x"), "%x");
    EXPECT_EQ(cleanWhoisText(""), "");
}

TEST(WhoisServerText, ReadsTheFourForms)
{
    EXPECT_EQ(parseWhoisServer("whois.example.net"), (WhoisServer{"whois.example.net", 43}));
    EXPECT_EQ(parseWhoisServer("127.0.0.1:4343"), (WhoisServer{"127.0.0.1", 4343}));
    EXPECT_EQ(parseWhoisServer("[::1]"), (WhoisServer{"::1", 43}));
    EXPECT_EQ(parseWhoisServer("[2001:db8::43]:65535"), (WhoisServer{"2001:db8::43", 65535}));
    EXPECT_EQ(parseWhoisServer("whois_test-1.lan:1"), (WhoisServer{"whois_test-1.lan", 1}));
}

TEST(WhoisServerText, RefusesEverythingElse)
{
    for (const char* text : {"",
                             ":43",
                             "host:",
                             "host:0",
                             "host:65536",
                             "host:+43",
                             "host:43x",
                             "host: 43",
                             "host:43:43",
                             "::1",
                             "2001:db8::1:43",
                             "[::1",
                             "[]",
                             "[]:43",
                             "[whois.example.net]",
                             "[::1]43",
                             "[::1]:",
                             "[::1]:x",
                             "-h",
                             "-p43",
                             ".host",
                             "host name",
                             "host;rm",
                             "host\n",
                             "h\xC3\xA9st",
                             "[::1%eth0\n]"})
        EXPECT_FALSE(parseWhoisServer(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(parseWhoisServer(std::string_view("host\0:43", 8)).has_value());
    EXPECT_FALSE(parseWhoisServer(std::string(254, 'a')).has_value());
}
