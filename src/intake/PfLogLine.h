#pragma once

#include <string>
#include <string_view>

namespace rovex {

// One log line as the live classifier reads it. The views point into the line itself,
// or into the record's own buffers where a port had ":" removed; a record is valid until
// the line's text or the record is reused.
struct PfLogLine {
    std::string_view action;
    std::string_view direction;
    std::string_view sourceAddress;
    std::string_view sourcePort;
    std::string_view destinationAddress;
    std::string_view destinationPort;
    bool portInRange = false;

    // Storage for ports that had ":" inside them, not only at their end.
    std::string sourcePortBuffer;
    std::string destinationPortBuffer;
};

// Why a line was not counted, or that it was read. Lines that do not fit are never an
// error: the reasons are counted and shown, never reported.
enum class LineOutcome : unsigned char {
    Read,
    TooFewFields,
    ExcludedSource,
    IgnoredPort,
    IgnoredAddress,
};

std::string_view describe(LineOutcome outcome);

} // namespace rovex
