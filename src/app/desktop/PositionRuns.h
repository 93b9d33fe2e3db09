#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace rovex {

// A run of consecutive row positions, first and last included.
struct PositionRun {
    std::size_t first;
    std::size_t last;
};

// The positions (any order, repeats allowed) as runs of neighbours, lowest first: views are
// told of a run at once instead of row by row.
inline std::vector<PositionRun> positionRuns(std::vector<std::size_t> positions)
{
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::vector<PositionRun> runs;
    for (const std::size_t position : positions) {
        if (!runs.empty() && runs.back().last + 1 == position)
            runs.back().last = position;
        else
            runs.push_back({position, position});
    }
    return runs;
}

} // namespace rovex
