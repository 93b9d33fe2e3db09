#include "ClassifierFixture.h"

using namespace rovex;
using Pairs = std::vector<std::pair<std::string, std::int64_t>>;

namespace {

class TrafficStoreTest : public rovex::testing::ClassifierFixture {};

const TimePoint early = TimePoint{} + std::chrono::seconds(10);
const TimePoint later = TimePoint{} + std::chrono::seconds(20);

} // namespace

TEST_F(TrafficStoreTest, CountsRowsAndOccurrencesPerKind)
{
    const std::string in = line("block", "in", "203.0.113.7.4321", "192.168.1.10.22");
    feed(in + "\n" + in + "\n" + in);
    ASSERT_EQ(store.portRows(TrafficCategory::PortBlockIn).size(), 1U);
    EXPECT_EQ(store.portRows(TrafficCategory::PortBlockIn)[0].portName, "22");
    EXPECT_EQ(store.portRows(TrafficCategory::PortBlockIn)[0].portCount, 3);
    ASSERT_EQ(store.ipRows(TrafficCategory::IpBlockIn).size(), 1U);
    EXPECT_EQ(store.ipRows(TrafficCategory::IpBlockIn)[0].ipName, "203.0.113.7");
    EXPECT_EQ(store.ipRows(TrafficCategory::IpBlockIn)[0].ipCount, 3);
    EXPECT_EQ(occurrences(TrafficCategory::PortBlockIn, "22"), (Pairs{{"203.0.113.7", 3}}));
    EXPECT_EQ(occurrences(TrafficCategory::IpBlockIn, "203.0.113.7"), (Pairs{{"22", 3}}));

    // Outbound traffic is keyed by its destination address.
    feed(line("block", "out", "203.0.113.7.4321", "192.168.1.10.22"));
    EXPECT_EQ(store.ipRows(TrafficCategory::IpBlockOut)[0].ipName, "192.168.1.10");
    EXPECT_EQ(occurrences(TrafficCategory::IpBlockOut, "192.168.1.10"), (Pairs{{"22", 1}}));
    EXPECT_EQ(occurrences(TrafficCategory::PortBlockOut, "22"), (Pairs{{"192.168.1.10", 1}}));
    for (const TrafficCategory category : {TrafficCategory::PortPassIn, TrafficCategory::PortPassOut,
                                           TrafficCategory::IpPassIn, TrafficCategory::IpPassOut})
        EXPECT_EQ(store.rowCount(category), 0U) << suffix(category);
}

TEST_F(TrafficStoreTest, RowsKeepTheirFirstSightingAndImage)
{
    store.setAllServicesDict({{"22", "ssh"}});
    feed(line("pass", "in", "198.51.100.1.1000", "10.0.0.1.22"), early);
    feed(line("pass", "in", "198.51.100.1.1000", "10.0.0.1.22"), later);
    feed(line("pass", "in", "198.51.100.1.1000", "10.0.0.1.8080"), later);
    const auto& ports = store.portRows(TrafficCategory::PortPassIn);
    EXPECT_EQ(ports[0].portDate, early);
    EXPECT_EQ(ports[0].portImage, "ssh");
    EXPECT_EQ(ports[1].portImage, "genericservice");
    EXPECT_EQ(store.ipRows(TrafficCategory::IpPassIn)[0].ipDate, early);
}

TEST_F(TrafficStoreTest, ARemovedRowComesBackNewWhileItsHistoryStays)
{
    feed(line("block", "in", "203.0.113.7.1", "10.0.0.1.22"), early);
    feed(line("block", "in", "203.0.113.7.1", "10.0.0.1.22"), early);
    feed(line("block", "in", "198.51.100.9.1", "10.0.0.1.23"), early);
    const std::size_t first = 0;
    store.remove(TrafficCategory::PortBlockIn, std::span(&first, 1));
    ASSERT_EQ(store.rowCount(TrafficCategory::PortBlockIn), 1U);
    EXPECT_EQ(store.rowName(TrafficCategory::PortBlockIn, 0), "23");

    feed(line("block", "in", "203.0.113.7.1", "10.0.0.1.22"), later);
    const ObjPort& back = store.portRows(TrafficCategory::PortBlockIn)[1];
    EXPECT_EQ(back.portName, "22");
    EXPECT_EQ(back.portCount, 1);
    EXPECT_EQ(back.portDate, later);
    EXPECT_EQ(occurrences(TrafficCategory::PortBlockIn, "22"), (Pairs{{"203.0.113.7", 3}}));
    // Counting the surviving row still finds it after the rows moved.
    feed(line("block", "in", "198.51.100.9.1", "10.0.0.1.23"), later);
    EXPECT_EQ(store.portRows(TrafficCategory::PortBlockIn)[0].portCount, 2);
}

