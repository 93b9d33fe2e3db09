#include "intake/PairCounts.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace rovex;

namespace {

std::uint64_t pairOf(std::uint32_t port, std::uint32_t address) { return (std::uint64_t{port} << 32U) | address; }

} // namespace

TEST(PairCountsTest, CountsEveryPairDuringAndAfterGrowthAsAMapWould)
{
    PairCounts counts;
    std::map<std::uint64_t, std::int64_t> expected;
    std::mt19937 random(11);
    // Few ports, many addresses, and pairs that differ only in one half.
    std::uniform_int_distribution<std::uint32_t> port(0, 40);
    std::uniform_int_distribution<std::uint32_t> address(0, 30'000);
    for (int i = 0; i < 300'000; ++i) {
        const std::uint64_t pair = pairOf(port(random), address(random));
        EXPECT_EQ(counts.add(pair), ++expected[pair] == 1);
        // Also while the table grows, with slots still in the array before.
        EXPECT_EQ(counts.countOf(pair), expected[pair]);
    }
    ASSERT_EQ(counts.size(), expected.size());
    for (const auto& [pair, count] : expected)
        ASSERT_EQ(counts.countOf(pair), count);
    EXPECT_EQ(counts.countOf(pairOf(41, 0)), 0);
    EXPECT_EQ(counts.countOf(pairOf(0, 30'001)), 0);
    EXPECT_GE(counts.bytesHeld(), counts.size() * 16);
}

TEST(PairCountsTest, ClearForgetsEveryPair)
{
    PairCounts counts;
    EXPECT_EQ(counts.countOf(pairOf(1, 2)), 0) << "an empty table answers without slots";
    for (std::uint32_t address = 0; address < 1'000; ++address)
        counts.add(pairOf(22, address));
    counts.clear();
    EXPECT_EQ(counts.size(), 0U);
    EXPECT_EQ(counts.bytesHeld(), 0U);
    EXPECT_EQ(counts.countOf(pairOf(22, 5)), 0);
    EXPECT_TRUE(counts.add(pairOf(22, 5)));
    EXPECT_FALSE(counts.add(pairOf(22, 5)));
    EXPECT_EQ(counts.countOf(pairOf(22, 5)), 2);
}
