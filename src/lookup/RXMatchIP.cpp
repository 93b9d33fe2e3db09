#include "lookup/RXMatchIP.h"

#include "text/DecimalText.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <array>
#include <cstring>
#include <string>

namespace rovex {
namespace {

constexpr int addressBits = 32;

// inet_aton wants a NUL-terminated string. Texts of a usual length are copied to the
// stack; longer ones (inet_aton allows any number of leading zeros) to the heap.
bool callInetAton(std::string_view text, in_addr& out)
{
    constexpr std::size_t shortText = 63;
    if (text.size() <= shortText) {
        std::array<char, shortText + 1> buffer{};
        std::memcpy(buffer.data(), text.data(), text.size());
        return inet_aton(buffer.data(), &out) != 0;
    }
    const std::string copy(text);
    return inet_aton(copy.c_str(), &out) != 0;
}

std::uint32_t prefixMask(int prefix)
{
    // Shifting a 32-bit value by 32 is undefined, so the empty mask is its own case.
    if (prefix == 0)
        return 0;
    return ~std::uint32_t{0} << (addressBits - prefix);
}

} // namespace

std::optional<std::uint32_t> readIPv4(std::string_view text)
{
    // An embedded NUL would make inet_aton read only the text before it.
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    in_addr value{};
    if (!callInetAton(text, value))
        return std::nullopt;
    return ntohl(value.s_addr);
}

std::optional<IPv4Block> readIPv4Block(std::string_view block)
{
    const std::size_t slash = block.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    std::string_view prefixText = block.substr(slash + 1);
    // A further "/" ends the prefix piece; what follows it is not looked at.
    prefixText = prefixText.substr(0, prefixText.find('/'));

    const std::optional<std::int64_t> prefix = readDecimal(prefixText);
    if (!prefix || *prefix < 0 || *prefix > addressBits)
        return std::nullopt;
    const std::optional<std::uint32_t> network = readIPv4(block.substr(0, slash));
    if (!network)
        return std::nullopt;

    const int bits = static_cast<int>(*prefix);
    const std::uint32_t mask = prefixMask(bits);
    return IPv4Block{*network & mask, *network | ~mask, bits};
}

bool matchIP(std::string_view address, std::string_view block)
{
    const std::optional<IPv4Block> range = readIPv4Block(block);
    if (!range)
        return false;
    const std::optional<std::uint32_t> value = readIPv4(address);
    return value && *value >= range->first && *value <= range->last;
}

} // namespace rovex
