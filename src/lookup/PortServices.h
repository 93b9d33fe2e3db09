#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rovex {

// What the system's service table (/etc/services) says about a port, as the port popover
// shows it.
struct PortInfo {
    std::string portLabel;       // the port text as asked
    std::string portServiceName; // the matching lines, each with its "\n", every "#" removed;
                                 // empty when none matched (the popover shows "nomoreinfo")
    std::string portTypeLabel;   // "systemport", "registport" or "ephemport"
};

// The lines of the service table in which the port is a whole word (letters, digits and
// "_" make words) and which also hold the port followed directly by "/": the lines a
// `grep "\<PORT\>" | grep "PORT/"` pipeline gives, each ending in "\n", with every "#"
// removed. The port is matched as plain text, never as a pattern. Bytes outside ASCII come
// out as U+FFFD, as the popover shows them.
std::string serviceLinesForPort(std::string_view servicesText, std::string_view port);

// The class key of a port text: "registport" from 1024 to 49151, "ephemport" from 49152,
// "systemport" for anything else, text that is not a decimal number included.
std::string_view portTypeKey(std::string_view port);

// The whole service table, its last line ended by "\n" like the others; nothing when it is
// missing or cannot be read.
std::optional<std::string> readServicesTable(const std::filesystem::path& services);

// Reads the service table and answers for the port. A table that is missing or cannot be
// read matches nothing.
PortInfo getPortInfo(const std::filesystem::path& services, std::string_view port);

inline const std::filesystem::path systemServicesFile = "/etc/services";

} // namespace rovex
