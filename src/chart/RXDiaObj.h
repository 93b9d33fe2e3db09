#pragma once

#include "chart/Palette.h"

#include <string>
#include <string_view>

namespace rovex {

// The legend's sign: a black medium square shown as text, never as an emoji.
inline constexpr std::string_view pieSign = "\u25FC\uFE0E";
inline constexpr double pieRadius = 90;

// One slice of a pie: a counterpart and how often it was seen.
struct RXDiaObj {
    std::string theName;
    double theNumber = 0;
    int colorIndex = greyColorIndex; // the palette index theColor came from
    Rgb theColor = pieGrey;
    std::string theSign;
    double theRadius = 0;
};

} // namespace rovex
