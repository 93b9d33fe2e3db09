#include "sim/LogLineGenerator.h"

#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <set>

namespace rovex {
namespace {

using simtest::layoutProblem;
using simtest::pfFields;

// Address part of an endpoint field by the viewer's rule: five pieces at "." are IPv4 with
// a port, two are IPv6 with a port; ICMP lines carry bare addresses.
std::string addressOf(std::string endpoint)
{
    if (endpoint.ends_with(':'))
        endpoint.pop_back();
    const auto dots = std::count(endpoint.begin(), endpoint.end(), '.');
    if (dots == 4 || dots == 1)
        return endpoint.substr(0, endpoint.rfind('.'));
    return endpoint;
}

bool isPublicIPv4(const std::string& text)
{
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1)
        return false;
    const std::uint32_t a = ntohl(address.s_addr);
    const unsigned first = a >> 24;
    const unsigned second = (a >> 16) & 0xFFu;
    const std::uint32_t slash24 = a >> 8;
    return first != 0 && first != 10 && first != 127 && first < 224 && !(first == 100 && (second & 0xC0u) == 64)
           && !(first == 169 && second == 254) && !(first == 172 && (second & 0xF0u) == 16)
           && !(first == 192 && second == 168) && !(first == 198 && (second & 0xFEu) == 18)
           && slash24 != 0xC00002u && slash24 != 0xC63364u && slash24 != 0xCB0071u;
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
        if (address.find(':') != std::string::npos) {
            in6_addr parsed{};
            EXPECT_EQ(inet_pton(AF_INET6, address.c_str(), &parsed), 1) << address;
            EXPECT_FALSE(address.starts_with("2001:db8")) << address;
            ++ipv6;
        } else {
            EXPECT_TRUE(isPublicIPv4(address)) << address;
        }
    }
    EXPECT_GT(ipv6, 40u);
    EXPECT_LT(ipv6, 400u);
}

TEST(LogLineGenerator, SpreadsTrafficOverAllRemoteHostsWithALongTail)
{
    LogLineGenerator generator(11, 40);
    const std::set<std::string> pool(generator.remoteAddresses().begin(), generator.remoteAddresses().end());
    std::map<std::string, int> remoteCounts;
    std::set<std::string> others;
    for (int i = 0; i < 40000; ++i) {
        const std::vector<std::string> fields = pfFields(generator.next());
        for (const std::size_t at : {std::size_t{12}, std::size_t{14}}) {
            const std::string address = addressOf(fields[at]);
            if (pool.contains(address))
                ++remoteCounts[address];
            else
                others.insert(address);
        }
    }
    // Every remote host shows up, and the busiest sends far more than a typical one.
    ASSERT_EQ(remoteCounts.size(), 40u);
    std::vector<int> counts;
    for (const auto& [address, count] : remoteCounts)
        counts.push_back(count);
    std::sort(counts.begin(), counts.end());
    EXPECT_GT(counts.at(39), 5 * counts.at(20));
    // Beside them only the machine's own, LAN, multicast and resolver addresses appear.
    EXPECT_LT(others.size(), 40u);
}

TEST(LogLineGenerator, WritesTheLogLayoutWithARealisticMix)
{
    LogLineGenerator generator(5, 5000);
    std::map<std::string, int> actions;
    std::set<std::string> interfaces;
    std::set<std::string> destinations;
    std::set<int> ports;
    int icmp = 0;
    constexpr int lineCount = 20000;
    for (int i = 0; i < lineCount; ++i) {
        const std::string line = generator.next();
        ASSERT_EQ(layoutProblem(line), "") << line;
        const std::vector<std::string> f = pfFields(line);
        ++actions[f[8] + " " + f[9]];
        interfaces.insert(f[11]);
        destinations.insert(f[14]);
        icmp += f[15].starts_with("ICMP") ? 1 : 0;
        if (f[12] == "0.0.0.0.68")
            destinations.insert("DHCP " + f[14]);
        const std::string port = f[14].substr(f[14].rfind('.') + 1);
        if (!f[15].starts_with("ICMP"))
            ports.insert(std::stoi(port.substr(0, port.size() - 1)));
    }
    EXPECT_GT(actions["block in"], lineCount * 6 / 10);
    EXPECT_GT(actions["pass out"], lineCount / 10);
    EXPECT_GT(actions["pass in"], 0);
    EXPECT_GT(actions["block out"], 0);
    EXPECT_EQ(interfaces, (std::set<std::string>{"en0:", "en1:", "utun2:", "lo0:"}));
    EXPECT_GT(icmp, 0);
    for (const char* expected : {"DHCP 255.255.255.255.67:", "224.0.0.251.5353:", "ff02::fb.5353:",
                                 "239.255.255.250.1900:", "192.168.1.255.137:"})
        EXPECT_TRUE(destinations.contains(expected)) << expected;
    for (const int port : {22, 23, 25, 53, 80, 123, 443, 445, 3389, 5353, 8080})
        EXPECT_TRUE(ports.contains(port)) << port;
    EXPECT_TRUE(std::any_of(ports.begin(), ports.end(), [](int p) { return p > 6000 && p <= 6063; }));
    EXPECT_GT(std::count_if(ports.begin(), ports.end(), [](int p) { return p >= 49152; }), 100);
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
    EXPECT_TRUE(line.starts_with("Dec  6 09:05:03 rovex-mac pf: 09:05:03.")) << line;
    const std::string micros = line.substr(39, 6);
    EXPECT_GT(std::stoi(micros), 250) << line;
    EXPECT_EQ(line[45], ' ') << line;

    generator.setHostName("fw");
    generator.setTime(localTime(16, 23, 59, 59, 999990));
    line = generator.next();
    EXPECT_TRUE(line.starts_with("Dec 16 23:59:59 fw pf: 23:59:59.999")) << line;
    EXPECT_EQ(pfFields(line)[3], "fw");
}

} // namespace
} // namespace rovex
