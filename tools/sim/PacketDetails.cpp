#include "sim/PacketDetails.h"

#include <charconv>

namespace rovex {

namespace {

constexpr std::uint32_t ipv4HeaderBytes = 20;

std::uint32_t transportHeaderBytes(SimProtocol protocol) { return protocol == SimProtocol::Tcp ? 20 : 8; }

std::optional<std::uint64_t> numberAt(std::string_view text, std::size_t at)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    return error == std::errc() ? std::optional(value) : std::nullopt;
}

} // namespace

std::optional<std::uint64_t> detailNumber(const SimPacket& packet, std::string_view label)
{
    const std::size_t at = packet.details.find(label);
    return at == std::string_view::npos ? std::nullopt : numberAt(packet.details, at + label.size());
}

std::uint32_t dataLength(const SimPacket& packet)
{
    constexpr std::string_view label = "length ";
    const std::size_t at = packet.details.rfind(label);
    const std::optional<std::uint64_t> length = at == std::string_view::npos
        ? std::nullopt
        : numberAt(packet.details, at + label.size());
    return static_cast<std::uint32_t>(length.value_or(packet.details.size()));
}

std::uint32_t ipLength(const SimPacket& packet)
{
    const std::uint32_t payload = transportHeaderBytes(packet.protocol) + dataLength(packet);
    return packet.ipv6 ? payload : ipv4HeaderBytes + payload;
}

std::uint32_t protocolNumber(const SimPacket& packet)
{
    switch (packet.protocol) {
    case SimProtocol::Tcp: return 6;
    case SimProtocol::Udp: return 17;
    case SimProtocol::Icmp: return packet.ipv6 ? 58 : 1;
    }
    return 0;
}

std::string_view protocolName(const SimPacket& packet)
{
    switch (packet.protocol) {
    case SimProtocol::Tcp: return "TCP";
    case SimProtocol::Udp: return "UDP";
    case SimProtocol::Icmp: return packet.ipv6 ? "ICMPv6" : "ICMP";
    }
    return {};
}

} // namespace rovex
