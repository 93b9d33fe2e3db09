#pragma once

#include "sim/RemoteAddressPool.h"
#include "sim/SimPacket.h"
#include "sim/SimRandom.h"
#include "sim/WeightedPicker.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rovex {

// Writes pf log lines as the firewall product logs them:
//   Dec  6 09:35:10 host pf: 09:35:10.123456 rule 3/0(match): block in on en0: SRC > DST: details
// (action at field 8 once runs of two to four spaces are collapsed). The mix follows what
// a desktop behind pf sees: mostly blocked inbound probes of common services from many
// public hosts, some passed inbound and outbound traffic, ICMP, DHCP, mDNS, SSDP and
// broadcasts. The sequence depends only on the seed and the address count; the time in
// the header is the one last given to setTime (a fixed instant until then).
class LogLineGenerator final {
public:
    LogLineGenerator(std::uint64_t seed, std::size_t remoteAddressCount);

    void setTime(std::chrono::system_clock::time_point now);
    void setHostName(std::string hostName);

    // One line without its "\n".
    std::string next();
    // Appends one line without its "\n"; the fast path for batches.
    void appendLine(std::string& out);
    // The same, and describes the packet behind the line, with views into `out`.
    void appendLine(std::string& out, SimPacket& packet);

    // The distinct remote hosts the lines draw from, most frequent first.
    const std::vector<std::string>& remoteAddresses() const { return m_remotes.addresses(); }

private:
    struct Endpoint {
        std::string_view address;
        std::uint32_t port;
    };
    struct Interface {
        std::string_view name;
        std::string_view ipv4;
        std::string_view ipv6;
    };

    void rebuildHeaderPrefix(std::int64_t second);
    void appendHeader(std::string& out, std::string_view action, std::string_view direction,
                      std::string_view interfaceName);
    void appendEndpoints(std::string& out, Endpoint source, Endpoint destination);
    void appendBareEndpoints(std::string& out, std::string_view source, std::string_view destination);
    void appendTcpDetails(std::string& out, bool synOnly);
    const Interface& pickInterface();

    void appendInboundProbe(std::string& out, bool udp);
    void appendInboundEcho(std::string& out);
    void appendPassedInbound(std::string& out);
    void appendOutbound(std::string& out, std::string_view action, bool udp);
    void appendDnsQuery(std::string& out);
    void appendNtpQuery(std::string& out);
    void appendOutboundEcho(std::string& out);
    void appendDhcpRequest(std::string& out);
    void appendMulticastDns(std::string& out, bool ipv6);
    void appendSsdp(std::string& out);
    void appendBroadcast(std::string& out);
    void appendLoopback(std::string& out);

    SimRandom m_random;
    RemoteAddressPool m_remotes;
    WeightedPicker m_kinds;
    WeightedPicker m_inboundTcpPorts;
    WeightedPicker m_inboundUdpPorts;
    WeightedPicker m_outboundTcpPorts;
    WeightedPicker m_blockedTcpPorts;
    WeightedPicker m_blockedUdpPorts;
    std::string m_hostName = "rovex-mac";
    std::string m_headerPrefix; // "Dec  6 09:35:10 host pf: 09:35:10."
    std::int64_t m_headerSecond = -1;
    std::uint32_t m_micros = 0;
    // The last line's packet, and where its pieces start in the text it was appended to.
    SimPacket m_packet;
    std::size_t m_ruleAt = 0;
    std::size_t m_endpointsAt = 0;
    std::size_t m_detailsAt = 0;
};

} // namespace rovex
