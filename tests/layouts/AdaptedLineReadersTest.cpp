// The adapter in front of the product's three readers: each reads, from the adapted line,
// exactly the fields of the record that the other layout's reader gave.
#include "intake/PfLineGrammar.h"
#include "layouts/FilterlogReader.h"
#include "intake/LayoutAdapter.h"
#include "layouts/PflogTextReader.h"
#include "simplelog/SimpleLogLineReader.h"
#include "stats/StatsLineReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace rovex;

namespace {

const std::vector<std::string> otherLayoutLines{
    // pflog text: dated and undated, IPv4 and IPv6, with and without ports, -v header.
    "Aug 24 10:03:58 alix pf: 110. 682955 rule 402/0(match): block in on ng0: (tos 0x0, ttl  52, id 21033, offset 0, "
    "flags [DF], proto: TCP (6), length: 638) 192.251.226.205.9080 > 88.217.2.9.51328: FP 586:1172(586) ack 1 win 95",
    "2025-03-17T14:54:08+00:00 john1-rwg.ruckusdemos.net pf[22382] 00:00:05.679886 rule 1.fRXG.48/0(match): block in "
    "on igb0: 147.185.132.40.49282 > 70.35.182.103.5984: Flags [S], seq 2792467998, win 1024, length 0",
    " 00:00:00.001377 rule 0/0(match): block in on en0: fe80::1830:c1cb:581e:8fa5.5353 > ff02::fb.5353: 0*- [0q] 4/0/3",
    "Mar 30 17:47:40.390143 rule 2/(match) pass in on lo0: 127.0.0.1 > 127.0.0.1: icmp: echo reply",
    "rule 1/(match) pass out on em0: 10.10.0.1.50088 > 5.6.7.8.9001: udp 36 (DF)",
    "Sep 28 03:50:03.749086 rule 11/(match) block in on em1: fe80::21f:e2ff:fe61:969a > ff02::2: icmp6: router "
    "solicitation",
    // Fields 12 and 14 ("2001:db8::1.443:" and "[P.],") happen to split as the product's endpoints.
    "2025-03-17T14:54:08+00:00 fw pf[22382] 00:00:05.679886 rule 1/0(match): pass out on igb0: 2001:db8::2.51000 > "
    "2001:db8::1.443: Flags [P.], seq 1:101, ack 1, win 2048, length 100",
    // filterlog: envelopes, both versions, ports and none.
    "<134>Jan 15 10:23:45 pfsense filterlog[12345]: 5,,,1000000103,igb1,match,block,in,4,0x0,,64,12345,0,DF,6,tcp,60,"
    "203.0.113.5,192.168.1.10,51234,22,0,S,1234567890,,64240,,mss",
    "<134>1 2024-05-06T07:08:09+02:00 OPNsense filterlog 4321 - [meta sequenceId=\"17\"] 81,,,fae5,vtnet0,match,pass,"
    "out,6,0x00,0x00000,64,tcp,6,40,2001:db8::2,2001:db8::1,443,51000,0,SA,1,2,65535,,",
    "9,,,1000000105,em0,match,pass,out,4,0x0,,64,0,0,DF,17,udp,76,192.168.1.10,9.9.9.9,40000,53,56",
    "Mar  1 23:59:59 fw filterlog: 4,,,1000000101,em0,match,block,in,4,0x0,,56,0,0,none,1,icmp,84,198.51.100.7,"
    "192.0.2.1,request,5123,7",
};

FirewallRecord recordOf(const std::string& line)
{
    FirewallRecord r;
    if (readPflogText(line, r) != RecordOutcome::Read) {
        EXPECT_EQ(readFilterlog(line, r), RecordOutcome::Read) << line;
    }
    return r;
}

std::string_view orMissing(std::string_view text) { return text.empty() ? std::string_view("-") : text; }

void expectLiveTablesRead(std::string_view adapted, const FirewallRecord& r)
{
    PfLogLine line;
    ASSERT_EQ(readPfLogLine(adapted, line), LineOutcome::Read);
    EXPECT_EQ(line.action, r.action);
    EXPECT_EQ(line.direction, r.direction);
    EXPECT_EQ(line.sourceAddress, r.sourceAddress);
    EXPECT_EQ(line.sourcePort, r.sourcePort);
    EXPECT_EQ(line.destinationAddress, r.destinationAddress);
    EXPECT_EQ(line.destinationPort, r.destinationPort);
}

void expectSimpleLogReads(std::string_view adapted, const FirewallRecord& r)
{
    const SimpleLogReading reading = readSimpleLogLine(adapted, SimpleLogRoad::Live, {});
    ASSERT_EQ(reading.outcome, SimpleLogOutcome::Accepted);
    const RXSimpleLog& row = *reading.row;
    EXPECT_EQ(row.logMonth(), orMissing(r.month));
    EXPECT_EQ(row.logDay(), orMissing(r.day));
    EXPECT_EQ(row.logTime(), orMissing(r.time));
    EXPECT_EQ(row.logAction(), r.action);
    EXPECT_EQ(row.logDirection(), r.direction);
    EXPECT_EQ(row.logInterface(), r.interfaceName);
    EXPECT_EQ(row.logFirstAddress(), r.sourceAddress);
    EXPECT_EQ(row.logFirstPort(), r.sourcePort);
    EXPECT_EQ(row.logSecondAddress(), r.destinationAddress);
    EXPECT_EQ(row.logSecondPort(), r.destinationPort);
}

void expectStatisticsRead(std::string_view adapted, const FirewallRecord& r)
{
    RXLogLine line;
    std::string scratch;
    const StatsLineOutcome outcome = readStatsLine(adapted, line, scratch);
    ASSERT_TRUE(outcome == StatsLineOutcome::kept || outcome == StatsLineOutcome::multicastDns)
        << static_cast<int>(outcome);
    EXPECT_EQ(line.logLineAction, r.action);
    EXPECT_EQ(line.logLineDirection, r.direction);
    EXPECT_EQ(line.logLineSourceAddress, r.sourceAddress);
    EXPECT_EQ(line.logLineSourcePort, r.sourcePort);
    EXPECT_EQ(line.logLineTargetAddress, r.destinationAddress);
    EXPECT_EQ(line.logLineTargetPort, r.destinationPort);
}

// A packet without ports is read as the product's own ICMP lines are: the live tables find
// no endpoints, the simple log no ports, the statistics endpoints that do not split.
void expectReadAsProductIcmp(std::string_view adapted)
{
    PfLogLine line;
    EXPECT_EQ(readPfLogLine(adapted, line), LineOutcome::Read);
    EXPECT_EQ(line.sourceAddress.data(), nullptr);
    EXPECT_EQ(readSimpleLogLine(adapted, SimpleLogRoad::Live, {}).outcome, SimpleLogOutcome::NoPorts);
    RXLogLine record;
    std::string scratch;
    EXPECT_EQ(readStatsLine(adapted, record, scratch), StatsLineOutcome::endpointsUnsplit);
}

std::vector<std::string> sampleLines(const std::string& file)
{
    std::ifstream in(std::string(ROVEX_SAMPLES_DIR) + "/" + file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(AdaptedLineReaders, EachProductReaderReadsTheRecordsFields)
{
    LayoutAdapter adapter(LayoutSetting::All);
    for (const std::string& line : otherLayoutLines) {
        SCOPED_TRACE(line);
        const FirewallRecord record = recordOf(line);
        const std::string adapted(adapter.adapt(line));
        ASSERT_NE(adapter.lastLayout(), LogLayout::Unread);
        ASSERT_NE(adapter.lastLayout(), LogLayout::Product);
        if (record.sourcePort.empty() && record.destinationPort.empty()) {
            expectReadAsProductIcmp(adapted);
            continue;
        }
        expectLiveTablesRead(adapted, record);
        expectSimpleLogReads(adapted, record);
        expectStatisticsRead(adapted, record);
    }
    EXPECT_EQ(adapter.counts()[static_cast<std::size_t>(LogLayout::Pflog)], 7U);
    EXPECT_EQ(adapter.counts()[static_cast<std::size_t>(LogLayout::Filterlog)], 4U);
}

// Product lines, and lines no layout reads, reach the readers as the very same text.
TEST(AdaptedLineReaders, ProductAndUnreadLinesPassUntouched)
{
    const std::vector<std::string> lines{
        "Dec  4 10:15:01 mymac pf: 00:00:00.606036 rule 1/0(match): block in on en0: 203.0.113.7.4321 > "
        "192.168.1.10.22: Flags [S]",
        "Dec  4 10:15:01 mymac pf: 00:00:00.606036 rule 1/0(match): block in on en0: 0.0.0.0.68 > 255.255.255.255.67: "
        "UDP",
        "not a firewall line at all",
        "",
    };
    LayoutAdapter product;
    LayoutAdapter all(LayoutSetting::All);
    // The product's own ICMP line goes through the pflog reading, and comes out read alike.
    const std::string icmp = "Dec  4 10:15:01 mymac pf: 00:00:00.1 rule 1/0(match): block in on en0: 203.0.113.7 > "
                             "10.0.0.1: icmp: echo request";
    expectReadAsProductIcmp(icmp);
    expectReadAsProductIcmp(std::string(all.adapt(icmp)));
    all = LayoutAdapter(LayoutSetting::All);
    for (const std::string& line : lines) {
        EXPECT_EQ(product.adapt(line).data(), line.data());
        EXPECT_EQ(all.adapt(line).data(), line.data());
    }
    EXPECT_EQ(all.counts(), (LayoutAdapter::LayoutCounts{2, 0, 0, 2}));
    EXPECT_EQ(product.counts(), (LayoutAdapter::LayoutCounts{}));
    // The product setting changes nothing, whatever the layout.
    EXPECT_EQ(product.adapt(otherLayoutLines[0]).data(), otherLayoutLines[0].data());
}

// Of the real lines, only the header layout K has the product's field positions; every
// other packet record is pflog text, and the -vv continuation lines stay unread.
TEST(AdaptedLineReaders, CountsTheRealSamplesPerLayout)
{
    LayoutAdapter adapter(LayoutSetting::All);
    for (const char* file : {"real-lines.txt", "tcpdump-only.txt"}) {
        for (const std::string& line : sampleLines(file))
            adapter.adapt(line);
    }
    EXPECT_EQ(adapter.counts(), (LayoutAdapter::LayoutCounts{1, 103, 0, 4}));
}
