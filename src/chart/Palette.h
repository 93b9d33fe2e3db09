#pragma once

#include <cstdint>
#include <optional>

namespace rovex {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The ten colours of the pies, by index from 1; every index above 10 is the grey of the
// slices beyond the tenth, and an index below 1 has no colour.
std::optional<Rgb> colori10(int index);

// The index the pies give the slices beyond the tenth.
inline constexpr int greyColorIndex = 12;
inline constexpr Rgb pieGrey{205, 205, 205};

} // namespace rovex
