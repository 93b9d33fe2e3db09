#include "app/desktop/AddressClass.h"

#include <arpa/inet.h>

#include <array>
#include <cstdint>
#include <string>

namespace rovex {

namespace {

AddressClass classifyIPv4(const std::array<std::uint8_t, 4>& bytes)
{
    const auto [a, b, c, d] = bytes;
    (void)c;
    (void)d;
    const bool rfc1918 = a == 10 || (a == 172 && (b & 0xF0) == 16) || (a == 192 && b == 168);
    const bool sharedSpace = a == 100 && (b & 0xC0) == 64; // 100.64.0.0/10
    if (rfc1918 || sharedSpace || a == 127)
        return AddressClass::Private;
    if (a == 169 && b == 254)
        return AddressClass::LinkLocal;
    return AddressClass::Other;
}

AddressClass classifyIPv6(const std::array<std::uint8_t, 16>& bytes)
{
    if (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80)
        return AddressClass::LinkLocal;
    if ((bytes[0] & 0xFE) == 0xFC) // fc00::/7, unique local
        return AddressClass::Private;
    const std::array<std::uint8_t, 16> loopback{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    if (bytes == loopback)
        return AddressClass::Private;
    return AddressClass::IPv6;
}

} // namespace

AddressClass classifyAddress(std::string_view address)
{
    // inet_pton wants a terminated string; addresses are short, longer text is no address.
    if (address.empty() || address.size() > 64)
        return AddressClass::NotAnAddress;
    const std::string text(address);
    std::array<std::uint8_t, 4> v4{};
    if (inet_pton(AF_INET, text.c_str(), v4.data()) == 1)
        return classifyIPv4(v4);
    std::array<std::uint8_t, 16> v6{};
    if (inet_pton(AF_INET6, text.c_str(), v6.data()) == 1)
        return classifyIPv6(v6);
    return AddressClass::NotAnAddress;
}

bool isAddressText(std::string_view address) { return classifyAddress(address) != AddressClass::NotAnAddress; }

std::string canonicalAddress(std::string_view address)
{
    if (address.empty() || address.size() > 64)
        return {};
    const std::string text(address);
    std::array<std::uint8_t, 16> bytes{};
    std::array<char, INET6_ADDRSTRLEN> written{};
    for (const int family : {AF_INET, AF_INET6}) {
        if (inet_pton(family, text.c_str(), bytes.data()) == 1
            && inet_ntop(family, bytes.data(), written.data(), written.size()) != nullptr)
            return written.data();
    }
    return {};
}

const char* noCountryReason(std::string_view address, bool countriesKnowIPv6)
{
    switch (classifyAddress(address)) {
    case AddressClass::Private: return "private";
    case AddressClass::LinkLocal: return "link-local";
    case AddressClass::IPv6: return countriesKnowIPv6 ? "unknown" : "IPv6";
    case AddressClass::Other:
    case AddressClass::NotAnAddress: return "unknown";
    }
    return "unknown";
}

} // namespace rovex
