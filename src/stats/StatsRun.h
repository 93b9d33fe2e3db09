#pragma once

#include "intake/LayoutAdapter.h"
#include "stats/LogArchives.h"
#include "stats/StatsQuery.h"
#include "stats/StatsResult.h"

#include <atomic>
#include <cstdint>
#include <optional>

namespace rovex {

struct StatsRunOptions {
    unsigned threads = 2;
    // The live log is split across the threads only in pieces of at least this size.
    std::uint64_t minimumRangeBytes = std::uint64_t{4} << 20;
    // When given, the lines read so far, in steps of StatsTally::reportEvery, for a
    // progress display while the run goes on.
    std::atomic<std::int64_t>* linesRead = nullptr;
    // When given, the live log is read no further than this many bytes.
    std::optional<std::uint64_t> liveLogByteLimit;
    // The log layouts read; with All the result counts the lines of each.
    LayoutSetting layouts = LayoutSetting::Product;
};

// A whole run over a log: the live log and archives 0 to fileCount - 2
// (fileCount at least 1), counted on the threads, then aggregated. An archive counts only
// when it decodes fully; otherwise it adds one empty line and one diagnostic line. Without
// a live log nothing is read and the result says it is missing.
StatsResult runStatistics(const LogArchives& log, std::int64_t fileCount, const StatsQuery& query,
                          const StatsRunOptions& options = {});

} // namespace rovex
