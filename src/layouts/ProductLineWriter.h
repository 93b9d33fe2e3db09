#pragma once

#include "layouts/FirewallRecord.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace rovex {

// The longest line the writer makes. pf lines are a few hundred bytes; a record from a
// hostile line with a field of any size is refused instead of passed on.
inline constexpr std::size_t maxWrittenLineBytes = 4096;

// Writes the record as a line of the product's own layout, in which the live tables, the
// simple log and the statistics all find it at their fixed fields:
//   "MON DAY TIME ORIGIN pf: - rule 0/0(match): ACTION DIR on IFACE: SRC.PORT > DST.PORT:"
// with single spaces, so that every reader's way of folding runs of spaces agrees. A date
// the record lacks is written as "-"; a port it lacks stays empty after its ".". Returns
// false, with `out` cleared, when the record cannot be carried by that layout: a field
// with a space, an empty required field, an interface or port with ":" or a port with ".",
// addresses that would not split back (IPv4 needs three dots, IPv6 none, both alike), or a
// line over maxWrittenLineBytes. `out` keeps its capacity from call to call.
bool writeProductLine(const FirewallRecord& record, std::string_view origin, std::string& out);

} // namespace rovex
