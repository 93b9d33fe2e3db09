#pragma once

#include "layouts/FirewallRecord.h"

#include <string_view>

namespace rovex {

// Reads pf's log text as tcpdump prints it, behind whatever header a logger put in front:
// the first action word followed by "in" or "out", "on" and "IFACE:" anchors the record,
// then "source > destination" follows in address.port form (a "-v" line's parenthesised
// IP header between them is passed over). The date comes from the line's leading stamp.
// One pass over the line at most, no allocation.
RecordOutcome readPflogText(std::string_view line, FirewallRecord& record);

} // namespace rovex