TEST_F(TrafficStoreTest, IgnoreActionsAndEmptyAll)
{
    feed(line("block", "in", "203.0.113.7.1", "10.0.0.1.22") + "\n"
         + line("block", "in", "203.0.113.8.1", "10.0.0.1.80") + "\n"
         + line("block", "out", "10.0.0.1.1", "203.0.113.7.443"));
    const std::vector<std::size_t> both{1, 0, 1};
    store.ignore(TrafficCategory::PortBlockIn, both);
    EXPECT_EQ(store.ignorePort(), (std::vector<std::string>{"80", "22"}));
    store.ignore(TrafficCategory::IpBlockOut, std::vector<std::size_t>{0});
    store.ignore(TrafficCategory::IpBlockIn, std::vector<std::size_t>{0});
    EXPECT_EQ(store.ignoreIp(), (std::vector<std::string>{"203.0.113.7"})); // already listed
    EXPECT_EQ(store.rowCount(TrafficCategory::PortBlockIn), 2U);            // rows stay

    store.cleanAll();
    for (const TrafficCategory category : allTrafficCategories) {
        EXPECT_EQ(store.rowCount(category), 0U);
        EXPECT_TRUE(store.occurrenceKeys(category).empty());
    }
    EXPECT_EQ(store.ignorePort().size(), 2U);
    EXPECT_EQ(store.ignoreIp().size(), 1U);

    store.deIgnorePort(std::vector<std::size_t>{1});
    EXPECT_EQ(store.ignorePort(), std::vector<std::string>{"80"});
    feed(line("block", "in", "198.51.100.1.1", "10.0.0.1.22") + "\n"
         + line("block", "in", "198.51.100.1.1", "10.0.0.1.80"));
    ASSERT_EQ(store.rowCount(TrafficCategory::PortBlockIn), 1U);
    EXPECT_EQ(store.rowName(TrafficCategory::PortBlockIn, 0), "22");
}

TEST_F(TrafficStoreTest, ChangesReportEachRowOncePerTake)
{
    const std::string a = line("pass", "out", "10.0.0.1.1", "198.51.100.1.443");
    const std::string b = line("pass", "out", "10.0.0.1.1", "198.51.100.2.443");
    feed(a + "\n" + a + "\n" + b);
    StoreChanges changes = store.takeChanges();
    EXPECT_EQ(changes[TrafficCategory::PortPassOut].added, std::vector<std::size_t>{0});
    EXPECT_TRUE(changes[TrafficCategory::PortPassOut].counted.empty());
    EXPECT_EQ(changes[TrafficCategory::IpPassOut].added, (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(changes[TrafficCategory::IpBlockIn].empty());

    feed(b + "\n" + b + "\n" + a);
    changes = store.takeChanges();
    EXPECT_TRUE(changes[TrafficCategory::PortPassOut].added.empty());
    EXPECT_EQ(changes[TrafficCategory::PortPassOut].counted, std::vector<std::size_t>{0});
    EXPECT_EQ(changes[TrafficCategory::IpPassOut].counted, (std::vector<std::size_t>{1, 0}));
    EXPECT_TRUE(store.takeChanges().empty());
}

TEST_F(TrafficStoreTest, RankingIsByCountThenFirstSighting)
{
    for (const char* port : {"80", "22", "443", "22", "443"})
        feed(line("block", "in", "203.0.113.7.1", std::string("10.0.0.1.") + port));
    const auto ranked = store.rankedByCount(TrafficCategory::PortBlockIn);
    std::vector<std::string_view> names;
    for (const std::size_t position : ranked)
        names.push_back(store.rowName(TrafficCategory::PortBlockIn, position));
    EXPECT_EQ(names, (std::vector<std::string_view>{"22", "443", "80"}));
}

TEST_F(TrafficStoreTest, DispatchByWordsMatchesTheClassifiersRecord)
{
    // The six-argument dispatch and the classifier's own record of a line agree.
    TrafficStore direct;
    direct.smistastatistiche("", "22", "203.0.113.7", "10.0.0.1", "block", "in");
    direct.smistastatistiche("", "22", "203.0.113.7", "10.0.0.1", "pass", "out");
    direct.smistastatistiche("", "22", "203.0.113.7", "10.0.0.1", "Block", "in");
    feed(line("block", "in", "203.0.113.7.1", "10.0.0.1.22") + "\n"
         + line("pass", "out", "203.0.113.7.1", "10.0.0.1.22"));
    for (const TrafficCategory category : allTrafficCategories) {
        EXPECT_EQ(direct.occurrenceKeys(category), store.occurrenceKeys(category)) << suffix(category);
        for (const auto key : store.occurrenceKeys(category)) {
            const auto a = direct.occurrences(category, key);
            const auto b = store.occurrences(category, key);
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(a[i].name, b[i].name);
                EXPECT_EQ(a[i].count, b[i].count);
            }
        }
    }
}
