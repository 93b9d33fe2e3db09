#include "sim/WeightedPicker.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace rovex {

WeightedPicker::WeightedPicker(const std::vector<double>& weights)
{
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    if (weights.empty() || !(total > 0.0))
        throw std::invalid_argument("WeightedPicker needs a positive total weight");

    constexpr double scale = 4294967296.0;
    m_thresholds.reserve(weights.size());
    double running = 0.0;
    for (const double weight : weights) {
        running += weight;
        m_thresholds.push_back(static_cast<std::uint64_t>(running / total * scale));
    }
    // Rounding must never leave the last entry unreachable.
    m_thresholds.back() = static_cast<std::uint64_t>(scale);
}

WeightedPicker WeightedPicker::zipf(std::size_t count, double exponent)
{
    std::vector<double> weights(count);
    for (std::size_t rank = 0; rank < count; ++rank)
        weights[rank] = 1.0 / std::pow(static_cast<double>(rank + 1), exponent);
    return WeightedPicker(weights);
}

std::size_t WeightedPicker::pick(SimRandom& random) const
{
    const std::uint64_t draw = random.next() >> 32;
    const auto found = std::upper_bound(m_thresholds.begin(), m_thresholds.end(), draw);
    return static_cast<std::size_t>(found - m_thresholds.begin());
}

} // namespace rovex
