#include "chart/Palette.h"

#include <array>

namespace rovex {

std::optional<Rgb> colori10(int index)
{
    static constexpr std::array<Rgb, 10> colours{{
        {246, 34, 29},
        {144, 17, 146},
        {166, 122, 69},
        {247, 148, 29},
        {252, 254, 31},
        {249, 39, 255},
        {44, 14, 253},
        {34, 144, 1},
        {66, 252, 5},
        {81, 253, 254},
    }};
    if (index < 1)
        return std::nullopt;
    if (index > static_cast<int>(colours.size()))
        return pieGrey;
    return colours[static_cast<std::size_t>(index - 1)];
}

} // namespace rovex
