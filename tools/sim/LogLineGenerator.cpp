#include "sim/LogLineGenerator.h"

#include "sim/SimText.h"

#include <array>
#include <charconv>
#include <ctime>
#include <span>

namespace rovex {

namespace {

enum class LineKind {
    tcpProbeIn,
    udpProbeIn,
    echoIn,
    dhcpRequest,
    multicastDnsV4,
    multicastDnsV6,
    ssdp,
    broadcast,
    passedIn,
    tcpOut,
    dnsOut,
    ntpOut,
    echoOut,
    tcpBlockedOut,
    udpBlockedOut,
    loopback,
};

// Per mille of the lines; about seven in ten are blocked inbound.
constexpr std::array<double, 16> kindWeights{
    520, 70, 35, 15, 35, 15, 20, 15, 55, 120, 40, 10, 5, 35, 10, 10,
};

struct PortChoice {
    std::uint32_t low;
    std::uint32_t high;
    double weight;
};

// What scanners knock on, with the X11 block, the dynamic range and any other port.
constexpr std::array<PortChoice, 23> inboundTcpPorts{{
    {22, 22, 120},    {23, 23, 60},     {80, 80, 70},     {443, 443, 60},    {445, 445, 55},     {3389, 3389, 50},
    {8080, 8080, 35}, {25, 25, 20},     {21, 21, 15},     {53, 53, 10},      {123, 123, 5},      {135, 135, 15},
    {139, 139, 15},   {1433, 1433, 20}, {3306, 3306, 15}, {5900, 5900, 20},  {6379, 6379, 10},   {8443, 8443, 15},
    {8888, 8888, 8},  {5060, 5060, 10}, {6000, 6063, 20}, {1024, 65535, 80}, {49152, 65535, 30},
}};
constexpr std::array<PortChoice, 10> inboundUdpPorts{{
    {53, 53, 20},
    {123, 123, 15},
    {161, 161, 15},
    {1900, 1900, 10},
    {5060, 5060, 15},
    {137, 137, 10},
    {500, 500, 8},
    {11211, 11211, 5},
    {3478, 3478, 5},
    {1024, 65535, 20},
}};
constexpr std::array<PortChoice, 6> outboundTcpPorts{{
    {443, 443, 70},
    {80, 80, 20},
    {993, 993, 4},
    {5223, 5223, 6},
    {22, 22, 3},
    {8443, 8443, 2},
}};
constexpr std::array<PortChoice, 5> blockedTcpPorts{{
    {25, 25, 30},
    {6667, 6667, 10},
    {23, 23, 10},
    {445, 445, 15},
    {1024, 65535, 35},
}};
constexpr std::array<PortChoice, 5> blockedUdpPorts{{
    {3478, 3478, 30},
    {5060, 5060, 20},
    {1900, 1900, 10},
    {137, 137, 10},
    {1024, 65535, 30},
}};
// Ports a desktop really serves, for the passed inbound lines.
constexpr std::array<std::uint32_t, 5> servedPorts{22, 80, 443, 443, 3389};

constexpr std::array<std::string_view, 12> monthNames{
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec",
};

constexpr std::array<std::string_view, 6> lanNeighbours{
    "192.168.1.1", "192.168.1.5", "192.168.1.17", "192.168.1.33", "192.168.1.42", "192.168.1.101",
};
constexpr std::array<std::string_view, 3> linkLocalNeighbours{
    "fe80::1c2a:3bff:fe4d:5e6f",
    "fe80::8e85:90ff:fe12:3456",
    "fe80::1830:c1cb:581e:8fa5",
};
constexpr std::array<std::string_view, 4> resolvers{"192.168.1.1", "1.1.1.1", "9.9.9.9", "8.8.8.8"};
constexpr std::array<std::string_view, 6> queriedNames{
    "gateway.icloud.com.", "api.github.com.",           "www.debian.org.",
    "time.apple.com.",     "update.rovexfirewall.com.", "mail.example.net.",
};
constexpr std::array<std::string_view, 4> multicastDnsQueries{
    "0 PTR (QM)? _airplay._tcp.local. (38)",
    "0 [2q] PTR (QM)? _companion-link._tcp.local. PTR (QM)? _raop._tcp.local. (70)",
    "0 PTR (QM)? _googlecast._tcp.local. (40)",
    "0*- [0q] 1/0/0 (Cache flush) TXT \"rpBA=4E:12:9A:3C:7B:01\" (120)",
};
constexpr std::array<std::uint32_t, 4> probeWindows{1024, 29200, 64240, 65535};

std::vector<double> weightsOf(std::span<const PortChoice> choices)
{
    std::vector<double> weights;
    weights.reserve(choices.size());
    for (const PortChoice& choice : choices)
        weights.push_back(choice.weight);
    return weights;
}

template <typename T, std::size_t N>
const T& anyOf(const std::array<T, N>& items, SimRandom& random)
{
    return items[random.below(static_cast<std::uint32_t>(N))];
}

std::uint32_t portFrom(std::span<const PortChoice> choices, const WeightedPicker& picker, SimRandom& random)
{
    const PortChoice& choice = choices[picker.pick(random)];
    return random.between(choice.low, choice.high);
}

// An instant with a one-digit day, so that a fresh generator already shows the padded day.
constexpr std::chrono::seconds defaultTime{1733477710};

} // namespace

LogLineGenerator::LogLineGenerator(std::uint64_t seed, std::size_t remoteAddressCount)
    : m_random(seed),
      m_remotes(m_random, remoteAddressCount),
      m_kinds(std::vector<double>(kindWeights.begin(), kindWeights.end())),
      m_inboundTcpPorts(weightsOf(inboundTcpPorts)),
      m_inboundUdpPorts(weightsOf(inboundUdpPorts)),
      m_outboundTcpPorts(weightsOf(outboundTcpPorts)),
      m_blockedTcpPorts(weightsOf(blockedTcpPorts)),
      m_blockedUdpPorts(weightsOf(blockedUdpPorts))
{
    setTime(std::chrono::system_clock::time_point(defaultTime));
}

void LogLineGenerator::setTime(std::chrono::system_clock::time_point now)
{
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch());
    const std::int64_t second = sinceEpoch.count() / 1000000;
    m_micros = static_cast<std::uint32_t>(sinceEpoch.count() % 1000000);
    if (second != m_headerSecond)
        rebuildHeaderPrefix(second);
}

