#pragma once

#include "intake/StoreChanges.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rovex {

// What a table's views have not been told yet: whether rows were added at its end, the
// span of rows whose counts went up, and every row added or counted, for the ranking.
// Several chunks fold into one, so that a view re-ranks once for all of them.
struct ChangedRows {
    bool added = false;
    std::size_t firstCounted = SIZE_MAX;
    std::size_t lastCounted = 0;
    std::vector<std::size_t> positions; // a row counted in several chunks may be here more than once
    std::size_t compactAt = 4096;

    void merge(const TableChanges& changes)
    {
        added = added || !changes.added.empty();
        for (const std::size_t position : changes.counted) {
            firstCounted = std::min(firstCounted, position);
            lastCounted = std::max(lastCounted, position);
        }
        positions.insert(positions.end(), changes.added.begin(), changes.added.end());
        positions.insert(positions.end(), changes.counted.begin(), changes.counted.end());
        // A paused view gathers chunks for long: the same rows once each, however long.
        if (positions.size() >= compactAt) {
            std::sort(positions.begin(), positions.end());
            positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
            compactAt = std::max<std::size_t>(4096, positions.size() * 2);
        }
    }
    bool counted() const { return firstCounted <= lastCounted; }
    bool empty() const { return !added && !counted(); }
};

} // namespace rovex
