#pragma once

#include <string_view>

namespace rovex {

enum class EndpointSide : unsigned char { Source, Destination };

struct EndpointParts {
    std::string_view address;
    std::string_view port; // empty for protocols without ports
};

// Splits one endpoint as tcpdump prints it: IPv4 "a.b.c.d" or "a.b.c.d.port", IPv6 "addr"
// or "addr.port" (an address with an embedded IPv4 part has four or five pieces). A
// destination's trailing ":" is dropped, and so is text glued to a port after a ":"
// (old tcpdump wrote "ff02::1:2.547:dhcp6"). False when the text has no such shape.
bool splitEndpointText(std::string_view text, EndpointSide side, EndpointParts& parts);

} // namespace rovex
