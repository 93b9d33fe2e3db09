#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace rovex {

// The eight live tables: {port, address} x {block, pass} x {in, out}, in the order the
// program lists them everywhere (menus, empty-all, the command line's JSON).
enum class TrafficCategory : unsigned char {
    PortBlockIn,
    PortBlockOut,
    PortPassIn,
    PortPassOut,
    IpBlockIn,
    IpBlockOut,
    IpPassIn,
    IpPassOut,
};

// The four kinds of traffic, one per action and direction; a port table and an address
// table share their kind, and with it one record of which ports met which addresses.
enum class TrafficKind : unsigned char { BlockIn, BlockOut, PassIn, PassOut };

inline constexpr std::size_t trafficCategoryCount = 8;
inline constexpr std::size_t trafficKindCount = 4;

inline constexpr std::array<TrafficCategory, trafficCategoryCount> allTrafficCategories{
    TrafficCategory::PortBlockIn, TrafficCategory::PortBlockOut, TrafficCategory::PortPassIn,
    TrafficCategory::PortPassOut, TrafficCategory::IpBlockIn,    TrafficCategory::IpBlockOut,
    TrafficCategory::IpPassIn,    TrafficCategory::IpPassOut,
};

// "PortBlockIn" ... "IpPassOut": the suffix of every per-table name.
std::string_view suffix(TrafficCategory category);

constexpr bool isPortTable(TrafficCategory category) { return static_cast<unsigned>(category) < trafficKindCount; }

constexpr TrafficKind kindOf(TrafficCategory category)
{
    return static_cast<TrafficKind>(static_cast<unsigned>(category) % trafficKindCount);
}

constexpr TrafficCategory portTable(TrafficKind kind) { return static_cast<TrafficCategory>(kind); }

constexpr TrafficCategory addressTable(TrafficKind kind)
{
    return static_cast<TrafficCategory>(static_cast<unsigned>(kind) + trafficKindCount);
}

constexpr std::size_t indexOf(TrafficCategory category) { return static_cast<std::size_t>(category); }
constexpr std::size_t indexOf(TrafficKind kind) { return static_cast<std::size_t>(kind); }

// Inbound traffic is keyed by its source address, outbound by its destination address.
constexpr bool isInbound(TrafficKind kind) { return kind == TrafficKind::BlockIn || kind == TrafficKind::PassIn; }

// The kind named by a line's action and direction words; exact, case-sensitive.
std::optional<TrafficKind> kindOf(std::string_view action, std::string_view direction);

} // namespace rovex
