#pragma once

#include <cstdint>
#include <vector>

namespace rovex {

// An inclusive range of IPv4 addresses as 32-bit values, as the country sources list them.
struct AddressRange {
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    bool operator==(const AddressRange&) const = default;
};

// Sorts the ranges and joins those that overlap or touch (high + 1 == next low), so that
// one country's blocks come out as few and as large as possible.
void mergeTouchingRanges(std::vector<AddressRange>& ranges);

} // namespace rovex
