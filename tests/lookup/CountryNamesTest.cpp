#include "lookup/CountryNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

using rovex::countryName;
using rovex::countryNames;

TEST(CountryNames, TableHoldsTheListedRowsInOrder)
{
    const auto table = countryNames();
    ASSERT_EQ(table.size(), 251u);
    EXPECT_EQ(table.front().code, "AD");
    EXPECT_EQ(table.front().name, "Andorra");
    // The ISO codes come in alphabetical order, EU and ZZ are appended at the end.
    EXPECT_EQ(table[249].code, "EU");
    EXPECT_EQ(table[249].name, "European Union");
    EXPECT_EQ(table[250].code, "ZZ");
    EXPECT_EQ(table[250].name, "Unknown");
    EXPECT_EQ(table[248].code, "ZW");
    EXPECT_TRUE(std::is_sorted(table.begin(), table.begin() + 249,
        [](const auto& a, const auto& b) { return a.code < b.code; }));

    std::set<std::string_view> codes;
    for (const auto& row : table) {
        EXPECT_TRUE(codes.insert(row.code).second) << "twice: " << row.code;
        ASSERT_EQ(row.code.size(), 2u);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(row.code[0])) &&
                    std::isupper(static_cast<unsigned char>(row.code[1]))) << row.code;
        EXPECT_FALSE(row.name.empty());
        for (const char c : row.name)
            EXPECT_TRUE(c >= ' ' && c <= '~' && c != ',') << row.name;
    }
}

TEST(CountryNames, SpellingsAsListed)
{
    EXPECT_EQ(countryName("CD"), "Congo DPR");
    EXPECT_EQ(countryName("CG"), "Congo");
    EXPECT_EQ(countryName("KP"), "Korea DPR");
    EXPECT_EQ(countryName("KR"), "Korea");
    EXPECT_EQ(countryName("CI"), "Cote d Ivoire");
    EXPECT_EQ(countryName("GW"), "Guinea-Bissau");
    EXPECT_EQ(countryName("TL"), "Timor-Leste");
    EXPECT_EQ(countryName("FK"), "Falkland Islands Malvinas");
    EXPECT_EQ(countryName("EU"), "European Union");
    EXPECT_EQ(countryName("ZZ"), "Unknown");
}

TEST(CountryNames, LooksCodesUpUpperCased)
{
    EXPECT_EQ(countryName("it"), "Italy");
    EXPECT_EQ(countryName("IT"), "Italy");
    EXPECT_EQ(countryName("iT"), "Italy");
    EXPECT_EQ(countryName("zz"), "Unknown");
    EXPECT_EQ(countryName("eu"), "European Union");
    // Every row is reachable through its lower-case code, the form the file names use.
    for (const auto& row : countryNames()) {
        std::string lower(row.code);
        for (char& c : lower)
            c = static_cast<char>(c - 'A' + 'a');
        EXPECT_EQ(countryName(lower), row.name) << lower;
    }
}

TEST(CountryNames, UnknownCodesHaveNoName)
{
    for (const char* code : {"xk", "XK", "", "I", "ITA", "it ", "i1", "@T", "[t", "`t", "{t"})
        EXPECT_FALSE(countryName(code).has_value()) << '"' << code << '"';
    EXPECT_FALSE(countryName(std::string_view("I\0", 2)).has_value());
}
