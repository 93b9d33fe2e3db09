#include "sim/CidrBlock.h"
#include "sim/GeoipConverter.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(blocksOf(ip(10, 0, 0, 0), ip(10, 0, 0, 255)), "10.0.0.0/24");
    EXPECT_EQ(blocksOf(ip(1, 0, 0, 1), ip(1, 0, 0, 6)), "1.0.0.1/32 1.0.0.2/31 1.0.0.4/31 1.0.0.6/32");
    EXPECT_EQ(blocksOf(ip(192, 0, 2, 77), ip(192, 0, 2, 77)), "192.0.2.77/32");
    EXPECT_EQ(blocksOf(ip(10, 0, 0, 0), ip(10, 1, 255, 255)), "10.0.0.0/15");
    EXPECT_EQ(blocksOf(ip(10, 0, 0, 128), ip(10, 0, 2, 63)), "10.0.0.128/25 10.0.1.0/24 10.0.2.0/26");
    // The ends of the address space.
    EXPECT_EQ(blocksOf(0, 0xFFFFFFFFu), "0.0.0.0/0");
    EXPECT_EQ(blocksOf(0, 0), "0.0.0.0/32");
    EXPECT_EQ(blocksOf(0xFFFFFFFFu, 0xFFFFFFFFu), "255.255.255.255/32");
    EXPECT_EQ(blocksOf(ip(128, 0, 0, 0), 0xFFFFFFFFu), "128.0.0.0/1");

    // Everything but the two ends: one block of each size from /32 to /1 on each side.
    std::vector<CidrBlock> blocks;
    appendCidrBlocks({1, 0xFFFFFFFEu}, blocks);
    ASSERT_EQ(blocks.size(), 62u);
    std::uint64_t covered = 0;
    std::uint64_t next = 1;
    for (const CidrBlock& block : blocks) {
        const std::uint64_t size = std::uint64_t{1} << (32 - block.prefix);
        EXPECT_EQ(block.network, next);
        EXPECT_EQ(block.network % size, 0u) << block.text();
        covered += size;
        next += size;
    }
    EXPECT_EQ(covered, 0xFFFFFFFEu);
}

TEST(AddressRange, MergesTouchingAndOverlappingRangesOnly)
{
    std::vector<AddressRange> ranges{
        {ip(10, 0, 0, 128), ip(10, 0, 0, 255)},
        {ip(10, 0, 0, 0), ip(10, 0, 0, 127)},   // touches the one above
        {ip(10, 0, 2, 0), ip(10, 0, 2, 255)},   // a gap of 10.0.1.0/24 before it
        {ip(10, 0, 2, 16), ip(10, 0, 2, 31)},   // inside the one above
        {ip(255, 255, 255, 0), 0xFFFFFFFFu},
        {ip(255, 255, 254, 0), ip(255, 255, 254, 255)},
    };
    mergeTouchingRanges(ranges);
    const std::vector<AddressRange> expected{
        {ip(10, 0, 0, 0), ip(10, 0, 0, 255)},
        {ip(10, 0, 2, 0), ip(10, 0, 2, 255)},
        {ip(255, 255, 254, 0), 0xFFFFFFFFu},
    };
    EXPECT_EQ(ranges, expected);
}

TEST(GeoipConverter, RejectsLinesThatAreNotRanges)
{
    const std::vector<std::pair<std::string, std::string>> sources{
        {"# header\n1,2,AU\nnonsense\n", "line 3"},
        {"1,2,AU\n5,4,AU\n", "line 2"},            // low above high
        {"4294967296,4294967297,AU\n", "line 1"},  // past 32 bits
        {"-1,2,AU\n", "line 1"},
        {"1,2,../etc\n", "line 1"},                // a code must not become a path
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
