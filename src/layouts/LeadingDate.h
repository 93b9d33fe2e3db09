#pragma once

#include "layouts/FirewallRecord.h"

#include <string_view>

namespace rovex {

// Reads the calendar date and clock at the start of a line into the record's month, day and
// time: a syslog stamp ("Mmm dd hh:mm:ss", with or without "<PRI>" or "<PRI>1 " before it),
// an RFC 3339 stamp, or tcpdump's dated forms ("Mmm dd hh:mm:ss.us" and
// "yyyy-mm-dd hh:mm:ss.us"). A bare clock (tcpdump's default or delta form), an epoch or no
// stamp at all leaves the three fields empty: they carry no calendar date.
void readLeadingDate(std::string_view line, FirewallRecord& record);

} // namespace rovex
