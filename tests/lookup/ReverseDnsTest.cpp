#include "lookup/ReverseDns.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

// The first name the system's host database gives for the address, as getent prints it.
std::string getentName(const std::string& address)
{
    FILE* pipe = ::popen(("getent hosts " + address).c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::array<char, 1024> line{};
    const bool read = std::fgets(line.data(), static_cast<int>(line.size()), pipe) != nullptr;
    ::pclose(pipe);
    std::istringstream fields(read ? line.data() : "");
    std::string numeric;
    std::string name;
    fields >> numeric >> name;
    return name;
}

} // namespace

TEST(ReverseDns, LoopbackHasTheSystemsName)
{
    const std::string expected = getentName("127.0.0.1");
    ASSERT_FALSE(expected.empty()) << "getent knows no name for 127.0.0.1";
    EXPECT_EQ(rovex::reverseLookup("127.0.0.1"), expected);
}

TEST(ReverseDns, OnlyNumericAddressesAreLookedUp)
{
    // "localhost" resolves forwards to 127.0.0.1, whose name a careless lookup would give.
    for (const char* text : {"localhost", "not-an-address", "", "127.0.0.1 ", " 127.0.0.1", "127.0.0.1/8", "999.0.0.1",
                             "-127.0.0.1", "127.0.0.1\n"})
        EXPECT_EQ(rovex::reverseLookup(text), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(rovex::reverseLookup(std::string_view("127.0.0.1\0evil", 14)), std::nullopt);
}
