#pragma once

#include "layouts/FirewallRecord.h"

#include <string_view>

namespace rovex {

// Reads a pfSense/OPNsense "filterlog" line: comma-separated values behind any of its
// envelopes (BSD syslog with or without "<PRI>", host and "[PID]"; RFC 5424 with "- -" or a
// "[meta ...]" element; a receiver's "ISO-TIME HOST filterlog[PID] "; or none). TCP, UDP and
// SCTP lines give ports; other protocols and later fragments do not.
RecordOutcome readFilterlog(std::string_view line, FirewallRecord& record);

} // namespace rovex
