#include "sim/CidrBlock.h"
#include "sim/GeoipConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace rovex {
namespace {

constexpr std::uint32_t ip(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}

std::string blocksOf(std::uint32_t low, std::uint32_t high)
{
    std::vector<CidrBlock> blocks;
    appendCidrBlocks({low, high}, blocks);
    std::string text;
    for (const CidrBlock& block : blocks)
        text += (text.empty() ? "" : " ") + block.text();
    return text;
}

TEST(CidrBlock, RangesBecomeTheFewestAlignedBlocks)
{
    EXPECT_EQ(blocksOf(ip(1, 0, 0, 1), ip(1, 0, 0, 6)), "1.0.0.1/32 1.0.0.2/31 1.0.0.4/31 1.0.0.6/32");
    EXPECT_EQ(blocksOf(ip(10, 0, 0, 128), ip(10, 0, 2, 63)), "10.0.0.128/25 10.0.1.0/24 10.0.2.0/26");
    // The ends of the address space.
    EXPECT_EQ(blocksOf(0, 0xFFFFFFFFu), "0.0.0.0/0");
    EXPECT_EQ(blocksOf(0, 0), "0.0.0.0/32");
    EXPECT_EQ(blocksOf(0xFFFFFFFFu, 0xFFFFFFFFu), "255.255.255.255/32");
    EXPECT_EQ(blocksOf(ip(128, 0, 0, 0), 0xFFFFFFFFu), "128.0.0.0/1");
    // Everything but the two ends: one block of each size from /32 to /2 on each side.
    const std::string all = blocksOf(1, 0xFFFFFFFEu);
    EXPECT_EQ(std::count(all.begin(), all.end(), ' '), 61);
    EXPECT_TRUE(all.starts_with("0.0.0.1/32 0.0.0.2/31 0.0.0.4/30 ")) << all;
    EXPECT_NE(all.find(" 32.0.0.0/3 64.0.0.0/2 128.0.0.0/2 192.0.0.0/3 "), std::string::npos) << all;
    EXPECT_TRUE(all.ends_with(" 255.255.255.248/30 255.255.255.252/31 255.255.255.254/32")) << all;
}

TEST(GeoipConverter, RejectsLinesThatAreNotRanges)
{
    const std::vector<std::pair<std::string, std::string>> sources{
        {"# header\n1,2,AU\nnonsense\n", "line 3"},
        {"1,2,AU\n5,4,AU\n", "line 2"},           // low above high
        {"4294967296,4294967297,AU\n", "line 1"}, // past 32 bits
        {"-1,2,AU\n", "line 1"},
        {"1,2,../etc\n", "line 1"}, // a code must not become a path
        {"1,2,A\n", "line 1"},
        {"1,2\n", "line 1"},
    };
    for (const auto& [source, where] : sources) {
        GeoipConverter converter;
        try {
            converter.readText(source);
            ADD_FAILURE() << "accepted: " << source;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(where), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace rovex
