#include "sim/LogLineGenerator.h"

#include "SimTestSupport.h"
#include "text/DecimalText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <set>

namespace rovex {
namespace {

using simtest::layoutProblem;
using simtest::pfFields;

TEST(LogLineGenerator, RepeatsItsLinesForASeedFromDistinctPublicHosts)
{
    LogLineGenerator first(42, 2000);
    LogLineGenerator second(42, 2000);
    LogLineGenerator other(43, 2000);
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
    const std::vector<std::string>& remotes = first.remoteAddresses();
    EXPECT_EQ(std::set<std::string>(remotes.begin(), remotes.end()).size(), 2000u);
    EXPECT_TRUE(std::any_of(remotes.begin(), remotes.end(),
                            [](const std::string& a) { return a.find(':') != std::string::npos; }));
    // A remote host from a private or loopback range would look local.
    for (const std::string& address : remotes)
        EXPECT_FALSE(address.starts_with("10.") || address.starts_with("192.168.") || address.starts_with("127."))
            << address;
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

std::chrono::system_clock::time_point localTime(const char* text, int micros)
{
    std::tm local{};
    EXPECT_NE(strptime(text, "%Y-%m-%d %H:%M:%S", &local), nullptr) << text;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::microseconds(micros);
}

TEST(LogLineGenerator, HeaderCarriesTheGivenTimeAndHost)
{
    LogLineGenerator generator(1, 10);
    generator.setTime(localTime("2024-12-06 09:05:03", 250));
    std::string line = generator.next();
    // A one-digit day is padded with a space, which the viewer's field rule takes out.
    EXPECT_TRUE(line.starts_with("Dec  6 09:05:03 rovex-mac pf: 09:05:03.")) << line;

    generator.setHostName("fw");
    generator.setTime(localTime("2024-12-16 23:59:59", 999990));
    line = generator.next();
    EXPECT_TRUE(line.starts_with("Dec 16 23:59:59 fw pf: 23:59:59.999")) << line;
    EXPECT_EQ(pfFields(line)[3], "fw");
}

} // namespace
} // namespace rovex
