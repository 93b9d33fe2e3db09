#include "layouts/EndpointText.h"

#include <cstddef>

namespace rovex {
namespace {

struct DotCount {
    std::size_t count = 0;
    std::size_t last = std::string_view::npos;
};

DotCount countDots(std::string_view text)
{
    DotCount dots;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '.') {
            ++dots.count;
            dots.last = at;
        }
    }
    return dots;
}

} // namespace

bool splitEndpointText(std::string_view text, EndpointSide side, EndpointParts& parts)
{
    if (side == EndpointSide::Destination && text.ends_with(':'))
        text.remove_suffix(1);
    const bool ipv6 = text.find(':') != std::string_view::npos;
    const DotCount dots = countDots(text);
    const bool withPort = dots.count == 4 || (ipv6 && dots.count == 1);
    const bool withoutPort = dots.count == 3 || (ipv6 && dots.count == 0);
    if (!withPort && !withoutPort)
        return false;
    parts.address = withPort ? text.substr(0, dots.last) : text;
    parts.port = {};
    if (withPort) {
        const std::string_view afterDot = text.substr(dots.last + 1);
        parts.port = afterDot.substr(0, afterDot.find(':'));
    }
    return !parts.address.empty();
}

} // namespace rovex
