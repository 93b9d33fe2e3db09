// The store's occurrence dictionaries and tables against plain lists, over many addresses
// and ports and across removal and emptying: first-seen order of keys and of each key's
// counterparts, counts per pair, and rows found again after they moved.
#include "intake/TrafficStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace rovex;

namespace {

using Counted = std::vector<std::pair<std::string, std::int64_t>>;

// One dictionary as a list of keys in first-seen order, each with its counterparts.
struct ReferenceDictionary {
    std::vector<std::pair<std::string, Counted>> keys;

    void add(const std::string& key, const std::string& counterpart)
    {
        auto entry = std::find_if(keys.begin(), keys.end(), [&](const auto& item) { return item.first == key; });
        if (entry == keys.end())
            entry = keys.insert(keys.end(), {key, {}});
        auto met = std::find_if(entry->second.begin(), entry->second.end(),
                                [&](const auto& item) { return item.first == counterpart; });
        if (met == entry->second.end())
            entry->second.emplace_back(counterpart, 1);
        else
            ++met->second;
    }
};

Counted occurrencesOf(const TrafficStore& store, TrafficCategory category, const std::string& key)
{
    Counted result;
    for (const auto& [name, count] : store.occurrences(category, key))
        result.emplace_back(name, count);
    return result;
}

void expectDictionary(const TrafficStore& store, TrafficCategory category, const ReferenceDictionary& reference)
{
    const auto keys = store.occurrenceKeys(category);
    ASSERT_EQ(keys.size(), reference.keys.size()) << suffix(category);
    for (std::size_t k = 0; k < keys.size(); ++k) {
        ASSERT_EQ(keys[k], reference.keys[k].first) << suffix(category);
        ASSERT_EQ(occurrencesOf(store, category, reference.keys[k].first), reference.keys[k].second)
            << suffix(category) << " " << keys[k];
    }
    // The one-walk form gives the same as the per-key form.
    std::size_t key = 0;
    std::size_t counterpart = 0;
    store.forEachOccurrence(
        category,
        [&](std::string_view name) {
            EXPECT_EQ(name, reference.keys[key].first);
            ++key;
            counterpart = 0;
        },
        [&](std::string_view name, std::int64_t count) {
            const auto& expected = reference.keys[key - 1].second[counterpart++];
            EXPECT_EQ(name, expected.first);
            EXPECT_EQ(count, expected.second);
        });
    EXPECT_EQ(key, reference.keys.size());
}

// Addresses numbered with a skewed spread, as a scanned host sees them, and ports from a
// few busy ones and a wide range.
struct LineSource {
    std::mt19937 random{5};

    std::string address()
    {
        const auto n = static_cast<unsigned>(std::uniform_real_distribution<double>(0, 1)(random)
                                             * std::uniform_real_distribution<double>(0, 1)(random) * 3000);
        return "198.51." + std::to_string(n / 256) + "." + std::to_string(n % 256);
    }
    std::string port()
    {
        const unsigned pick = std::uniform_int_distribution<unsigned>(0, 9)(random);
        return pick < 6 ? std::to_string(20 + pick) : std::to_string(1024 + random() % 200);
    }
};

} // namespace

TEST(StoreOccurrencesTest, KeysAndCounterpartsKeepFirstSeenOrderAndCounts)
{
    TrafficStore store;
    LineSource source;
    std::map<TrafficCategory, ReferenceDictionary> reference;
    std::size_t pairs = 0;
    for (int i = 0; i < 40'000; ++i) {
        const auto kind = static_cast<TrafficKind>(source.random() % trafficKindCount);
        const std::string port = source.port();
        const std::string address = source.address();
        store.recordLine(kind, port, address, true, TimePoint{});
        reference[portTable(kind)].add(port, address);
        reference[addressTable(kind)].add(address, port);
    }
    for (const auto& [category, dictionary] : reference) {
        expectDictionary(store, category, dictionary);
        if (isPortTable(category)) {
            for (const auto& key : dictionary.keys)
                pairs += key.second.size();
        }
    }
    EXPECT_EQ(store.occurrencePairs(), pairs);
    EXPECT_GT(store.occurrenceBytes(), pairs * 16);
    EXPECT_TRUE(store.occurrences(TrafficCategory::PortBlockIn, "65000").empty());
    EXPECT_TRUE(store.occurrences(TrafficCategory::IpPassOut, "203.0.113.1").empty());
}

TEST(StoreOccurrencesTest, RowsAreFoundAfterRemovalAndAfterEmptying)
{
    TrafficStore store;
    LineSource source;
    std::vector<std::string> addresses;
    for (int i = 0; i < 5'000; ++i) {
        addresses.push_back(source.address());
        store.recordLine(TrafficKind::BlockIn, "22", addresses.back(), true, TimePoint{});
    }
    store.takeChanges();
    // Remove every third row; the others move down and must still be counted in place.
    const auto& rows = store.ipRows(TrafficCategory::IpBlockIn);
    std::map<std::string, std::int64_t> kept;
    std::vector<std::size_t> doomed;
    for (std::size_t position = 0; position < rows.size(); ++position) {
        if (position % 3 == 0)
            doomed.push_back(position);
        else
            kept[std::string(rows[position].ipName)] = rows[position].ipCount;
    }
    store.remove(TrafficCategory::IpBlockIn, doomed);
    for (const std::string& address : addresses) {
        store.recordLine(TrafficKind::BlockIn, "23", address, true, TimePoint{});
        if (kept.contains(address))
            ++kept[address];
    }
    const StoreChanges changes = store.takeChanges();
    std::size_t added = 0;
    for (const ObjIp& row : store.ipRows(TrafficCategory::IpBlockIn)) {
        if (const auto found = kept.find(std::string(row.ipName)); found != kept.end()) {
            EXPECT_EQ(row.ipCount, found->second) << row.ipName;
        } else {
            ++added; // a removed address comes back as a new row
        }
    }
    EXPECT_EQ(changes[TrafficCategory::IpBlockIn].added.size(), added);
    EXPECT_EQ(changes[TrafficCategory::IpBlockIn].counted.size(), kept.size());
    EXPECT_EQ(store.rowCount(TrafficCategory::IpBlockIn), kept.size() + added);

    store.cleanAll();
    EXPECT_EQ(store.occurrencePairs(), 0U);
    store.recordLine(TrafficKind::BlockIn, "80", addresses[7], true, TimePoint{});
    store.recordLine(TrafficKind::BlockIn, "80", addresses[7], true, TimePoint{});
    ASSERT_EQ(store.rowCount(TrafficCategory::IpBlockIn), 1U);
    EXPECT_EQ(store.ipRows(TrafficCategory::IpBlockIn)[0].ipCount, 2);
    EXPECT_EQ(occurrencesOf(store, TrafficCategory::IpBlockIn, addresses[7]), (Counted{{"80", 2}}));
    EXPECT_EQ(occurrencesOf(store, TrafficCategory::PortBlockIn, "22"), Counted{});
    EXPECT_EQ(store.takeChanges()[TrafficCategory::IpBlockIn].added, std::vector<std::size_t>{0});
}
