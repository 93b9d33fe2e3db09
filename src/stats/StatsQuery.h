#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rovex {

// The addresses seen on one port text, taken from the source for "in" and from the target
// for "out"; the list keeps at most `limit` entries (at least 1).
struct PortQuery {
    std::string portText;
    std::string direction = "in";
    std::int64_t limit = 10;
};

// What a run selects and how long its lists are, read once when the run starts.
struct StatsQuery {
    std::string action = "block";
    std::string direction = "in";
    std::int64_t limit = 10; // L of both result lists, 0 or more
    std::optional<PortQuery> port;

    // The window's radio matrices: row 1 of passMatrix is "pass", any other "block"; row 1
    // of inoutMatrix is "out", any other "in".
    static StatsQuery fromMatrices(int passMatrixRow, int inoutMatrixRow, std::int64_t limit);
};

// The direction inoutMatrix's row names, as the per-port list reads it.
std::string directionOfRow(int inoutMatrixRow);

} // namespace rovex