void LogLineGenerator::setHostName(std::string hostName)
{
    m_hostName = std::move(hostName);
    rebuildHeaderPrefix(m_headerSecond);
}

std::string LogLineGenerator::next()
{
    std::string line;
    appendLine(line);
    return line;
}

void LogLineGenerator::appendLine(std::string& out)
{
    switch (static_cast<LineKind>(m_kinds.pick(m_random))) {
    case LineKind::tcpProbeIn: return appendInboundProbe(out, false);
    case LineKind::udpProbeIn: return appendInboundProbe(out, true);
    case LineKind::echoIn: return appendInboundEcho(out);
    case LineKind::dhcpRequest: return appendDhcpRequest(out);
    case LineKind::multicastDnsV4: return appendMulticastDns(out, false);
    case LineKind::multicastDnsV6: return appendMulticastDns(out, true);
    case LineKind::ssdp: return appendSsdp(out);
    case LineKind::broadcast: return appendBroadcast(out);
    case LineKind::passedIn: return appendPassedInbound(out);
    case LineKind::tcpOut: return appendOutbound(out, "pass", false);
    case LineKind::dnsOut: return appendDnsQuery(out);
    case LineKind::ntpOut: return appendNtpQuery(out);
    case LineKind::echoOut: return appendOutboundEcho(out);
    case LineKind::tcpBlockedOut: return appendOutbound(out, "block", false);
    case LineKind::udpBlockedOut: return appendOutbound(out, "block", true);
    case LineKind::loopback: return appendLoopback(out);
    }
}

void LogLineGenerator::appendLine(std::string& out, SimPacket& packet)
{
    const std::size_t lineAt = out.size();
    appendLine(out);
    packet = m_packet;
    packet.line = std::string_view(out).substr(lineAt);
    packet.ruleText = std::string_view(out).substr(m_ruleAt);
    packet.endpoints = std::string_view(out).substr(m_endpointsAt);
    packet.details = std::string_view(out).substr(m_detailsAt);
}

