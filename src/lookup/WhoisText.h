#pragma once

#include <string>
#include <string_view>

namespace rovex {

// The whois record as the address popover shows it: every "# " removed, then every "#",
// then every "% " ("% Abuse contact" reads "Abuse contact"; "50%" stays).
std::string cleanWhoisText(std::string_view text);

// The text the popover shows when no whois server answered the probe.
inline constexpr std::string_view noWhoisText = "none";

} // namespace rovex
