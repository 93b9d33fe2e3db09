#include "StatsRoot.h"
#include "chart/Palette.h"
#include "stats/StatsAggregation.h"

#include <gtest/gtest.h>

#include <string>

using rovex::StatsQuery;
using rovex::StatsResult;
using rovex::StatsTally;
using rovex::test::pfLine;

namespace {

// count records of "block in" from the address to the port.
void add(StatsTally& tally, const std::string& address, const std::string& port, int count,
         const std::string& action = "block", const std::string& direction = "in")
{
    for (int i = 0; i < count; ++i)
        tally.addLine(pfLine(action, direction, address + ".40000", "10.0.0.1." + port));
}

} // namespace

TEST(StatsAggregation, CutsTheListsAtLWithTotalsOverTheListedAndTiesByText)
{
    StatsQuery query;
    query.limit = 3;
    StatsTally tally(query);
    add(tally, "198.51.100.9", "22", 9);
    add(tally, "198.51.100.8", "80", 7);
    add(tally, "198.51.100.70", "80", 7);
    add(tally, "198.51.100.2", "443", 2);
    add(tally, "198.51.100.1", "x", 1);
    const StatsResult result = rovex::aggregate(tally, query);

    ASSERT_EQ(result.addresses.size(), 3U);
    EXPECT_EQ(result.addresses[0].theAddress, "198.51.100.9");
    EXPECT_EQ(result.addresses[1].theAddress, "198.51.100.70"); // equal counts: ascending text
    EXPECT_EQ(result.addresses[2].theAddress, "198.51.100.8");
    for (int rank = 1; rank <= 3; ++rank) {
        const auto& entry = result.addresses[static_cast<std::size_t>(rank - 1)];
        EXPECT_EQ(entry.maxOccurrences, 23);
        EXPECT_EQ(entry.rank, rank);
        EXPECT_EQ(entry.theColor, rovex::colori10(rank));
    }
    ASSERT_EQ(result.addressSlices.size(), 3U);
    EXPECT_EQ(result.addressSlices[1].theName, "198.51.100.70");
    EXPECT_EQ(result.addressSlices[1].theNumber, 7);
    EXPECT_EQ(result.addressSlices[1].theRadius, 90);
    EXPECT_EQ(result.addressSlices[2].colorIndex, 3);
    EXPECT_TRUE(result.addressSlices[0].theSign.empty());

    ASSERT_EQ(result.ports.size(), 3U);
    EXPECT_EQ(result.ports[0].portText, "80");
    EXPECT_EQ(result.ports[0].theOccurrences, 14);
    EXPECT_EQ(result.ports[2].thePortString, "443");
    EXPECT_EQ(result.ports[2].maxOccurrences, 25);
    EXPECT_EQ(result.boxes.ipBox && result.boxes.portBox && !result.boxes.dangerBox, true);
    EXPECT_EQ(result.selected, 26);
}

TEST(StatsAggregation, ListsEveryPortTextApartWithItsDecimalReading)
{
    StatsQuery query;
    query.limit = 100;
    StatsTally tally(query);
    add(tally, "198.51.100.1", "22", 1);
    tally.addLine(pfLine("block", "in", "2001:db8::1.40000", "2001:db8::2.22")); // counts with IPv4 port 22
    add(tally, "198.51.100.1", "ssh", 2);
    add(tally, "198.51.100.1", "+080", 1);
    for (int port = 1; port <= 12; ++port)
        add(tally, "198.51.100.3", std::to_string(1000 + port), 1);
    const StatsResult result = rovex::aggregate(tally, query);

    ASSERT_EQ(result.ports.size(), 15U);
    EXPECT_EQ(result.ports[0].portText, "22");
    EXPECT_EQ(result.ports[0].theOccurrences, 2);
    EXPECT_EQ(result.ports[1].portText, "ssh");
    EXPECT_EQ(result.ports[1].thePort, 0);
    EXPECT_EQ(result.portSlices[1].theName, "0");
    EXPECT_EQ(result.ports[2].portText, "+080");
    EXPECT_EQ(result.ports[2].thePortString, "80");
    // Beyond the tenth rank the palette's grey.
    EXPECT_EQ(result.ports[14].theColor, rovex::pieGrey);
    EXPECT_EQ(result.portSlices[14].theColor, rovex::pieGrey);
}

