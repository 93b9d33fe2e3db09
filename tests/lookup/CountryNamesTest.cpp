#include "lookup/CountryNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using rovex::countryName;
using rovex::countryNames;

TEST(CountryNames, EveryRowIsFoundByItsCodeInAnyCase)
{
    const auto table = countryNames();
    ASSERT_EQ(table.size(), 251u);
    std::set<std::string_view> codes;
    for (const auto& row : table) {
        EXPECT_TRUE(codes.insert(row.code).second) << "twice: " << row.code;
        EXPECT_FALSE(row.name.empty());
        for (const char c : row.name)
            EXPECT_TRUE(c >= ' ' && c <= '~' && c != ',') << row.name;
        // The lower-case code is the form the database file names use.
        std::string lower(row.code);
        for (char& c : lower)
            c = static_cast<char>(c - 'A' + 'a');
        EXPECT_EQ(countryName(lower), row.name) << lower;
    }
    EXPECT_EQ(countryName("IT"), "Italy");
    EXPECT_EQ(countryName("iT"), "Italy");
    EXPECT_EQ(countryName("zz"), "Unknown");
    EXPECT_EQ(countryName("eu"), "European Union");
}

TEST(CountryNames, UnknownCodesHaveNoName)
{
    for (const char* code : {"xk", "XK", "", "I", "ITA", "it ", "i1", "@T", "[t", "`t", "{t"})
        EXPECT_FALSE(countryName(code).has_value()) << '"' << code << '"';
    EXPECT_FALSE(countryName(std::string_view("I\0", 2)).has_value());
}
