#include "StatsRoot.h"
#include "stats/StatsLineReader.h"

#include <gtest/gtest.h>

#include <string>

using rovex::RXLogLine;
using rovex::StatsLineOutcome;
using rovex::test::pfLine;

namespace {

StatsLineOutcome read(const std::string& line, RXLogLine& record)
{
    static std::string scratch;
    return rovex::readStatsLine(line, record, scratch);
}

StatsLineOutcome read(const std::string& line)
{
    RXLogLine record;
    return read(line, record);
}

} // namespace

TEST(StatsLineReader, ReadsBothEndpointFormsWithTheTargetPortWithoutColons)
{
    // The record's texts are views of the line: the line must outlive the checks.
    RXLogLine record;
    const std::string blocked = pfLine("block", "in", "203.0.113.7.51000", "10.0.0.1.22");
    ASSERT_EQ(read(blocked, record), StatsLineOutcome::kept);
    EXPECT_EQ(record.logLineAction, "block");
    EXPECT_EQ(record.logLineDirection, "in");
    EXPECT_EQ(record.logLineSourceAddress, "203.0.113.7");
    EXPECT_EQ(record.logLineSourcePort, "51000");
    EXPECT_EQ(record.logLineTargetAddress, "10.0.0.1");
    EXPECT_EQ(record.logLineTargetPort, "22");
    EXPECT_TRUE(record.logLineDate.empty());
    EXPECT_TRUE(record.logLineArgs.empty());

    const std::string passed = pfLine("pass", "out", "2001:db8::1.51000", "2001:db8::2.2:2");
    ASSERT_EQ(read(passed, record), StatsLineOutcome::kept);
    EXPECT_EQ(record.logLineSourceAddress, "2001:db8::1");
    EXPECT_EQ(record.logLineTargetAddress, "2001:db8::2");
    EXPECT_EQ(record.logLineTargetPort, "22");

    // One side IPv4, the other IPv6, or an address without a port: unusable, yet counted.
    for (const auto& [source, target] :
         {std::pair{"10.0.0.1.5", "2001:db8::2.22"}, std::pair{"10.0.0.1", "10.0.0.2"}, std::pair{"a.b.c", "d.e.f"}}) {
        const StatsLineOutcome outcome = read(pfLine("block", "in", source, target));
        EXPECT_EQ(outcome, StatsLineOutcome::endpointsUnsplit) << source;
        EXPECT_TRUE(rovex::isCountedLine(outcome));
    }
}

TEST(StatsLineReader, CountsFieldsAfterTheTwoSpaceReplacements)
{
    const std::string line = pfLine("block", "in", "203.0.113.7.1", "10.0.0.1.22");
    // 15 fields are enough, 14 are not.
    const std::string fifteen = line.substr(0, line.find(": tcp") + 1);
    EXPECT_EQ(read(fifteen), StatsLineOutcome::kept);
    EXPECT_EQ(read(fifteen.substr(0, fifteen.rfind(' '))), StatsLineOutcome::tooFewFields);
    // Two, three or four spaces are one separator; five make an empty field, which moves
    // the action off field 8.
    for (const std::string spaces : {"  ", "   ", "    "}) {
        RXLogLine record;
        std::string spaced = line;
        spaced.replace(spaced.find(" block"), 1, spaces);
        EXPECT_EQ(read(spaced, record), StatsLineOutcome::kept) << spaces.size();
        EXPECT_EQ(record.logLineAction, "block");
    }
    RXLogLine record;
    std::string five = line;
    five.replace(five.find(" block"), 1, "     ");
    EXPECT_EQ(read(five, record), StatsLineOutcome::endpointsUnsplit);
    // A trailing space after field 13 leaves an empty field 14.
    EXPECT_EQ(read(line.substr(0, line.find(" 10.0.0.1")) + " "), StatsLineOutcome::endpointsUnsplit);
}

TEST(StatsLineReader, LeavesOutWhatTheStatisticsDoNotCount)
{
    EXPECT_EQ(read(""), StatsLineOutcome::empty);
    EXPECT_EQ(read(pfLine("block", "in", "1.2.3.4.5", "10.0.0.1.22") + " ethertype Unknown"),
              StatsLineOutcome::ethertypeUnknown);
    EXPECT_FALSE(rovex::isCountedLine(StatsLineOutcome::empty));
    EXPECT_FALSE(rovex::isCountedLine(StatsLineOutcome::ethertypeUnknown));

    for (const std::string source : {"\"pdl=1.2.3.4.5", "@1.2.3.4.5", "0.0.0.0.68", "::.546"})
        EXPECT_EQ(read(pfLine("block", "in", source, "10.0.0.1.22")), StatsLineOutcome::excludedSource) << source;

    EXPECT_EQ(read(pfLine("pass", "out", "10.0.0.2.5000", "224.0.0.251.5353")), StatsLineOutcome::multicast);
    EXPECT_EQ(read(pfLine("pass", "in", "10.0.0.2.5353", "10.0.0.1.80")), StatsLineOutcome::multicastDns);
    EXPECT_EQ(read(pfLine("pass", "in", "10.0.0.2.53530", "10.0.0.1.80")), StatsLineOutcome::kept);
    for (const std::string target : {"192.168.1.255.137", "255.255.255.255.67", "10.0.0.255.80"})
        EXPECT_EQ(read(pfLine("block", "in", "10.0.0.2.1000", target)), StatsLineOutcome::broadcast) << target;
    EXPECT_EQ(read(pfLine("block", "in", "10.0.0.2.1000", "10.0.0.25.80")), StatsLineOutcome::kept);
}
