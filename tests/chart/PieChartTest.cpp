#include "chart/PieChart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rovex;

namespace {

std::vector<std::string_view> viewsOf(const std::vector<std::string>& names) { return {names.begin(), names.end()}; }

} // namespace

TEST(PieChart, RepeatedNamesMakeOneSliceEachLargestFirst)
{
    const std::vector<std::string> names{"b", "a", "a"};
    const std::vector<RXDiaObj> slices = makegraficoOfNames(viewsOf(names));
    ASSERT_EQ(slices.size(), 2U);
    EXPECT_EQ(slices[0].theName, "a");
    EXPECT_EQ(slices[0].theNumber, 2);
    EXPECT_EQ(slices[0].colorIndex, 1);
    EXPECT_EQ(slices[0].theColor, (Rgb{246, 34, 29}));
    EXPECT_EQ(slices[0].theSign, "\xE2\x97\xBC\xEF\xB8\x8E");
    EXPECT_EQ(slices[0].theRadius, 90);
    EXPECT_EQ(slices[1].theName, "b");
    EXPECT_EQ(slices[1].colorIndex, 2);
    EXPECT_EQ(slices[1].theColor, (Rgb{144, 17, 146}));

    const PieGeometry geometry = pieSectors(slices);
    ASSERT_EQ(geometry.sectors.size(), 2U);
    EXPECT_DOUBLE_EQ(geometry.sectors[0].end, 240);
    EXPECT_DOUBLE_EQ(geometry.sectors[1].start, 240);
    EXPECT_DOUBLE_EQ(geometry.sectors[1].end, 360);
    EXPECT_DOUBLE_EQ(geometry.greyStart, 360);
}

TEST(PieChart, SlicesBeyondTheTenthAreGreyAndDrawnAsTheRemainder)
{
    std::vector<std::string> names;
    for (char name = 'a'; name <= 'k'; ++name)
        names.emplace_back(1, name);
    const std::vector<RXDiaObj> slices = makegraficoOfNames(viewsOf(names));
    ASSERT_EQ(slices.size(), 11U);
    for (std::size_t position = 0; position < 10; ++position) {
        EXPECT_EQ(slices[position].theName, names[position]) << "equal counts keep their first-seen order";
        EXPECT_EQ(slices[position].colorIndex, static_cast<int>(position) + 1);
    }
    EXPECT_EQ(slices[10].colorIndex, greyColorIndex);
    EXPECT_EQ(slices[10].theColor, pieGrey);

    const PieGeometry geometry = pieSectors(slices);
    ASSERT_EQ(geometry.sectors.size(), 10U);
    EXPECT_NEAR(geometry.sectors[3].end - geometry.sectors[3].start, 360.0 / 11, 1e-9);
    EXPECT_NEAR(geometry.greyStart, 3600.0 / 11, 1e-9);
    EXPECT_DOUBLE_EQ(geometry.greyEnd, 360);
}

TEST(PieChart, NoNamesGiveAFullGreyDisc)
{
    const std::vector<RXDiaObj> slices = makegraficoOfNames({});
    EXPECT_TRUE(slices.empty());
    const PieGeometry geometry = pieSectors(slices);
    EXPECT_TRUE(geometry.sectors.empty());
    EXPECT_DOUBLE_EQ(geometry.greyStart, 0);
    EXPECT_DOUBLE_EQ(geometry.greyEnd, 360);
}

TEST(PieChart, PaletteHasNoColourBelowOneAndGreyAboveTen)
{
    EXPECT_FALSE(colori10(0).has_value());
    EXPECT_FALSE(colori10(-3).has_value());
    EXPECT_EQ(colori10(10), (Rgb{81, 253, 254}));
    EXPECT_EQ(colori10(11), pieGrey);
    EXPECT_EQ(colori10(100), pieGrey);
}
