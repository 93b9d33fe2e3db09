#pragma once

#include "cli/NotificationList.h"
#include "intake/LiveClassifier.h"
#include "intake/TrafficStore.h"

#include <iosfwd>
#include <vector>

namespace rovex::cli {

// The tables as the command line prints them: every table always present, rows by count
// (highest first, ties by first sighting), occurrences as counts per counterpart, and the
// notifications in line order, written to out as they are produced. withCount adds the
// count of all notifications, when only the last ones are kept.
void writeTablesJson(std::ostream& out, const TrafficStore& store, const NotificationList& notifications,
                     bool withCount = false);

struct TextOptions {
    std::size_t rowsPerTable = SIZE_MAX; // the live view shows the top rows only
    std::size_t notifications = SIZE_MAX;
};

// The same content as aligned text for a terminal.
void printTables(std::ostream& out, const TrafficStore& store, const NotificationList& notifications,
                 const TextOptions& options = {});

// One line that tells how many lines were read and why others were skipped.
void printLineSummary(std::ostream& out, const LiveClassifier::OutcomeCounts& outcomes, std::uint64_t invalidLines);

} // namespace rovex::cli