TEST(StatsAggregation, SelectsByTheMatricesAndTakesTheAddressOfTheDirection)
{
    StatsQuery query = StatsQuery::fromMatrices(1, 0, 10);
    EXPECT_EQ(query.action, "pass");
    EXPECT_EQ(query.direction, "in");
    {
        StatsTally tally(query);
        add(tally, "198.51.100.1", "22", 1, "pass", "in");
        add(tally, "198.51.100.2", "22", 1, "block", "in");
        add(tally, "198.51.100.3", "22", 1, "pass", "out");
        add(tally, "198.51.100.4", "22", 1, "Pass", "in");
        const StatsResult result = rovex::aggregate(tally, query);
        ASSERT_EQ(result.addresses.size(), 1U);
        EXPECT_EQ(result.addresses[0].theAddress, "198.51.100.1");
        EXPECT_EQ(result.kept, 4);
    }
    query = StatsQuery::fromMatrices(0, 1, 10);
    EXPECT_EQ(query.action, "block");
    StatsTally tally(query);
    add(tally, "198.51.100.1", "22", 1, "block", "out");
    const StatsResult result = rovex::aggregate(tally, query);
    ASSERT_EQ(result.addresses.size(), 1U);
    EXPECT_EQ(result.addresses[0].theAddress, "10.0.0.1");
}

TEST(StatsAggregation, ListsTheAddressesOfOnePortByItsOwnDirection)
{
    StatsQuery query;
    query.limit = 5;
    query.port = rovex::PortQuery{"22", "in", 5};
    StatsTally tally(query);
    for (int address = 1; address <= 7; ++address)
        add(tally, "198.51.100." + std::to_string(address), "22", address);
    add(tally, "198.51.100.99", "443", 50);
    StatsResult result = rovex::aggregate(tally, query);
    ASSERT_TRUE(result.ipsForPort);
    ASSERT_EQ(result.ipsForPort->entries.size(), 5U);
    EXPECT_EQ(result.ipsForPort->entries[0].theAddress, "198.51.100.7");
    for (const auto& entry : result.ipsForPort->entries) {
        EXPECT_EQ(entry.maxOccurrences, 28); // over all seven addresses
        EXPECT_FALSE(entry.theColor);
    }

    // Fewer than L: all; "out" takes the target address of the same inbound records.
    query.port = rovex::PortQuery{"22", "out", 10};
    StatsTally outward(query);
    add(outward, "198.51.100.1", "22", 2);
    result = rovex::aggregate(outward, query);
    ASSERT_EQ(result.ipsForPort->entries.size(), 1U);
    EXPECT_EQ(result.ipsForPort->entries[0].theAddress, "10.0.0.1");
    EXPECT_EQ(result.ipsForPort->parserDirection, "out");
}

TEST(StatsAggregation, AnEmptySelectionHidesTheBoxesAndShowsTheDangerBoxForIn)
{
    for (const std::string direction : {"in", "out"}) {
        StatsQuery query;
        query.direction = direction;
        StatsTally tally(query);
        add(tally, "198.51.100.1", "22", 3, "pass", direction);
        tally.addLine("");
        const StatsResult result = rovex::aggregate(tally, query);
        EXPECT_TRUE(result.empty);
        EXPECT_TRUE(result.addresses.empty() && result.ports.empty() && result.addressSlices.empty());
        EXPECT_FALSE(result.boxes.ipBox || result.boxes.portBox);
        EXPECT_EQ(result.boxes.dangerBox, direction == "in");
        EXPECT_EQ(result.lineCount, 4);
        EXPECT_EQ(result.counted, 3);
    }
    const StatsResult missing = rovex::missingLogResult();
    EXPECT_TRUE(missing.missing && missing.boxes.ipBox && missing.boxes.portBox && missing.boxes.dangerBox);
}
