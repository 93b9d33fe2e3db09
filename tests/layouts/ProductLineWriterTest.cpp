#include "layouts/ProductLineWriter.h"

#include <gtest/gtest.h>

#include <string>

using namespace rovex;

namespace {

FirewallRecord sample()
{
    FirewallRecord r;
    r.month = "Dec";
    r.day = "6";
    r.time = "10:35:10";
    r.action = "block";
    r.direction = "in";
    r.interfaceName = "en0";
    r.sourceAddress = "203.0.113.7";
    r.sourcePort = "4321";
    r.destinationAddress = "192.168.1.10";
    r.destinationPort = "22";
    return r;
}

} // namespace

TEST(ProductLineWriter, WritesTheProductLayoutWithPlaceholdersForAMissingDate)
{
    std::string out;
    ASSERT_TRUE(writeProductLine(sample(), "pflog", out));
    EXPECT_EQ(out, "Dec 6 10:35:10 pflog pf: - rule 0/0(match): block in on en0: 203.0.113.7.4321 > 192.168.1.10.22:");
    FirewallRecord undated = sample();
    undated.month = undated.day = undated.time = {};
    undated.sourcePort = undated.destinationPort = {};
    ASSERT_TRUE(writeProductLine(undated, "filterlog", out));
    EXPECT_EQ(out, "- - - filterlog pf: - rule 0/0(match): block in on en0: 203.0.113.7 > 192.168.1.10:");
}

// Each of these would shift a field or split an endpoint differently in the product's
// readers, so the record is refused rather than misread.
TEST(ProductLineWriter, RefusesRecordsTheLayoutCannotCarry)
{
    const auto refused = [](auto change) {
        FirewallRecord r = sample();
        change(r);
        std::string out = "old";
        const bool written = writeProductLine(r, "pflog", out);
        EXPECT_EQ(out.empty(), !written);
        return !written;
    };
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.interfaceName = "em 0"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.interfaceName = "em0:1"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.action = {}; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.time = "10:35 10"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.sourcePort = "1.2"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.destinationPort = "22:"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.destinationAddress = "2001:db8::1"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) { r.sourceAddress = "10.0.0.0.1"; }));
    EXPECT_TRUE(refused([](FirewallRecord& r) {
        static const std::string huge(maxWrittenLineBytes, 'x');
        r.action = huge;
    }));
    EXPECT_FALSE(refused([](FirewallRecord&) {}));
}
