#pragma once

#include "stats/StatsQuery.h"
#include "stats/StatsResult.h"
#include "stats/StatsTally.h"

namespace rovex {

// The result lists of a counted run: the first L addresses and port texts by count, largest
// first, equal counts in ascending byte order of their text (so the lists do not depend on
// how the work was split), totals over the listed entries, palette colours by rank, pie
// slices; on an empty selection no list and the boxes of the idle state.
StatsResult aggregate(const StatsTally& tally, const StatsQuery& query);

// The result of a run without a live log: nothing read, every box shown.
StatsResult missingLogResult();

} // namespace rovex
