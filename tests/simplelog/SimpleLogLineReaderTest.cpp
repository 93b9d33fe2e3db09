#include "SimpleLogTestSupport.h"
#include "simplelog/SimpleLogLineReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using rovex::readSimpleLogLine;
using rovex::ServiceImages;
using rovex::SimpleLogOutcome;
using rovex::SimpleLogRoad;
using rovex::test::rowFields;

namespace {

const ServiceImages noServices;

// The sixteen-field line: fields 8 to 15 are action, direction, "on", interface, both
// endpoints around ">", and the protocol.
std::string line(const std::string& action, const std::string& direction, const std::string& first,
                 const std::string& second)
{
    return "Dec 4 10:00:01 mymac pf: 00:00:00.1 rule 1/0(match): " + action + " " + direction + " on en0: " + first
        + " > " + second + ": tcp";
}

SimpleLogOutcome outcomeOf(const std::string& text)
{
    return readSimpleLogLine(text, SimpleLogRoad::OnDemand, noServices).outcome;
}

} // namespace

TEST(SimpleLogLine, ReadsTheFieldsOfAnIpv4Line)
{
    const std::string text = line("block", "in", "10.0.0.5.4321", "10.0.0.1.22");
    const auto reading = readSimpleLogLine(text, SimpleLogRoad::Live, noServices);
    ASSERT_EQ(reading.outcome, SimpleLogOutcome::Accepted);
    const std::vector<std::string> expected{text,
                                            "Dec",
                                            "4",
                                            "10:00:01",
                                            "block",
                                            "in",
                                            "en0",
                                            "10.0.0.5",
                                            "4321",
                                            "10.0.0.1",
                                            "22",
                                            "blockeddown",
                                            "genericservice",
                                            "UNKNOWN SERVICE",
                                            "genericservice",
                                            "UNKNOWN SERVICE"};
    EXPECT_EQ(rowFields(*reading.row), expected);
}

TEST(SimpleLogLine, ActionImageFollowsActionAndDirectionExactly)
{
    const std::vector<std::pair<std::pair<std::string, std::string>, std::string>> cases{
        {{"block", "in"}, "blockeddown"}, {{"block", "out"}, "blockedup"}, {{"pass", "in"}, "passeddown"},
        {{"pass", "out"}, "passedup"},    {{"Block", "in"}, ""},           {{"match", "out"}, ""},
        {{"pass", "inout"}, ""},
    };
    for (const auto& [words, image] : cases) {
        const auto reading = readSimpleLogLine(line(words.first, words.second, "10.0.0.5.4321", "10.0.0.1.22"),
                                               SimpleLogRoad::Live, noServices);
        // Any other word still gives a row, only without an action image.
        ASSERT_EQ(reading.outcome, SimpleLogOutcome::Accepted) << words.first << ' ' << words.second;
        EXPECT_EQ(reading.row->logActionImage(), image) << words.first << ' ' << words.second;
        EXPECT_EQ(reading.row->logAction(), words.first);
    }
}

TEST(SimpleLogLine, EndpointsAreBothIpv4OrBothIpv6WithPorts)
{
    const auto ipv6 = readSimpleLogLine(line("pass", "out", "fe80::1.5353", "ff02::fb.5353"), SimpleLogRoad::Live,
                                        noServices);
    ASSERT_EQ(ipv6.outcome, SimpleLogOutcome::Accepted);
    EXPECT_EQ(ipv6.row->logFirstAddress(), "fe80::1");
    EXPECT_EQ(ipv6.row->logFirstPort(), "5353");
    EXPECT_EQ(ipv6.row->logSecondAddress(), "ff02::fb");
    EXPECT_EQ(ipv6.row->logSecondPort(), "5353");

    EXPECT_EQ(outcomeOf(line("block", "in", "0.0.0.0.68", "255.255.255.255.67")), SimpleLogOutcome::ExcludedSource);
    EXPECT_EQ(outcomeOf(line("block", "in", "::.546", "ff02::1:2.547")), SimpleLogOutcome::ExcludedSource);
    EXPECT_EQ(outcomeOf(line("block", "in", "\"pdl=x", "10.0.0.1.22")), SimpleLogOutcome::ExcludedSource);
    EXPECT_EQ(outcomeOf(line("block", "in", "@0", "10.0.0.1.22")), SimpleLogOutcome::ExcludedSource);
    // The exclusions look at the first endpoint only.
    EXPECT_EQ(outcomeOf(line("block", "in", "10.0.0.5.68", "0.0.0.0.67")), SimpleLogOutcome::Accepted);

    EXPECT_EQ(outcomeOf(line("block", "in", "10.0.0.5", "10.0.0.1")), SimpleLogOutcome::NoPorts); // ICMP
    EXPECT_EQ(outcomeOf(line("block", "in", "10.0.0.5.4321", "ff02::1.22")), SimpleLogOutcome::NoPorts);
    EXPECT_EQ(outcomeOf(line("block", "in", "fe80::1.5353", "10.0.0.1.22")), SimpleLogOutcome::NoPorts);
    EXPECT_EQ(outcomeOf("Dec 4 10:00:01 mymac pf: 00:00:00.1 rule 1/0(match): block in on en0: 10.0.0.5.4321 >"),
              SimpleLogOutcome::TooFewFields); // 14 fields
    EXPECT_EQ(outcomeOf(""), SimpleLogOutcome::Empty);
}

