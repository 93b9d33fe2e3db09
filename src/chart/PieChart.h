#pragma once

#include "chart/RXDiaObj.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace rovex {

// A counterpart with its number of occurrences, as the occurrence dictionaries keep them.
struct NameCount {
    std::string_view name;
    std::int64_t count = 0;
};

// The slices of a pie, largest first (equal counts in the order given), the first ten in
// the palette's colours and the rest grey.
std::vector<RXDiaObj> makegrafico(std::span<const NameCount> counted);
// The same from a list with one entry per occurrence, counted first.
std::vector<RXDiaObj> makegraficoOfNames(std::span<const std::string_view> names);

// Angles in degrees, counter-clockwise from 0 pointing right.
struct PieSector {
    std::size_t slice = 0; // position in the slice list
    double start = 0;
    double end = 0;
};

// What the chart paints: at most the first ten slices in turn, then the grey remainder from
// the last end to 360 (the whole disc when there is no slice, nothing with ten or fewer).
struct PieGeometry {
    std::vector<PieSector> sectors;
    double greyStart = 0;
    double greyEnd = 360;
};

inline constexpr std::size_t drawnSliceLimit = 10;

PieGeometry pieSectors(std::span<const RXDiaObj> slices);

} // namespace rovex
