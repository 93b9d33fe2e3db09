// The pflog text reader over every real line in tests/data/pf-samples. The expected fields
// are written out by hand from the line text and notes.md (one line per header layout and
// per shape notes.md lists), not taken from the reader's output.
#include "layouts/PflogTextReader.h"

#include "RecordFields.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace rovex;

namespace {

std::vector<std::string> sampleLines(const std::string& file)
{
    std::ifstream in(std::string(ROVEX_SAMPLES_DIR) + "/" + file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct Expected {
    const char* file;
    std::size_t number; // 1-based, as in SOURCES.md
    const char* layout; // notes.md's header layout id, or the shape the line stands for
    const char* month;
    const char* day;
    const char* time;
    const char* action;
    const char* direction;
    const char* interfaceName;
    const char* sourceAddress;
    const char* sourcePort;
    const char* destinationAddress;
    const char* destinationPort;
};

const Expected expectations[] = {
    {"real-lines.txt", 1, "F", "Mar", "30", "15:33:26", "pass", "in", "xl0", "140.211.166.3", "6667", "192.168.2.10",
     "16290"},
    {"real-lines.txt", 2, "G, -v header", "Aug", "24", "10:03:58", "block", "in", "ng0", "192.251.226.205", "9080",
     "88.217.2.9", "51328"},
    {"real-lines.txt", 3, "H", "Mar", "17", "14:54:08", "block", "in", "igb0", "147.185.132.40", "49282",
     "70.35.182.103", "5984"},
    {"real-lines.txt", 4, "H, UDP", "Mar", "17", "14:58:10", "block", "in", "igb0", "160.79.104.10", "443",
     "70.35.182.103", "60342"},
    {"real-lines.txt", 5, "I, padded day", "Oct", "1", "12:34:56", "block", "out", "em0", "192.168.0.1", "22",
     "10.0.200.100", "31713"},
    {"real-lines.txt", 6, "J, -v header", "Jan", "11", "07:28:30", "block", "in", "bge0", "141.102.12.99", "1137",
     "188.40.123.111", "24460"},
    {"real-lines.txt", 7, "K", "Feb", "25", "11:43:54", "block", "in", "rl0", "111.111.111.11", "80", "12.12.12.12",
     "123"},
    {"reconstructed.txt", 1, "L, -v header, three spaces", "Aug", "3", "23:13:39", "pass", "in", "vr0", "192.168.1.116",
     "43172", "192.168.1.1", "53"},
    {"tcpdump-only.txt", 1, "C", "Mar", "30", "15:47:05", "block", "in", "lo0", "127.0.0.1", "48784", "127.0.0.1",
     "23"},
    {"tcpdump-only.txt", 4, "C, ICMP without ports", "Mar", "30", "17:47:40", "pass", "in", "lo0", "127.0.0.1", "",
     "127.0.0.1", ""},
    {"tcpdump-only.txt", 14, "C, BOOTP from 0.0.0.0", "Sep", "28", "03:50:03", "block", "in", "em0", "0.0.0.0", "68",
     "255.255.255.255", "67"},
    {"tcpdump-only.txt", 15, "C, ICMPv6", "Sep", "28", "03:50:03", "block", "in", "em1", "fe80::21f:e2ff:fe61:969a", "",
     "ff02::2", ""},
    {"tcpdump-only.txt", 17, "C, :: source", "Sep", "26", "17:46:27", "block", "in", "em0", "::", "", "ff02::16", ""},
    {"tcpdump-only.txt", 18, "C, dhcp6 glued to the port", "Oct", "18", "05:16:52", "block", "in", "em1",
     "fe80::a00:27ff:fe4f:2af9", "546", "ff02::1:2", "547"},
    {"tcpdump-only.txt", 20, "D, [uid] before the action", "Mar", "19", "13:03:30", "block", "in", "fxp0",
     "190.38.113.48", "1438", "10.219.15.23", "1434"},
    {"tcpdump-only.txt", 21, "D, space inside a number", "Mar", "19", "13:21:17", "block", "in", "fxp0",
     "190.219.149.19", "2226", "10.219.15.21", "139"},
    {"tcpdump-only.txt", 23, "A, anchor rule", "", "", "", "pass", "in", "vr2", "192.168.3.128", "49144", "192.168.0.1",
     "53"},
    {"tcpdump-only.txt", 33, "A, epoch", "", "", "", "block", "in", "em0", "299.218.206.69", "25788", "10.10.1.20",
     "443"},
    {"tcpdump-only.txt", 34, "E", "", "", "", "pass", "in", "em1", "10.10.0.5", "43645", "5.6.7.8", "9001"},
    {"tcpdump-only.txt", 42, "B, leading space, dot in interface", "", "", "", "pass", "in", "vtnet5.1", "10.0.0.4", "",
     "2.2.2.3", ""},
    {"tcpdump-only.txt", 51, "B, utun", "", "", "", "block", "out", "utun2", "10.5.62.21", "51939", "142.251.36.46",
     "443"},
    {"tcpdump-only.txt", 55, "B, 643-byte mDNS", "", "", "", "block", "in", "en0", "fe80::1c3f:469f:fd46:194c", "5353",
     "ff02::fb", "5353"},
    {"tcpdump-only.txt", 59, "E, underscore interface, IGMP", "", "", "", "block", "in", "ix0_vlan30", "198.18.0.1", "",
     "224.0.0.1", ""},
    {"tcpdump-only.txt", 65, "C, sanitised address", "Aug", "29", "15:41:11", "block", "in", "vio0", "86.47.225.151",
     "55806", "45.FOO.BAR.IP", "23"},
    {"tcpdump-only.txt", 88, "C, dot before the port lost", "Aug", "29", "15:53:31", "block", "in", "vio0",
     "189.218.148.69", "377", "45.FOO.BAR.IP5358", ""},
};

std::string joined(std::string_view address, std::string_view port)
{
    return port.empty() ? std::string(address) : std::string(address) + "." + std::string(port);
}

} // namespace

TEST(PflogSamples, EveryHeaderLayoutAndShapeGivesItsFields)
{
    for (const Expected& e : expectations) {
        const std::vector<std::string> lines = sampleLines(e.file);
        ASSERT_GE(lines.size(), e.number) << e.file;
        const std::string& line = lines[e.number - 1];
        SCOPED_TRACE(std::string(e.file) + ":" + std::to_string(e.number) + " (" + e.layout + ")");
        FirewallRecord r;
        ASSERT_EQ(readPflogText(line, r), RecordOutcome::Read);
        test::expectRecordFields(r, e);
    }
}

// notes.md: every packet record reads; the -vv rule lines (29, 31) carry their endpoints on
// the continuation line, which has no action of its own.
TEST(PflogSamples, EveryPacketRecordReadsAndContinuationLinesDoNot)
{
    std::size_t read = 0;
    for (const char* file : {"real-lines.txt", "tcpdump-only.txt", "reconstructed.txt"}) {
        const std::vector<std::string> lines = sampleLines(file);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            SCOPED_TRACE(std::string(file) + ":" + std::to_string(i + 1));
            FirewallRecord r;
            const RecordOutcome outcome = readPflogText(line, r);
            const bool continuation = std::string_view(file) == "tcpdump-only.txt" && (i + 1 == 30 || i + 1 == 32);
            const bool ruleLineOfContinuation = std::string_view(file) == "tcpdump-only.txt"
                && (i + 1 == 29 || i + 1 == 31);
            if (continuation) {
                EXPECT_EQ(outcome, RecordOutcome::NotThisLayout);
                continue;
            }
            if (ruleLineOfContinuation) {
                EXPECT_EQ(outcome, RecordOutcome::NoEndpoints);
                EXPECT_EQ(r.action, "block");
                continue;
            }
            ASSERT_EQ(outcome, RecordOutcome::Read);
            ++read;
            // The anchor as it stands in the text, and the endpoints as tcpdump joined them.
            const std::string anchor = std::string(r.action) + " " + std::string(r.direction) + " on "
                + std::string(r.interfaceName) + ": ";
            EXPECT_NE(line.find(anchor), std::string::npos);
            EXPECT_NE(line.find(joined(r.sourceAddress, r.sourcePort) + " > "
                                + joined(r.destinationAddress, r.destinationPort)),
                      std::string::npos);
            EXPECT_TRUE(r.action == "block" || r.action == "pass");
        }
    }
    EXPECT_EQ(read, 7U + 97U + 1U);
}

TEST(PflogSamples, LinesBrokenByATerminalCopyDoNotRead)
{
    const std::vector<std::string> lines = sampleLines("damaged-as-found.txt");
    ASSERT_EQ(lines.size(), 2U);
    FirewallRecord r;
    EXPECT_EQ(readPflogText(lines[0], r), RecordOutcome::NoEndpoints); // the -v header never closes
    EXPECT_EQ(readPflogText(lines[1], r), RecordOutcome::NotThisLayout);
}
