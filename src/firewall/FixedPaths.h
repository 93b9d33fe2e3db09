#pragma once

#include <filesystem>
#include <string_view>

namespace rovex::paths {

// The fixed places where the firewall product keeps what the viewer reads. They stay
// constants; every executable resolves them under its --root folder (default "/").
inline constexpr std::string_view pfLog = "/var/log/pffirewall.log";
inline constexpr std::string_view library = "/Library/Preferences/rovexid.rovexlibrary.plist";
inline constexpr std::string_view nations = "/Library/Application Support/Rovex/Nations/aggregated";

// The fixed path placed under root: underRoot("/tmp/r", pfLog) is /tmp/r/var/log/pffirewall.log.
std::filesystem::path underRoot(const std::filesystem::path& root, std::string_view fixedPath);

// The rotated archive number n of the log under root: .../pffirewall.log.n.bz2
std::filesystem::path archive(const std::filesystem::path& root, int n);

} // namespace rovex::paths
