#include "layouts/ProductLineWriter.h"

#include <array>
#include <cstring>

namespace rovex {
namespace {

constexpr std::string_view missing = "-";

// Fields are a few bytes long: plain scans beat a call to memchr per field.
bool hasNo(std::string_view text, char c)
{
    for (const char byte : text) {
        if (byte == c)
            return false;
    }
    return true;
}

std::size_t dotsIn(std::string_view address)
{
    std::size_t dots = 0;
    for (const char byte : address)
        dots += byte == '.' ? 1U : 0U;
    return dots;
}

bool isWord(std::string_view text) { return !text.empty() && hasNo(text, ' '); }

bool isPort(std::string_view port) { return hasNo(port, ' ') && hasNo(port, '.') && hasNo(port, ':'); }

// The readers split an endpoint at its dots: five pieces for IPv4, two for IPv6, alike on
// both sides.
bool addressesSplitBack(std::string_view source, std::string_view destination)
{
    const std::size_t dots = dotsIn(source);
    return (dots == 3 || dots == 0) && dots == dotsIn(destination);
}

bool isWritable(const FirewallRecord& r, std::string_view origin)
{
    return isWord(origin) && hasNo(r.month, ' ') && hasNo(r.day, ' ') && hasNo(r.time, ' ') && isWord(r.action)
        && isWord(r.direction) && isWord(r.interfaceName) && hasNo(r.interfaceName, ':') && isWord(r.sourceAddress)
        && isWord(r.destinationAddress) && isPort(r.sourcePort) && isPort(r.destinationPort)
        && addressesSplitBack(r.sourceAddress, r.destinationAddress);
}

std::string_view orMissing(std::string_view text) { return text.empty() ? missing : text; }

// An endpoint without a port is written as the product writes ICMP's, the address alone, so
// that every reader treats a packet without ports as it treats the product's own.
std::string_view portDot(std::string_view port) { return port.empty() ? std::string_view() : std::string_view("."); }

} // namespace

bool writeProductLine(const FirewallRecord& record, std::string_view origin, std::string& out)
{
    out.clear();
    if (!isWritable(record, origin))
        return false;
    const std::array<std::string_view, 22> pieces{orMissing(record.month),
                                                  " ",
                                                  orMissing(record.day),
                                                  " ",
                                                  orMissing(record.time),
                                                  " ",
                                                  origin,
                                                  " pf: - rule 0/0(match): ",
                                                  record.action,
                                                  " ",
                                                  record.direction,
                                                  " on ",
                                                  record.interfaceName,
                                                  ": ",
                                                  record.sourceAddress,
                                                  portDot(record.sourcePort),
                                                  record.sourcePort,
                                                  " > ",
                                                  record.destinationAddress,
                                                  portDot(record.destinationPort),
                                                  record.destinationPort,
                                                  ":"};
    std::size_t bytes = 0;
    for (const std::string_view piece : pieces)
        bytes += piece.size();
    if (bytes > maxWrittenLineBytes)
        return false;
    out.resize(bytes);
    char* at = out.data();
    for (const std::string_view piece : pieces) {
        // An absent field is an empty view whose data may be null, which memcpy must not see.
        if (piece.empty())
            continue;
        std::memcpy(at, piece.data(), piece.size());
        at += piece.size();
    }
    return true;
}

} // namespace rovex