void LogLineGenerator::rebuildHeaderPrefix(std::int64_t second)
{
    m_headerSecond = second;
    const auto seconds = static_cast<std::time_t>(second);
    std::tm local{};
    localtime_r(&seconds, &local);

    // Syslog pads a one-digit day with a space: "Dec  6".
    m_headerPrefix.assign(monthNames[static_cast<std::size_t>(local.tm_mon)]);
    m_headerPrefix.push_back(' ');
    m_headerPrefix.push_back(local.tm_mday < 10 ? ' ' : static_cast<char>('0' + local.tm_mday / 10));
    m_headerPrefix.push_back(static_cast<char>('0' + local.tm_mday % 10));
    m_headerPrefix.push_back(' ');
    appendClock(m_headerPrefix, local);
    m_headerPrefix.push_back(' ');
    m_headerPrefix.append(m_hostName);
    m_headerPrefix.append(" pf: ");
    appendClock(m_headerPrefix, local);
    m_headerPrefix.push_back('.');
}

void LogLineGenerator::appendHeader(std::string& out, std::string_view action, std::string_view direction,
                                    std::string_view interfaceName)
{
    // Packets of one batch follow each other by a few microseconds within the second.
    m_micros = std::min<std::uint32_t>(m_micros + m_random.between(1, 20), 999999);
    out.append(m_headerPrefix);
    char micros[8];
    const auto end = std::to_chars(micros, micros + sizeof micros, m_micros + 1000000).ptr;
    out.append(micros + 1, end);
    out.push_back(' ');
    m_ruleAt = out.size();
    const std::uint32_t rule = action == "block" ? m_random.between(2, 4) : m_random.between(5, 7);
    out.append("rule ");
    appendNumber(out, rule);
    out.append("/0(match): ");
    out.append(action);
    out.push_back(' ');
    out.append(direction);
    out.append(" on ");
    out.append(interfaceName);
    out.append(": ");
    m_endpointsAt = out.size();
    m_packet.second = m_headerSecond;
    m_packet.micros = m_micros;
    m_packet.rule = rule;
    m_packet.action = action;
    m_packet.direction = direction;
    m_packet.interfaceName = interfaceName;
}

void LogLineGenerator::appendEndpoints(std::string& out, Endpoint source, Endpoint destination)
{
    m_packet.sourceAddress = source.address;
    m_packet.destinationAddress = destination.address;
    m_packet.sourcePort = source.port;
    m_packet.destinationPort = destination.port;
    m_packet.protocol = SimProtocol::Udp; // until TCP details say otherwise
    m_packet.ipv6 = source.address.find(':') != std::string_view::npos;
    out.append(source.address);
    out.push_back('.');
    appendNumber(out, source.port);
    out.append(" > ");
    out.append(destination.address);
    out.push_back('.');
    appendNumber(out, destination.port);
    out.append(": ");
    m_detailsAt = out.size();
}

// ICMP carries no ports: the endpoints are bare addresses.
void LogLineGenerator::appendBareEndpoints(std::string& out, std::string_view source, std::string_view destination)
{
    m_packet.sourceAddress = source;
    m_packet.destinationAddress = destination;
    m_packet.sourcePort = m_packet.destinationPort = 0;
    m_packet.protocol = SimProtocol::Icmp;
    m_packet.ipv6 = source.find(':') != std::string_view::npos;
    out.append(source);
    out.append(" > ");
    out.append(destination);
    out.append(": ");
    m_detailsAt = out.size();
}

