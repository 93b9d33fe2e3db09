#pragma once

#include "sim/SimPacket.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace rovex {

// What other layouts print of a packet beyond its endpoints, read from the details that
// tcpdump printed for it in the product line.

// The number after the first `label` in the details ("seq " in "Flags [S], seq 42"), if any.
std::optional<std::uint64_t> detailNumber(const SimPacket& packet, std::string_view label);
// The bytes of data above the transport header: tcpdump's last "length N", or for a
// protocol it decodes without one (DNS, NetBIOS) the size of its summary.
std::uint32_t dataLength(const SimPacket& packet);
// IPv4's total length, or IPv6's payload length.
std::uint32_t ipLength(const SimPacket& packet);
// The IP protocol number: 6, 17, 1, or 58 for ICMPv6.
std::uint32_t protocolNumber(const SimPacket& packet);
// The name the ICMP and -v headers print: "TCP", "UDP", "ICMP" or "ICMPv6".
std::string_view protocolName(const SimPacket& packet);

} // namespace rovex
