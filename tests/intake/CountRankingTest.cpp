#include "intake/TrafficStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace rovex {
namespace {

constexpr auto table = TrafficCategory::IpBlockIn;

// The order the ranking must keep, found the slow way: every row sorted again.
std::vector<std::string> sortedNames(const TrafficStore& store)
{
    const auto& rows = store.ipRows(table);
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&rows](std::size_t a, std::size_t b) { return rows[a].ipCount > rows[b].ipCount; });
    std::vector<std::string> names;
    for (const std::size_t position : order)
        names.emplace_back(rows[position].ipName);
    return names;
}

std::vector<std::string> rankedNames(const TrafficStore& store)
{
    std::vector<std::string> names;
    for (std::size_t rank = 0; rank < store.rankedRows(table); ++rank)
        names.emplace_back(store.ipRows(table)[store.positionAtRank(table, rank)].ipName);
    return names;
}

// Batches of counts over a few thousand addresses (enough for the ranking's blocks to split
// and empty), with rows removed between batches: after each, the kept ranking, the ranks of
// single rows and a ranking built from scratch all agree with a full sort.
TEST(CountRankingTest, KeptRankingAgreesWithAFullSortThroughCountsAndRemovals)
{
    TrafficStore store;
    TrafficStore neverRanked; // the same rows, ranked only when asked for all of them
    std::mt19937 random(11);
    std::geometric_distribution<int> skewed(0.002);
    for (int batch = 0; batch < 12; ++batch) {
        for (int line = 0; line < 4000; ++line) {
            const int address = std::min(skewed(random), 5000);
            const std::string name = "10.0." + std::to_string(address / 256) + "." + std::to_string(address % 256);
            store.updateAddressTable(table, name, Clock::now());
            neverRanked.updateAddressTable(table, name, Clock::now());
        }
        const StoreChanges changes = store.takeChanges();
        store.rank(table, changes[table].added);
        store.rank(table, changes[table].counted);
        ASSERT_EQ(rankedNames(store), sortedNames(store)) << "batch " << batch;

        for (std::size_t position = 0; position < store.rowCount(table); position += 97)
            ASSERT_EQ(store.positionAtRank(table, store.rankOf(table, position)), position);

        if (batch % 3 == 2) {
            std::vector<std::size_t> doomed;
            for (auto position = static_cast<std::size_t>(batch); position < store.rowCount(table); position += 5)
                doomed.push_back(position);
            store.remove(table, doomed);
            neverRanked.remove(table, doomed);
            ASSERT_EQ(rankedNames(store), sortedNames(store)) << "after removal in batch " << batch;
        }
    }

    std::vector<std::string> fromScratch;
    for (const std::size_t position : neverRanked.rankedByCount(table))
        fromScratch.push_back(std::string(neverRanked.ipRows(table)[position].ipName));
    EXPECT_EQ(fromScratch, sortedNames(store));
    EXPECT_EQ(store.positionAtRank(table, store.rowCount(table)), SIZE_MAX) << "past the last rank";
}

TEST(CountRankingTest, RowsNotYetRankedHaveNoRankAndCleaningForgetsAll)
{
    TrafficStore store;
    store.updateAddressTable(table, "192.0.2.1", Clock::now());
    EXPECT_EQ(store.rankOf(table, 0), SIZE_MAX);
    store.rank(table, std::vector<std::size_t>{0, 0, 7}); // repeats and positions past the end are harmless
    EXPECT_EQ(store.rankedRows(table), 1U);
    store.cleanAll();
    EXPECT_EQ(store.rankedRows(table), 0U);
    store.updateAddressTable(table, "192.0.2.2", Clock::now());
    store.rank(table, std::vector<std::size_t>{0});
    EXPECT_EQ(store.ipRows(table)[store.positionAtRank(table, 0)].ipName, "192.0.2.2");
}

} // namespace
} // namespace rovex
