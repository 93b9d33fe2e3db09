#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace rovex {

// Which of `size` positions a user's selection names: positions in any order, repeated
// or out of range, become one flag per position.
inline std::vector<bool> selectedPositions(std::size_t size, std::span<const std::size_t> positions)
{
    std::vector<bool> selected(size, false);
    for (const std::size_t position : positions) {
        if (position < size)
            selected[position] = true;
    }
    return selected;
}

} // namespace rovex
