#include "sim/AddressRange.h"

#include <algorithm>

namespace rovex {

void mergeTouchingRanges(std::vector<AddressRange>& ranges)
{
    std::sort(ranges.begin(), ranges.end(), [](const AddressRange& a, const AddressRange& b) {
        return a.low < b.low || (a.low == b.low && a.high < b.high);
    });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        // 64-bit arithmetic: high + 1 of the last address must not wrap to 0.
        if (kept > 0 && std::uint64_t{ranges[i].low} <= std::uint64_t{ranges[kept - 1].high} + 1) {
            ranges[kept - 1].high = std::max(ranges[kept - 1].high, ranges[i].high);
            continue;
        }
        ranges[kept++] = ranges[i];
    }
    ranges.resize(kept);
}

} // namespace rovex
