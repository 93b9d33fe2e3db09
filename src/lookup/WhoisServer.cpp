#include "lookup/WhoisServer.h"

#include "text/DecimalText.h"

#include <algorithm>
#include <cstdlib>
#include <arpa/inet.h>

namespace rovex {
namespace {

// Host names and IPv4 addresses: letters, digits, ".", "-" and "_", never a leading "-"
// (which the whois client would read as an option) or ".".
bool isHostName(std::string_view host)
{
    constexpr std::size_t longestName = 253;
    if (host.empty() || host.size() > longestName || host.front() == '-' || host.front() == '.')
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
            || c == '_';
    });
}

bool isIpv6Address(std::string_view text)
{
    constexpr std::size_t longestText = 45; // INET6_ADDRSTRLEN less its terminator
    if (text.empty() || text.size() > longestText)
        return false;
    const std::string terminated(text);
    in6_addr address{};
    return inet_pton(AF_INET6, terminated.c_str(), &address) == 1;
}

// Digits only, 1 to 65535.
std::optional<std::uint16_t> portNumber(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const auto value = readDecimal(text);
    if (!value || *value < 1 || *value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

// ":PORT" or nothing after the host; anything else refuses the whole text.
std::optional<std::uint16_t> portAfterHost(std::string_view rest)
{
    if (rest.empty())
        return WhoisServer{}.port;
    if (rest.front() != ':')
        return std::nullopt;
    return portNumber(rest.substr(1));
}

} // namespace

std::optional<WhoisServer> parseWhoisServer(std::string_view text)
{
    std::string_view host;
    std::string_view rest;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || !isIpv6Address(text.substr(1, close - 1)))
            return std::nullopt;
        host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
    } else {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : text.substr(colon);
        if (!isHostName(host))
            return std::nullopt;
    }
    const auto port = portAfterHost(rest);
    if (!port)
        return std::nullopt;
    return WhoisServer{std::string(host), *port};
}

WhoisChoice chooseWhoisServer(const std::optional<std::string>& option, std::string_view optionName)
{
    const char* variable = std::getenv(whoisServerVariable);
    const bool fromOption = option.has_value();
    const std::string text = fromOption ? *option : (variable != nullptr ? variable : "");
    if (!fromOption && text.empty())
        return {};
    if (auto server = parseWhoisServer(text))
        return {std::move(server), {}};
    return {std::nullopt,
            std::string(fromOption ? optionName : std::string_view(whoisServerVariable))
                + " needs HOST, HOST:PORT, [IPV6] or [IPV6]:PORT, not " + text};
}

} // namespace rovex
