#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rovex {

// The host name of a numeric IPv4 or IPv6 address by the system's reverse lookup (its
// first name); nothing when the address has none. Text that is not a numeric address is
// never looked up and has none at once. Blocks for as long as the resolver takes: call it
// off the main thread.
std::optional<std::string> reverseLookup(std::string_view address);

// What the popover shows when an address has no host name.
inline constexpr std::string_view hostNameNotFound = "Hostname not found";

} // namespace rovex
