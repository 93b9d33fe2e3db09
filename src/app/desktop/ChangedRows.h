#pragma once

#include "intake/StoreChanges.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace rovex {

// What a table's views have not been told yet: whether rows were added at its end, and
// the span of rows whose counts went up. Several chunks fold into one, so that a view
// re-sorts once for all of them.
struct ChangedRows {
    bool added = false;
    std::size_t firstCounted = SIZE_MAX;
    std::size_t lastCounted = 0;

    void merge(const TableChanges& changes)
    {
        added = added || !changes.added.empty();
        for (const std::size_t position : changes.counted) {
            firstCounted = std::min(firstCounted, position);
            lastCounted = std::max(lastCounted, position);
        }
    }
    bool counted() const { return firstCounted <= lastCounted; }
    bool empty() const { return !added && !counted(); }
};

} // namespace rovex