void LogLineGenerator::appendTcpDetails(std::string& out, bool synOnly)
{
    m_packet.protocol = SimProtocol::Tcp;
    const std::uint64_t seq = m_random.next() >> 32;
    const std::uint32_t shape = synOnly ? 0 : m_random.below(4);
    if (shape == 0) {
        out.append("Flags [S], seq ");
        appendNumber(out, seq);
        out.append(", win ");
        appendNumber(out, anyOf(probeWindows, m_random));
        out.append(", options [mss 1460], length 0");
        return;
    }
    if (shape == 1) {
        const std::uint32_t length = m_random.between(1, 1448);
        out.append("Flags [P.], seq ");
        appendNumber(out, seq);
        out.push_back(':');
        appendNumber(out, seq + length);
        out.append(", ack ");
        appendNumber(out, m_random.next() >> 32);
        out.append(", win 2048, options [nop,nop,TS val ");
        appendNumber(out, m_random.next() >> 33);
        out.append(" ecr ");
        appendNumber(out, m_random.next() >> 33);
        out.append("], length ");
        appendNumber(out, length);
        return;
    }
    out.append(shape == 2 ? "Flags [F.], seq " : "Flags [R.], seq ");
    appendNumber(out, seq);
    out.append(", ack ");
    appendNumber(out, m_random.next() >> 32);
    out.append(shape == 2 ? ", win 2048, length 0" : ", win 0, length 0");
}

const LogLineGenerator::Interface& LogLineGenerator::pickInterface()
{
    static constexpr std::array<Interface, 3> interfaces{{
        {"en0", "192.168.1.23", "2a02:810d:4a3f:1200:1c2a:3bff:fe4d:5e6f"},
        {"en1", "10.0.0.14", "2a02:810d:4a3f:1200:8e85:90ff:fe11:2233"},
        {"utun2", "10.8.0.6", "fd00:8::6"},
    }};
    const std::uint32_t draw = m_random.below(10);
    return interfaces[draw < 8 ? 0 : draw - 7];
}

void LogLineGenerator::appendInboundProbe(std::string& out, bool udp)
{
    const Interface& via = pickInterface();
    const std::size_t remote = m_remotes.pick(m_random);
    const std::string_view local = m_remotes.isIPv6(remote) ? via.ipv6 : via.ipv4;
    const std::uint32_t port = udp ? portFrom(inboundUdpPorts, m_inboundUdpPorts, m_random)
                                   : portFrom(inboundTcpPorts, m_inboundTcpPorts, m_random);
    appendHeader(out, "block", "in", via.name);
    appendEndpoints(out, {m_remotes.text(remote), m_random.between(1024, 65535)}, {local, port});
    if (udp) {
        out.append("UDP, length ");
        appendNumber(out, m_random.between(8, 512));
    } else {
        appendTcpDetails(out, true);
    }
}

void LogLineGenerator::appendInboundEcho(std::string& out)
{
    const Interface& via = pickInterface();
    const std::size_t remote = m_remotes.pick(m_random);
    const bool v6 = m_remotes.isIPv6(remote);
    appendHeader(out, "block", "in", via.name);
    appendBareEndpoints(out, m_remotes.text(remote), v6 ? via.ipv6 : via.ipv4);
    out.append(v6 ? "ICMP6, echo request, id " : "ICMP echo request, id ");
    appendNumber(out, m_random.between(1, 65535));
    out.append(", seq ");
    appendNumber(out, m_random.below(64));
    out.append(v6 ? ", length 16" : ", length 64");
}

void LogLineGenerator::appendPassedInbound(std::string& out)
{
    const Interface& via = pickInterface();
    const std::size_t remote = m_remotes.pick(m_random);
    const std::string_view local = m_remotes.isIPv6(remote) ? via.ipv6 : via.ipv4;
    appendHeader(out, "pass", "in", via.name);
    appendEndpoints(out, {m_remotes.text(remote), m_random.between(49152, 65535)},
                    {local, anyOf(servedPorts, m_random)});
    appendTcpDetails(out, false);
}

void LogLineGenerator::appendOutbound(std::string& out, std::string_view action, bool udp)
{
    const Interface& via = pickInterface();
    const std::size_t remote = m_remotes.pick(m_random);
    const std::string_view local = m_remotes.isIPv6(remote) ? via.ipv6 : via.ipv4;
    std::uint32_t port = 0;
    if (udp)
        port = portFrom(blockedUdpPorts, m_blockedUdpPorts, m_random);
    else if (action == "block")
        port = portFrom(blockedTcpPorts, m_blockedTcpPorts, m_random);
    else
        port = portFrom(outboundTcpPorts, m_outboundTcpPorts, m_random);
    appendHeader(out, action, "out", via.name);
    appendEndpoints(out, {local, m_random.between(49152, 65535)}, {m_remotes.text(remote), port});
    if (udp) {
        out.append("UDP, length ");
        appendNumber(out, m_random.between(20, 1200));
    } else {
        appendTcpDetails(out, action == "block");
    }
}

