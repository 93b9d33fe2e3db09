#pragma once

#include "stats/RXLogLine.h"

#include <string>
#include <string_view>

namespace rovex {

// What the statistics reading made of one line. Only `kept` gives a record; the first two
// are not counted at all, every other one is counted and passed over.
enum class StatsLineOutcome {
    kept,
    empty,
    ethertypeUnknown,
    tooFewFields,
    excludedSource,
    endpointsUnsplit,
    multicast,
    multicastDns,
    broadcast,
};

// True for the outcomes that count as a read line (c): all but an empty line and an
// "ethertype Unknown" line.
bool isCountedLine(StatsLineOutcome outcome) noexcept;

// Reads one line (without its "\n") by the statistics' rules, which differ from the live
// grammar: unsplittable endpoints make a line unusable, and multicast, multicast-DNS and
// broadcast traffic is left out. The record's texts are views of the line, except the
// target port, which has its ':' removed into portScratch when it holds any.
StatsLineOutcome readStatsLine(std::string_view line, RXLogLine& record, std::string& portScratch);

} // namespace rovex
