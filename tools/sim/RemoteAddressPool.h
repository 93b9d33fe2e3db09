#pragma once

#include "sim/SimRandom.h"
#include "sim/WeightedPicker.h"

#include <cstddef>
#include <string>
#include <vector>

namespace rovex {

// The distinct remote hosts of a simulated log: public IPv4 addresses spread over the whole
// routable space and some IPv6 addresses in real allocations, drawn once from the seed and
// then picked with a Zipf-like spread, so that a few hosts send most of the traffic.
class RemoteAddressPool final {
public:
    RemoteAddressPool(SimRandom& random, std::size_t count);

    std::size_t pick(SimRandom& random) const { return m_spread.pick(random); }
    const std::string& text(std::size_t index) const { return m_addresses[index]; }
    bool isIPv6(std::size_t index) const { return index < m_isIPv6.size() && m_isIPv6[index]; }
    // Ordered from the most frequent to the least frequent.
    const std::vector<std::string>& addresses() const { return m_addresses; }

    // True for an IPv4 address that routes on the public internet (no private, loopback,
    // link-local, shared, documentation, benchmark, multicast or reserved range).
    static bool isPublicIPv4(std::uint32_t address);

private:
    std::string drawIPv4(SimRandom& random) const;
    std::string drawIPv6(SimRandom& random) const;

    std::vector<std::string> m_addresses;
    std::vector<bool> m_isIPv6;
    WeightedPicker m_spread;
};

} // namespace rovex
