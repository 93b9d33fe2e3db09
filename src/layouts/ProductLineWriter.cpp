#include "layouts/ProductLineWriter.h"

#include <array>
#include <cstring>

namespace rovex {
namespace {

constexpr std::string_view missing = "-";

// Fields are a few bytes long: plain scans beat a call to memchr per field, and each field
// is scanned once for all the bytes it must not hold.
bool hasNone(std::string_view text, char a, char b = ' ', char c = ' ')
{
    for (const char byte : text) {
        if (byte == a || byte == b || byte == c)
            return false;
    }
    return true;
}

bool isWord(std::string_view text, char also = ' ') { return !text.empty() && hasNone(text, ' ', also); }

bool isPort(std::string_view port) { return hasNone(port, ' ', '.', ':'); }

// An address without spaces, and its dots: the readers split an endpoint at its dots.
struct Address {
    bool word = true;
    std::size_t dots = 0;
};

Address addressOf(std::string_view text)
{
    Address address{!text.empty(), 0};
    for (const char byte : text) {
        address.dots += byte == '.' ? 1U : 0U;
        address.word = address.word && byte != ' ';
    }
    return address;
}

// Five pieces for IPv4, two for IPv6, alike on both sides.
bool addressesSplitBack(std::string_view source, std::string_view destination)
{
    const Address from = addressOf(source);
    const Address to = addressOf(destination);
    return from.word && to.word && (from.dots == 3 || from.dots == 0) && from.dots == to.dots;
}

bool isWritable(const FirewallRecord& r, std::string_view origin)
{
    return isWord(origin) && hasNone(r.month, ' ') && hasNone(r.day, ' ') && hasNone(r.time, ' ') && isWord(r.action)
        && isWord(r.direction) && isWord(r.interfaceName, ':') && isPort(r.sourcePort) && isPort(r.destinationPort)
        && addressesSplitBack(r.sourceAddress, r.destinationAddress);
}

std::string_view orMissing(std::string_view text) { return text.empty() ? missing : text; }

// An endpoint without a port is written as the product writes ICMP's, the address alone, so
// that every reader treats a packet without ports as it treats the product's own.
std::string_view portDot(std::string_view port) { return port.empty() ? std::string_view() : std::string_view("."); }

// Copies `width` bytes (a constant) from `from` to `to`; it compiles to a load and a store.
template <std::size_t width>
void copyFixed(char* to, const char* from)
{
    char bytes[width];
    std::memcpy(bytes, from, width);
    std::memcpy(to, bytes, width);
}

// Pieces are a few bytes long, and a call to memcpy for each costs more than the copy: up to
// 32 bytes are copied in place as a head and a tail that may overlap, each read within the
// piece. An empty piece may have a null data pointer, which is not touched.
void copyPiece(char* to, std::string_view piece)
{
    const char* from = piece.data();
    const std::size_t n = piece.size();
    if (n >= 16 && n <= 32) {
        copyFixed<16>(to, from);
        copyFixed<16>(to + n - 16, from + n - 16);
    } else if (n >= 8 && n < 16) {
        copyFixed<8>(to, from);
        copyFixed<8>(to + n - 8, from + n - 8);
    } else if (n >= 4 && n < 8) {
        copyFixed<4>(to, from);
        copyFixed<4>(to + n - 4, from + n - 4);
    } else if (n > 32) {
        std::memcpy(to, from, n);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

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
        copyPiece(at, piece);
        at += piece.size();
    }
    return true;
}

} // namespace rovex
