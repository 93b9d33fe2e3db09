#include "sim/LogLineGenerator.h"

#include "SimTestSupport.h"
#include "text/DecimalText.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <ctime>
#include <set>

namespace rovex {
namespace {

using simtest::layoutProblem;
using simtest::pfFields;

// The ranges a remote host must never come from: it would look local to the viewer.
bool isLocalOrSpecialIPv4(const std::string& text)
{
    in_addr address{};
    EXPECT_EQ(inet_pton(AF_INET, text.c_str(), &address), 1) << text;
    const std::uint32_t a = ntohl(address.s_addr);
    const unsigned first = a >> 24;
    const unsigned second = (a >> 16) & 0xFFu;
    return first == 0 || first == 10 || first == 127 || first >= 224 || (first == 169 && second == 254)
           || (first == 172 && (second & 0xF0u) == 16) || (first == 192 && second == 168);
}

TEST(LogLineGenerator, RepeatsItsLinesForASeed)
{
    LogLineGenerator first(42, 300);
    LogLineGenerator second(42, 300);
    LogLineGenerator other(43, 300);
    bool anyDifferent = false;
    std::string appended;
    for (int i = 0; i < 2000; ++i) {
        const std::string line = first.next();
        appended.clear();
        second.appendLine(appended);
        ASSERT_EQ(line, appended) << "line " << i;
        anyDifferent = anyDifferent || other.next() != line;
    }
    EXPECT_TRUE(anyDifferent);
    EXPECT_EQ(LogLineGenerator(42, 300).remoteAddresses(), first.remoteAddresses());
    EXPECT_NE(other.remoteAddresses(), first.remoteAddresses());
}

TEST(LogLineGenerator, DrawsDistinctPublicRemoteHosts)
{
    const LogLineGenerator generator(7, 2000);
    const std::vector<std::string>& remotes = generator.remoteAddresses();
    ASSERT_EQ(remotes.size(), 2000u);
    EXPECT_EQ(std::set<std::string>(remotes.begin(), remotes.end()).size(), 2000u);
    std::size_t ipv6 = 0;
    for (const std::string& address : remotes) {
        in6_addr parsed{};
        if (address.find(':') == std::string::npos) {
            EXPECT_FALSE(isLocalOrSpecialIPv4(address)) << address;
            continue;
        }
        EXPECT_EQ(inet_pton(AF_INET6, address.c_str(), &parsed), 1) << address;
        ++ipv6;
    }
    EXPECT_GT(ipv6, 0u);
}

// Every line fits the layout, and every road through the viewer's classifier is taken.
TEST(LogLineGenerator, WritesLinesOfEveryKindTheViewerReads)
{
    LogLineGenerator generator(5, 5000);
    std::set<std::string> seen;
    for (int i = 0; i < 20000; ++i) {
        const std::string line = generator.next();
        ASSERT_EQ(layoutProblem(line), "") << line;
        const std::vector<std::string> f = pfFields(line);
        seen.insert(f[8] + " " + f[9]);
        if (f[12] == "0.0.0.0.68")
            seen.insert("DHCP"); // a source the viewer leaves out
        if (f.size() > 15 && f[15].starts_with("ICMP")) {
            seen.insert("ICMP");
            continue;
        }
        const std::string_view destination(f[14]);
        const std::size_t portDot = destination.rfind('.');
        if (destination.find(':') < portDot)
            seen.insert("IPv6");
        // The port must pass the viewer's range gate: a decimal from 1 to 65535.
        const auto port = readDecimal(destination.substr(portDot + 1, destination.size() - portDot - 2));
        ASSERT_TRUE(port && *port >= 1 && *port <= 65535) << line;
    }
    EXPECT_EQ(seen, (std::set<std::string>{"DHCP", "ICMP", "IPv6", "block in", "block out", "pass in", "pass out"}));
}

std::chrono::system_clock::time_point localTime(int day, int hour, int minute, int second, int micros)
{
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 11;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::microseconds(micros);
}

TEST(LogLineGenerator, HeaderCarriesTheGivenTimeAndHost)
{
    LogLineGenerator generator(1, 10);
    generator.setTime(localTime(6, 9, 5, 3, 250));
    std::string line = generator.next();
    // A one-digit day is padded with a space, which the viewer's field rule takes out.
    EXPECT_TRUE(line.starts_with("Dec  6 09:05:03 rovex-mac pf: 09:05:03.")) << line;

    generator.setHostName("fw");
    generator.setTime(localTime(16, 23, 59, 59, 999990));
    line = generator.next();
    EXPECT_TRUE(line.starts_with("Dec 16 23:59:59 fw pf: 23:59:59.999")) << line;
    EXPECT_EQ(pfFields(line)[3], "fw");
}

} // namespace
} // namespace rovex
