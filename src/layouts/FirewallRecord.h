#pragma once

#include <string_view>

namespace rovex {

// The fields every log layout's reader gives for one packet line, as views of the line
// (or of static text, such as a month name worked out from a numeric date). Empty views
// are fields the line does not carry: no date on a bare tcpdump line, no ports for ICMP.
struct FirewallRecord {
    std::string_view month; // "Jan" .. "Dec"
    std::string_view day;   // "1" .. "31", without padding
    std::string_view time;  // "HH:MM:SS"
    std::string_view action;
    std::string_view direction;
    std::string_view interfaceName;
    std::string_view sourceAddress;
    std::string_view sourcePort;
    std::string_view destinationAddress;
    std::string_view destinationPort;
};

// Why a layout's reader gave a record or not; counted, never reported as an error.
enum class RecordOutcome : unsigned char {
    Read,
    NotThisLayout, // the layout's marks (action word before "in/out on IFACE:", CSV shape) are missing
    NoEndpoints,   // the marks are there, but no usable source and destination follow
};

} // namespace rovex