TEST(SimpleLogLine, PortImagesComeFromTheServicesButNamesStayUnknown)
{
    const ServiceImages services{{"22", "ssh"}, {"4321", "custom"}, {"22:", "never"}};
    // The second port is looked up with its ":" removed.
    const auto reading = readSimpleLogLine(line("block", "in", "10.0.0.5.4321", "10.0.0.1.22"), SimpleLogRoad::Live,
                                           services);
    ASSERT_EQ(reading.outcome, SimpleLogOutcome::Accepted);
    EXPECT_EQ(reading.row->logFirstPortImage(), "custom");
    EXPECT_EQ(reading.row->logSecondPortImage(), "ssh");
    EXPECT_EQ(reading.row->logFirstPortName(), "UNKNOWN SERVICE");
    EXPECT_EQ(reading.row->logSecondPortName(), "UNKNOWN SERVICE");

    const auto other = readSimpleLogLine(line("block", "in", "10.0.0.5.22", "10.0.0.1.80"), SimpleLogRoad::Live,
                                         services);
    EXPECT_EQ(other.row->logFirstPortImage(), "ssh");
    EXPECT_EQ(other.row->logSecondPortImage(), "genericservice");
}

TEST(SimpleLogLine, RunsOfSpacesAreHalvedOnceFromTheLeft)
{
    // Without the host field the action reaches field 8 only through an empty field 7,
    // which a run of three or four spaces leaves and a run of two or five does not.
    const auto spaced = [](int spaces) {
        return "Dec  4 10:00:01 pf: 00:00:00.1 rule 1/0(match):" + std::string(static_cast<std::size_t>(spaces), ' ')
            + "block in on en0: 10.0.0.5.4321 > 10.0.0.1.22: tcp";
    };
    EXPECT_EQ(outcomeOf(spaced(2)), SimpleLogOutcome::NoPorts);
    EXPECT_EQ(outcomeOf(spaced(5)), SimpleLogOutcome::NoPorts);
    for (const int spaces : {3, 4}) {
        const std::string text = spaced(spaces);
        const auto onDemand = readSimpleLogLine(text, SimpleLogRoad::OnDemand, noServices);
        ASSERT_EQ(onDemand.outcome, SimpleLogOutcome::Accepted) << spaces;
        EXPECT_EQ(onDemand.row->logDay(), "4");
        EXPECT_EQ(onDemand.row->logAction(), "block");
        EXPECT_EQ(onDemand.row->logActionImage(), "blockeddown");
        // logString: the halved line on demand, the line as it came on the live road.
        EXPECT_EQ(onDemand.row->logString(),
                  "Dec 4 10:00:01 pf: 00:00:00.1 rule 1/0(match):  block in on en0: 10.0.0.5.4321 > 10.0.0.1.22: tcp");
        EXPECT_EQ(readSimpleLogLine(text, SimpleLogRoad::Live, noServices).row->logString(), text);
    }
}

TEST(SimpleLogLine, HostileLinesAreSkippedOrReadWithoutHarm)
{
    EXPECT_EQ(outcomeOf(std::string(31, ' ')), SimpleLogOutcome::NoPorts); // sixteen empty fields
    EXPECT_EQ(outcomeOf(std::string(rovex::maxSimpleLogLineBytes + 1, ' ')), SimpleLogOutcome::TooLong);
    const std::string longest = line("block", "in", "10.0.0.5.1", "10.0.0.1.2") + " "
        + std::string(rovex::maxSimpleLogLineBytes - line("block", "in", "10.0.0.5.1", "10.0.0.1.2").size() - 1, 'x');
    ASSERT_EQ(longest.size(), rovex::maxSimpleLogLineBytes);
    EXPECT_EQ(readSimpleLogLine(longest, SimpleLogRoad::Live, noServices).row->logString(), longest);

    // Endpoints of bare dots split like any other: empty addresses and ports, but a row.
    const auto dots = readSimpleLogLine(std::string("a b c d e f g h i j k l . m .:") + '\0', SimpleLogRoad::Live,
                                        noServices);
    ASSERT_EQ(dots.outcome, SimpleLogOutcome::Accepted);
    EXPECT_EQ(dots.row->logFirstAddress(), "");
    EXPECT_EQ(dots.row->logSecondPort(), std::string_view("\0", 1));
}

TEST(SimpleLogLine, RealLinesAreReadByPositionOnly)
{
    // The reading is positional: of the real lines that other pf loggers wrote, only the
    // one whose prefix happens to put action, direction and endpoints at fields 8, 9, 12
    // and 14 gives a row.
    std::ifstream samples(std::string(ROVEX_SAMPLES_DIR) + "/real-lines.txt");
    std::vector<SimpleLogOutcome> outcomes;
    std::vector<std::vector<std::string>> rows;
    for (std::string text; std::getline(samples, text);) {
        const auto reading = readSimpleLogLine(text, SimpleLogRoad::OnDemand, ServiceImages{{"80", "http"}});
        outcomes.push_back(reading.outcome);
        if (reading.row)
            rows.push_back(rowFields(*reading.row));
    }
    using enum SimpleLogOutcome;
    EXPECT_EQ(outcomes,
              (std::vector<SimpleLogOutcome>{NoPorts, NoPorts, NoPorts, NoPorts, NoPorts, NoPorts, Accepted}));
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(std::vector<std::string>(rows[0].begin() + 1, rows[0].end()),
              (std::vector<std::string>{"Feb", "25", "11:43:54", "block", "in", "rl0", "111.111.111.11", "80",
                                        "12.12.12.12", "123", "blockeddown", "http", "UNKNOWN SERVICE",
                                        "genericservice", "UNKNOWN SERVICE"}));
}
