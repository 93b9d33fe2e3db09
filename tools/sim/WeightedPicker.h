#pragma once

#include "sim/SimRandom.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rovex {

// Picks an index with a chance proportional to its weight: the simulator's mixes of line
// kinds, ports and remote addresses.
class WeightedPicker final {
public:
    // Weights must not all be zero; an empty list is not allowed.
    explicit WeightedPicker(const std::vector<double>& weights);

    // Weights 1/rank^exponent for ranks 1..count: the long-tailed spread of real traffic,
    // where a few sources send most packets.
    static WeightedPicker zipf(std::size_t count, double exponent);

    std::size_t pick(SimRandom& random) const;
    std::size_t size() const { return m_thresholds.size(); }

private:
    // Cumulative weights scaled to 2^32: one 32-bit draw and a binary search per pick.
    std::vector<std::uint64_t> m_thresholds;
};

} // namespace rovex
