#pragma once

#include <optional>
#include <string_view>

namespace rovex {

// The log layout rovex-sim writes: the product's own, pf's text as tcpdump prints it, the
// filterlog CSV of pfSense and OPNsense, or any of the three line by line.
enum class SimLayout : unsigned char { Product, Pflog, Filterlog, Mixed };

inline constexpr std::string_view simLayoutNames = "product, pflog, filterlog or mixed";

std::optional<SimLayout> simLayoutNamed(std::string_view name);

} // namespace rovex
