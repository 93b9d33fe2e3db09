#include "sim/RemoteAddressPool.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

namespace rovex {

namespace {

struct Ipv4Range {
    std::uint32_t network;
    int prefix;
};

constexpr std::uint32_t ipv4(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}

constexpr std::array<Ipv4Range, 14> nonPublicRanges{{
    {ipv4(0, 0, 0, 0), 8},
    {ipv4(10, 0, 0, 0), 8},
    {ipv4(100, 64, 0, 0), 10},
    {ipv4(127, 0, 0, 0), 8},
    {ipv4(169, 254, 0, 0), 16},
    {ipv4(172, 16, 0, 0), 12},
    {ipv4(192, 0, 0, 0), 24},
    {ipv4(192, 0, 2, 0), 24},
    {ipv4(192, 88, 99, 0), 24},
    {ipv4(192, 168, 0, 0), 16},
    {ipv4(198, 18, 0, 0), 15},
    {ipv4(198, 51, 100, 0), 24},
    {ipv4(203, 0, 113, 0), 24},
    {ipv4(224, 0, 0, 0), 3},
}};

// Prefixes of large hosting and access networks, where most unsolicited IPv6 comes from.
constexpr std::array<std::string_view, 10> ipv6Prefixes{
    "2a01:4f8",  "2a01:4f9",  "2604:a880", "2a03:b0c0", "2001:41d0",
    "2600:1f18", "2a02:c207", "2400:8901", "2a0e:97c0", "2602:fe90",
};

// About one remote host in twelve speaks IPv6.
constexpr std::uint32_t ipv6Percent = 8;

} // namespace

RemoteAddressPool::RemoteAddressPool(SimRandom& random, std::size_t count) : m_spread(WeightedPicker::zipf(count, 1.0))
{
    m_addresses.reserve(count);
    m_isIPv6.reserve(count);
    std::unordered_set<std::string> seen;
    seen.reserve(count);
    while (m_addresses.size() < count) {
        const bool v6 = random.percent(ipv6Percent);
        std::string address = v6 ? drawIPv6(random) : drawIPv4(random);
        if (!seen.insert(address).second)
            continue;
        m_addresses.push_back(std::move(address));
        m_isIPv6.push_back(v6);
    }
}

bool RemoteAddressPool::isPublicIPv4(std::uint32_t address)
{
    for (const Ipv4Range& range : nonPublicRanges) {
        const std::uint32_t mask = ~std::uint32_t{0} << (32 - range.prefix);
        if ((address & mask) == range.network)
            return false;
    }
    return true;
}

std::string RemoteAddressPool::drawIPv4(SimRandom& random) const
{
    for (;;) {
        const auto address = static_cast<std::uint32_t>(random.next() >> 32);
        const std::uint32_t last = address & 0xFFu;
        if (!isPublicIPv4(address) || last == 0 || last == 255)
            continue;
        char text[16];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFFu, (address >> 8) & 0xFFu,
                      last);
        return text;
    }
}

std::string RemoteAddressPool::drawIPv6(SimRandom& random) const
{
    const std::string_view prefix = ipv6Prefixes[random.below(ipv6Prefixes.size())];
    char text[64];
    // Servers often carry a short interface identifier (canonical "::n"); clients a full
    // 64-bit one. Every group written is non-zero, so the text is the canonical form.
    if (random.percent(40)) {
        std::snprintf(text, sizeof text, "%.*s:%x:%x::%x", static_cast<int>(prefix.size()), prefix.data(),
                      random.between(1, 0xFFFF), random.between(1, 0xFFFF), random.between(1, 0xFF));
    } else {
        std::snprintf(text, sizeof text, "%.*s:%x:%x:%x:%x:%x:%x", static_cast<int>(prefix.size()), prefix.data(),
                      random.between(1, 0xFFFF), random.between(1, 0xFFFF), random.between(1, 0xFFFF),
                      random.between(1, 0xFFFF), random.between(1, 0xFFFF), random.between(1, 0xFFFF));
    }
    return text;
}

} // namespace rovex
