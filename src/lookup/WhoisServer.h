#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rovex {

// The whois server the probe connects to and, when the user chose one, the whois client
// asks. Written HOST, HOST:PORT, [IPV6] or [IPV6]:PORT; the port is 43 unless given.
struct WhoisServer {
    std::string host;
    std::uint16_t port = 43;

    bool operator==(const WhoisServer&) const = default;
};

// Nothing when the text is not one of the forms above (empty host, a port that is not a
// number from 1 to 65535, an IPv6 address without brackets...).
std::optional<WhoisServer> parseWhoisServer(std::string_view text);

// The environment variable that names the server when no option does.
inline constexpr const char* whoisServerVariable = "ROVEX_WHOIS_SERVER";

// The server the user chose: the option's text when given, else the environment
// variable's when it is set and not empty; none when neither names one (the whois client
// then picks its registry). A text that is not a server is refused: refusal then says
// which text, and where it came from.
struct WhoisChoice {
    std::optional<WhoisServer> server;
    std::string refusal;
};
WhoisChoice chooseWhoisServer(const std::optional<std::string>& option, std::string_view optionName);

// The registry the probe tries when the user named none (the client then picks its
// registry itself).
inline constexpr std::string_view defaultWhoisHost = "whois.ripe.net";

} // namespace rovex
