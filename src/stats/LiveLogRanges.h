#pragma once

#include "stats/StatsTally.h"

#include <cstdint>
#include <vector>

namespace rovex {

// A piece of the live log that starts at the beginning of a line; every piece but the last
// ends just after a "\n", so the pieces' lines are the file's lines.
struct ByteRange {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    bool last = false;
};

// The first `size` bytes of the file cut into at most `parts` pieces of at least
// minimumBytes each, at line breaks; always at least one piece.
std::vector<ByteRange> newlineAlignedRanges(int fd, std::uint64_t size, std::size_t parts, std::uint64_t minimumBytes);

// Counts the lines of one piece; the last piece also hands on what follows its last "\n".
void tallyRange(int fd, const ByteRange& range, StatsTally& tally);

} // namespace rovex
