#include "lookup/RXMatchIP.h"

#include <gtest/gtest.h>

#include <string>

using rovex::matchIP;
using rovex::readIPv4;
using rovex::readIPv4Block;

TEST(MatchIP, BlockBoundsIgnoreTheNetworksHostBits)
{
    EXPECT_TRUE(matchIP("10.255.255.255", "10.0.0.0/8"));
    EXPECT_FALSE(matchIP("11.0.0.0", "10.0.0.0/8"));
    EXPECT_FALSE(matchIP("9.255.255.255", "10.0.0.0/8"));
    EXPECT_TRUE(matchIP("172.16.4.0", "172.16.5.0/23"));
    EXPECT_TRUE(matchIP("172.16.5.255", "172.16.5.0/23"));
    EXPECT_FALSE(matchIP("172.16.6.0", "172.16.5.0/23"));
    EXPECT_FALSE(matchIP("172.16.3.255", "172.16.5.0/23"));
    for (const char* address : {"0.0.0.0", "255.255.255.255"})
        EXPECT_TRUE(matchIP(address, "203.0.113.9/0")) << address;

    const auto block = readIPv4Block("172.16.5.9/23");
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->first, 0xAC100400u);
    EXPECT_EQ(block->last, 0xAC1005FFu);
    EXPECT_EQ(block->prefix, 23);
}

// Flipping one bit of an address inside the block must leave it inside exactly when that
// bit is not one of the prefix's bits.
TEST(MatchIP, EveryPrefixMasksExactlyItsBits)
{
    const std::uint32_t network = 0xC6336400; // 198.51.100.0
    for (int p = 0; p <= 32; ++p) {
        const std::uint32_t mask = p == 0 ? 0 : ~std::uint32_t{0} << (32 - p);
        const std::string block = "198.51.100.0/" + std::to_string(p);
        for (int bit = 0; bit < 32; ++bit) {
            const std::uint32_t value = network ^ (1u << bit);
            const std::string address = std::to_string(value >> 24) + '.' + std::to_string(value >> 16 & 0xFF) + '.'
                + std::to_string(value >> 8 & 0xFF) + '.' + std::to_string(value & 0xFF);
            EXPECT_EQ(matchIP(address, block), (mask & (1u << bit)) == 0) << address << " in " << block;
        }
    }
}

TEST(MatchIP, PrefixReadsAsSignedDecimalFromZeroTo32)
{
    EXPECT_TRUE(matchIP("10.1.2.3", "10.0.0.0/+8"));
    EXPECT_TRUE(matchIP("10.1.2.3", "10.0.0.0/08"));
    EXPECT_TRUE(matchIP("99.1.2.3", "10.0.0.0/-0"));
    // A third piece is not looked at: the second one alone is the prefix.
    EXPECT_TRUE(matchIP("10.1.2.3", "10.0.0.0/8/9"));
    for (const char* block : {"10.0.0.0", "10.0.0.0/", "10.0.0.0/33", "10.0.0.0/-1", "10.0.0.0/ 8", "10.0.0.0/8 ",
                              "10.0.0.0/x", "10.0.0.0/0x8", "10.0.0.0/8\r", "10.0.0.0/99999999999999999999", "/8",
                              "foo/8", "10.0.0.0.0/8", "", "/", "::/0", "2001:db8::/32"})
        EXPECT_FALSE(matchIP("10.1.2.3", block)) << '"' << block << '"';
}

TEST(MatchIP, ReadsAddressesAsTheCLibraryDoes)
{
    EXPECT_EQ(readIPv4("10.1"), 0x0A000001u);
    EXPECT_EQ(readIPv4("10.1.2"), 0x0A010002u);
    EXPECT_EQ(readIPv4("167772161"), 0x0A000001u);
    EXPECT_EQ(readIPv4("0x0a.1.2.3"), 0x0A010203u);
    EXPECT_EQ(readIPv4("012.1.2.3"), 0x0A010203u);
    EXPECT_TRUE(matchIP("10.1", "10.0.0.1/32"));
    EXPECT_TRUE(matchIP("0x0a.1.2.3", "10.1.2.3/32"));
    // The network is read the same way: "10" alone is 0.0.0.10, so 10/8 is 0.0.0.0/8.
    EXPECT_FALSE(matchIP("10.1.2.3", "10/8"));
    EXPECT_TRUE(matchIP("0.1.2.3", "10/8"));
    EXPECT_TRUE(matchIP("10.1.2.3", "0x0a.0.0.0/8"));

    for (const char* address :
         {"", "256.1.1.1", "1.2.3.4.5", "08.1.1.1", "1.2.3.4x", "x1.2.3.4", "1..2.3", "-1.2.3.4", "host.example"})
        EXPECT_FALSE(readIPv4(address).has_value()) << '"' << address << '"';
    // The C library would stop reading at the NUL and accept the part before it.
    EXPECT_FALSE(readIPv4(std::string_view("10.1.2.3\0x", 10)).has_value());
    EXPECT_FALSE(matchIP(std::string_view("10.1.2.3\0x", 10), "10.0.0.0/8"));
    EXPECT_FALSE(matchIP("10.1.2.3", std::string_view("10.0.0.0\0/8", 11)));
    // Any number of leading zeros is still one octal part, however long the text.
    EXPECT_EQ(readIPv4(std::string(100, '0') + "12.1.2.3"), 0x0A010203u);
}
