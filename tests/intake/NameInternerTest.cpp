#include "intake/NameInterner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rovex;

namespace {

// Addresses and ports as the log writes them, with a few longer than the short-key limit.
std::string nameNumber(std::size_t i)
{
    if (i % 97 == 0)
        return "2a01:4f8:c17:" + std::to_string(i) + "::1"; // longer than 16 bytes
    if (i % 5 == 0)
        return std::to_string(i % 65536);
    return std::to_string(i >> 16U) + "." + std::to_string((i >> 8U) & 255U) + "." + std::to_string(i & 255U) + ".9";
}

} // namespace

TEST(NameInternerTest, NumbersNamesInFirstSeenOrderAcrossGrowth)
{
    NameInterner names;
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < 200'000; ++i) {
        const std::string name = nameNumber(i);
        const auto before = names.find(name);
        const NameInterner::Id id = names.intern(name);
        if (!before) {
            EXPECT_EQ(id, seen.size()) << name;
            seen.push_back(name);
        } else {
            EXPECT_EQ(id, *before) << name;
        }
    }
    ASSERT_EQ(names.size(), seen.size());
    for (std::size_t id = 0; id < seen.size(); ++id) {
        ASSERT_EQ(names.name(static_cast<NameInterner::Id>(id)), seen[id]);
        ASSERT_EQ(names.find(seen[id]), id) << seen[id];
        ASSERT_EQ(names.intern(seen[id]), id) << seen[id];
    }
    EXPECT_EQ(names.size(), seen.size()) << "interning a known name adds nothing";
}

TEST(NameInternerTest, TellsApartTextsThatShareTheirBytes)
{
    NameInterner names;
    const std::string sixteen = "203.000.113.0077";
    const std::vector<std::string> texts{"",      std::string(1, '\0'), std::string(2, '\0'), "1", "10", "1.1.1.1",
                                         sixteen, sixteen + "7",        sixteen.substr(0, 15)};
    for (const std::string& text : texts)
        names.intern(text);
    ASSERT_EQ(names.size(), texts.size());
    for (std::size_t id = 0; id < texts.size(); ++id) {
        EXPECT_EQ(names.find(texts[id]), id);
        EXPECT_EQ(names.name(static_cast<NameInterner::Id>(id)), texts[id]);
    }
    EXPECT_FALSE(names.find("1.1.1.2"));
    EXPECT_FALSE(names.find(sixteen + "8"));
}

TEST(NameInternerTest, ClearForgetsEveryNameAndNumbersAgainFromZero)
{
    NameInterner names;
    for (std::size_t i = 0; i < 5'000; ++i)
        names.intern(nameNumber(i));
    names.clear();
    EXPECT_EQ(names.size(), 0U);
    EXPECT_FALSE(names.find(nameNumber(1)));
    EXPECT_FALSE(names.find(nameNumber(97)));
    EXPECT_EQ(names.intern(nameNumber(4'999)), 0U);
    EXPECT_EQ(names.intern(nameNumber(97)), 1U);
    EXPECT_EQ(names.find(nameNumber(4'999)), 0U);
}
