#pragma once

#include "firewall/ServiceDescription.h"
#include "intake/LayoutAdapter.h"
#include "simplelog/RXSimpleLog.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace rovex {

// Why a line gave a row or not.
enum class SimpleLogOutcome : unsigned char {
    Accepted,
    Empty,          // nothing on the line
    TooFewFields,   // fewer than 15 fields once runs of two spaces are halved
    ExcludedSource, // field 12 begins with "\"pdl=", "@", "0.0.0.0" or "::"
    NoPorts,        // the endpoints are not both IPv4 with a port, nor both IPv6 with a port
    TooLong,        // longer than maxSimpleLogLineBytes
};

// The longest line that gives a row. pf lines are a few hundred bytes; the bound keeps a
// hostile log from making rows of any size.
inline constexpr std::size_t maxSimpleLogLineBytes = std::size_t{64} * 1024;

// The two roads lines come by. They read lines alike and differ in the text kept as
// logString: the line as it came (Live) or the line with its runs of two spaces halved
// (OnDemand).
enum class SimpleLogRoad : unsigned char { Live, OnDemand };

struct SimpleLogReading {
    SimpleLogOutcome outcome = SimpleLogOutcome::Empty;
    std::optional<RXSimpleLog> row; // present when accepted
};

// The simple log's own reading of one pf log line (without its "\n"). Fields lie between
// single spaces after one left-to-right pass that turns every "  " into " "; month, day
// and time are fields 0 to 2, action 8, direction 9, interface 11 without its ":"s, the
// endpoints 12 and 14. The action image follows action and direction ("block"/"in" is
// "blockeddown" and so on, none for other words); a port's image is its service's image
// in services, else "genericservice". It shares nothing with the live tables' grammar.
// asWritten: the line as the log holds it, when `line` was written from it in the product's
// layout (a line of another layout); the row keeps it as its logString, as it came.
SimpleLogReading readSimpleLogLine(std::string_view line, SimpleLogRoad road, const ServiceImages& services,
                                   std::string_view asWritten = {});

// The same reading of a line of any layout the adapter reads.
SimpleLogReading readSimpleLogLine(std::string_view line, SimpleLogRoad road, const ServiceImages& services,
                                   LayoutAdapter& layouts);

} // namespace rovex
