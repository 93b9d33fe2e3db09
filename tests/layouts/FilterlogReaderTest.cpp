// filterlog lines written from the format summary: every envelope, both IP versions and each
// protocol family, pass/block/match, in/out.
#include "layouts/FilterlogReader.h"

#include "RecordFields.h"

#include <gtest/gtest.h>

#include <string>

using namespace rovex;

namespace {

// The message part of pfSense/OPNsense lines, by IP version and protocol.
constexpr const char* tcp4 = "5,,,1000000103,igb1,match,block,in,4,0x0,,64,12345,0,DF,6,tcp,60,203.0.113.5,192.168.1."
                             "10,51234,22,0,S,1234567890,,64240,,mss;sackOK;TS;nop;wscale";
constexpr const char* udp4
    = "9,,,1000000105,em0,match,pass,out,4,0x0,,64,0,0,DF,17,udp,76,192.168.1.10,9.9.9.9,40000,53,56";
constexpr const char* sctp4
    = "12,,,1000000110,vtnet1,match,pass,in,4,0x0,,64,4321,0,DF,132,sctp,52,10.1.1.2,10.1.1.3,36412,38412,32";
constexpr const char* icmp4
    = "4,,,1000000101,em0,match,block,in,4,0x0,,56,0,0,none,1,icmp,84,198.51.100.7,192.0.2.1,request,5123,7";
constexpr const char* igmp4
    = "3,,,1000000102,em1,match,block,in,4,0xc0,,1,0,0,none,2,igmp,32,192.168.1.1,224.0.0.1,datalength=8";
constexpr const char* fragment4
    = "5,,,1000000103,igb1,match,block,in,4,0x0,,64,12345,185,+,6,tcp,1500,203.0.113.5,192.168.1.10,";
constexpr const char* udp6
    = "7,,,1000000107,igb0,match,block,in,6,0x00,0x00000,1,UDP,17,98,fe80::1c2a:3bff:fe4d:5e6f,ff02::1:2,546,547,98";
constexpr const char* tcp6 = "81,,,fae559338f65e11c53669fc3642c93c2,vtnet0,match,pass,out,6,0x00,0x00000,64,tcp,6,40,"
                             "2001:db8::2,2001:db8::1,443,51000,0,SA,1,2,65535,,";
constexpr const char* icmp6 = "8,,,1000000108,igb0,match,block,in,6,0x00,0x00000,255,ipv6-icmp,58,32,fe80::1,ff02::2,";
constexpr const char* carp6
    = "2,,,02f4bab031b57d1e30553ce08e0ec131,lagg0,match,match,out,6,0x00,0x00000,255,carp,112,36,fe80::2,ff02::12,";

struct Case {
    std::string line;
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

std::string in(const char* envelope, const char* message) { return std::string(envelope) + message; }

} // namespace

TEST(FilterlogReader, EveryEnvelopeAndProtocolFamily)
{
    const Case cases[] = {
        {in("<134>Jan 15 10:23:45 pfsense filterlog[12345]: ", tcp4), "Jan", "15", "10:23:45", "block", "in", "igb1",
         "203.0.113.5", "51234", "192.168.1.10", "22"},
        {in("Jan  5 10:23:45 pfsense filterlog[12345]: ", udp4), "Jan", "5", "10:23:45", "pass", "out", "em0",
         "192.168.1.10", "40000", "9.9.9.9", "53"},
        {in("<134>Feb 29 00:00:01 filterlog[9]: ", sctp4), "Feb", "29", "00:00:01", "pass", "in", "vtnet1", "10.1.1.2",
         "36412", "10.1.1.3", "38412"},
        {in("Mar  1 23:59:59 fw filterlog: ", icmp4), "Mar", "1", "23:59:59", "block", "in", "em0", "198.51.100.7", "",
         "192.0.2.1", ""},
        {in("<134>Apr 30 12:00:00 filterlog: ", igmp4), "Apr", "30", "12:00:00", "block", "in", "em1", "192.168.1.1",
         "", "224.0.0.1", ""},
        {in("<134>1 2024-05-06T07:08:09+02:00 OPNsense.localdomain filterlog 4321 - [meta sequenceId=\"17\"] ", tcp6),
         "May", "6", "07:08:09", "pass", "out", "vtnet0", "2001:db8::2", "443", "2001:db8::1", "51000"},
        {in("<134>1 2024-06-07T08:09:10.123456Z fw filterlog 4321 - - ", udp6), "Jun", "7", "08:09:10", "block", "in",
         "igb0", "fe80::1c2a:3bff:fe4d:5e6f", "546", "ff02::1:2", "547"},
        {in("2024-11-12T13:14:15+00:00 fw filterlog 77 - - ", icmp6), "Nov", "12", "13:14:15", "block", "in", "igb0",
         "fe80::1", "", "ff02::2", ""},
        {in("2024-12-24T18:00:00+00:00 collector filterlog[4321] ", carp6), "Dec", "24", "18:00:00", "match", "out",
         "lagg0", "fe80::2", "", "ff02::12", ""},
        {in("<134>Jan 15 10:23:45 filterlog-gw filterlog[12345]: ", udp4), "Jan", "15", "10:23:45", "pass", "out",
         "em0", "192.168.1.10", "40000", "9.9.9.9", "53"},
        {in("", fragment4), "", "", "", "block", "in", "igb1", "203.0.113.5", "", "192.168.1.10", ""},
        {in("", tcp4), "", "", "", "block", "in", "igb1", "203.0.113.5", "51234", "192.168.1.10", "22"},
        {in("", udp6), "", "", "", "block", "in", "igb0", "fe80::1c2a:3bff:fe4d:5e6f", "546", "ff02::1:2", "547"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        FirewallRecord r;
        ASSERT_EQ(readFilterlog(c.line, r), RecordOutcome::Read);
        test::expectRecordFields(r, c);
    }
}

// Text that resembles filterlog but is not a packet line: the tag of another program, a
// direction or IP version that filterlog never writes, a line cut before its addresses.
TEST(FilterlogReader, RefusesWhatIsNotAPacketLine)
{
    FirewallRecord r;
    EXPECT_EQ(readFilterlog(in("Jan 15 10:23:45 fw filterlogger[1]: ", tcp4), r), RecordOutcome::NotThisLayout);
    EXPECT_EQ(
        readFilterlog("5,,,1000000103,igb1,match,block,sideways,4,0x0,,64,1,0,DF,6,tcp,60,1.2.3.4,5.6.7.8,1,2", r),
        RecordOutcome::NotThisLayout);
    EXPECT_EQ(readFilterlog("5,,,1000000103,igb1,match,block,in,5,0x0,,64,1,0,DF,6,tcp,60,1.2.3.4,5.6.7.8,1,2", r),
              RecordOutcome::NotThisLayout);
    EXPECT_EQ(readFilterlog("5,,,1000000103,igb1,match,block,in,4,0x0,,64,1,0,DF,6,tcp,60,1.2.3.4", r),
              RecordOutcome::NoEndpoints);
    EXPECT_EQ(readFilterlog("Jan 15 10:23:45 fw filterlog 12", r), RecordOutcome::NotThisLayout);
    // A TCP line cut after its addresses has no ports to give.
    ASSERT_EQ(readFilterlog("5,,,1,igb1,match,block,in,4,0x0,,64,1,0,DF,6,tcp,60,1.2.3.4,5.6.7.8", r),
              RecordOutcome::Read);
    EXPECT_TRUE(r.sourcePort.empty());
    EXPECT_TRUE(r.destinationPort.empty());
}
