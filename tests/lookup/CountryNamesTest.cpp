#include "lookup/CountryNames.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using rovex::countryName;
using rovex::countryNames;

TEST(CountryNames, TheTableHoldsEachCodeOnceWithAPlainName)
{
    const auto table = countryNames();
    ASSERT_EQ(table.size(), 251u);
    std::set<std::string_view> codes;
    for (const auto& row : table) {
        EXPECT_TRUE(codes.insert(row.code).second) << "twice: " << row.code;
        EXPECT_TRUE(row.code.size() == 2 && std::isupper(static_cast<unsigned char>(row.code[0]))
                    && std::isupper(static_cast<unsigned char>(row.code[1])))
            << row.code;
        EXPECT_FALSE(row.name.empty());
        for (const char c : row.name)
            EXPECT_TRUE(c >= ' ' && c <= '~' && c != ',') << row.name;
    }
}

// Names typed out here from the documented list, not taken from the table: the ends of the
// alphabet, the two codes that are not countries, names whose usual spelling has
// diacritics, commas or words the list leaves out, and hyphens.
TEST(CountryNames, CodesInAnyCaseGiveTheListedNames)
{
    const std::vector<std::pair<std::string_view, std::string_view>> expected{
        {"ad", "Andorra"},           {"zw", "Zimbabwe"},        {"eu", "European Union"},
        {"zz", "Unknown"},           {"ax", "Aland Islands"},   {"ci", "Cote d Ivoire"},
        {"cw", "Curacao"},           {"re", "Reunion"},         {"bl", "Saint Barthelemy"},
        {"st", "Sao Tome Principe"}, {"cd", "Congo DPR"},       {"cg", "Congo"},
        {"kp", "Korea DPR"},         {"kr", "Korea"},           {"fk", "Falkland Islands Malvinas"},
        {"mf", "Saint Martin FR"},   {"sx", "Sint Maarten NL"}, {"vg", "Virgin Islands UK"},
        {"vi", "Virgin Islands US"}, {"gb", "United Kingdom"},  {"um", "United States Islands"},
        {"us", "United States"},     {"gw", "Guinea-Bissau"},   {"tl", "Timor-Leste"},
        {"va", "Vatican City"},      {"it", "Italy"},
    };
    for (const auto& [code, name] : expected) {
        EXPECT_EQ(countryName(code), name) << code;
        const std::string upper{static_cast<char>(std::toupper(code[0])), static_cast<char>(std::toupper(code[1]))};
        EXPECT_EQ(countryName(upper), name) << upper;
    }
    EXPECT_EQ(countryName("iT"), "Italy");
}

TEST(CountryNames, UnknownCodesHaveNoName)
{
    for (const char* code : {"xk", "XK", "", "I", "ITA", "it ", "i1", "@T", "[t", "`t", "{t"})
        EXPECT_FALSE(countryName(code).has_value()) << '"' << code << '"';
    EXPECT_FALSE(countryName(std::string_view("I\0", 2)).has_value());
}
