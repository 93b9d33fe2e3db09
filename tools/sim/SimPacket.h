#pragma once

#include <cstdint>
#include <string_view>

namespace rovex {

enum class SimProtocol : unsigned char { Tcp, Udp, Icmp };

// One generated packet, as the product line that LogLineGenerator wrote for it and the
// facts behind that line, so that other layouts can be written of the same packet. The
// views are valid while the line's text and the generator live.
struct SimPacket {
    std::int64_t second = 0; // the header's time, seconds since the epoch
    std::uint32_t micros = 0;
    std::uint32_t rule = 0;
    std::string_view action;
    std::string_view direction;
    std::string_view interfaceName;
    std::string_view sourceAddress;
    std::string_view destinationAddress;
    std::uint32_t sourcePort = 0; // both 0 for ICMP
    std::uint32_t destinationPort = 0;
    SimProtocol protocol = SimProtocol::Udp;
    bool ipv6 = false;

    std::string_view line;      // the whole product line
    std::string_view ruleText;  // "rule N/0(match): ..." to the end: tcpdump's text after its time
    std::string_view endpoints; // "SRC > DST: details", after "on IFACE: "
    std::string_view details;   // tcpdump's protocol details after the endpoints
};

} // namespace rovex
