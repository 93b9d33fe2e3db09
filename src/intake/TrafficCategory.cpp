#include "intake/TrafficCategory.h"

namespace rovex {
namespace {

constexpr std::array<std::string_view, trafficCategoryCount> suffixes{
    "PortBlockIn", "PortBlockOut", "PortPassIn", "PortPassOut", "IpBlockIn", "IpBlockOut", "IpPassIn", "IpPassOut",
};

} // namespace

std::string_view suffix(TrafficCategory category) { return suffixes[indexOf(category)]; }

std::optional<TrafficKind> kindOf(std::string_view action, std::string_view direction)
{
    const bool in = direction == "in";
    if (!in && direction != "out")
        return std::nullopt;
    if (action == "block")
        return in ? TrafficKind::BlockIn : TrafficKind::BlockOut;
    if (action == "pass")
        return in ? TrafficKind::PassIn : TrafficKind::PassOut;
    return std::nullopt;
}

} // namespace rovex
