#include "chart/PieChart.h"

#include <absl/container/flat_hash_map.h>

#include <algorithm>

namespace rovex {

std::vector<RXDiaObj> makegrafico(std::span<const NameCount> counted)
{
    std::vector<RXDiaObj> slices;
    slices.reserve(counted.size());
    for (const NameCount& entry : counted) {
        slices.push_back(RXDiaObj{std::string(entry.name), static_cast<double>(entry.count), greyColorIndex, pieGrey,
                                  std::string(pieSign), pieRadius});
    }
    std::stable_sort(slices.begin(), slices.end(),
                     [](const RXDiaObj& a, const RXDiaObj& b) { return a.theNumber > b.theNumber; });
    for (std::size_t position = 0; position < slices.size() && position < drawnSliceLimit; ++position) {
        const int index = static_cast<int>(position) + 1;
        slices[position].colorIndex = index;
        slices[position].theColor = *colori10(index);
    }
    return slices;
}

std::vector<RXDiaObj> makegraficoOfNames(std::span<const std::string_view> names)
{
    std::vector<NameCount> counted;
    absl::flat_hash_map<std::string_view, std::size_t> positions;
    for (const std::string_view name : names) {
        const auto [found, added] = positions.try_emplace(name, counted.size());
        if (added)
            counted.push_back({name, 0});
        ++counted[found->second].count;
    }
    return makegrafico(counted);
}

PieGeometry pieSectors(std::span<const RXDiaObj> slices)
{
    double total = 0;
    for (const RXDiaObj& slice : slices)
        total += slice.theNumber;
    PieGeometry geometry;
    double start = 0;
    for (std::size_t position = 0; position < slices.size() && position < drawnSliceLimit && total > 0; ++position) {
        const double end = start + slices[position].theNumber * 360 / total;
        geometry.sectors.push_back({position, start, end});
        start = end;
    }
    geometry.greyStart = start;
    return geometry;
}

} // namespace rovex