void LogLineGenerator::appendDnsQuery(std::string& out)
{
    appendHeader(out, "pass", "out", "en0");
    appendEndpoints(out, {"192.168.1.23", m_random.between(49152, 65535)}, {anyOf(resolvers, m_random), 53});
    appendNumber(out, m_random.below(65536));
    out.append(m_random.percent(70) ? "+ A? " : "+ AAAA? ");
    const std::string_view name = anyOf(queriedNames, m_random);
    out.append(name);
    out.append(" (");
    appendNumber(out, name.size() + 18);
    out.push_back(')');
}

void LogLineGenerator::appendNtpQuery(std::string& out)
{
    const std::size_t remote = m_remotes.pick(m_random);
    const bool v6 = m_remotes.isIPv6(remote);
    appendHeader(out, "pass", "out", "en0");
    appendEndpoints(out, {v6 ? "2a02:810d:4a3f:1200:1c2a:3bff:fe4d:5e6f" : "192.168.1.23", 123},
                    {m_remotes.text(remote), 123});
    out.append("NTPv4, Client, length 48");
}

void LogLineGenerator::appendOutboundEcho(std::string& out)
{
    appendHeader(out, "pass", "out", "en0");
    appendBareEndpoints(out, "192.168.1.23", anyOf(resolvers, m_random));
    out.append("ICMP echo request, id ");
    appendNumber(out, m_random.between(1, 65535));
    out.append(", seq ");
    appendNumber(out, m_random.below(64));
    out.append(", length 64");
}

void LogLineGenerator::appendDhcpRequest(std::string& out)
{
    appendHeader(out, "block", "in", "en0");
    appendEndpoints(out, {"0.0.0.0", 68}, {"255.255.255.255", 67});
    out.append("BOOTP/DHCP, Request from 3c:22:fb:");
    static constexpr std::string_view hex = "0123456789abcdef";
    for (int part = 0; part < 3; ++part) {
        const std::uint32_t byte = m_random.below(256);
        out.push_back(hex[byte >> 4]);
        out.push_back(hex[byte & 0xFu]);
        if (part < 2)
            out.push_back(':');
    }
    out.append(", length 300");
}

void LogLineGenerator::appendMulticastDns(std::string& out, bool ipv6)
{
    appendHeader(out, m_random.percent(60) ? "block" : "pass", "in", "en0");
    if (ipv6)
        appendEndpoints(out, {anyOf(linkLocalNeighbours, m_random), 5353}, {"ff02::fb", 5353});
    else
        appendEndpoints(out, {anyOf(lanNeighbours, m_random), 5353}, {"224.0.0.251", 5353});
    out.append(anyOf(multicastDnsQueries, m_random));
}

void LogLineGenerator::appendSsdp(std::string& out)
{
    appendHeader(out, "block", "in", "en0");
    appendEndpoints(out, {anyOf(lanNeighbours, m_random), m_random.between(49152, 65535)}, {"239.255.255.250", 1900});
    out.append("UDP, length ");
    appendNumber(out, m_random.between(120, 400));
}

void LogLineGenerator::appendBroadcast(std::string& out)
{
    appendHeader(out, "block", "in", "en0");
    const std::string_view neighbour = anyOf(lanNeighbours, m_random);
    if (m_random.percent(60)) {
        appendEndpoints(out, {neighbour, 137}, {"192.168.1.255", 137});
        out.append("NBT UDP PACKET(137): QUERY; REQUEST; BROADCAST");
    } else {
        appendEndpoints(out, {neighbour, 17500}, {"255.255.255.255", 17500});
        out.append("UDP, length 141");
    }
}

void LogLineGenerator::appendLoopback(std::string& out)
{
    appendHeader(out, "pass", "out", "lo0");
    appendEndpoints(out, {"127.0.0.1", m_random.between(49152, 65535)}, {"127.0.0.1", 631});
    appendTcpDetails(out, false);
}

} // namespace rovex
