#pragma once

#include <cstdint>

namespace rovex {

// A small, fast pseudo-random source (xoshiro256**) whose sequence depends only on the
// seed, on every platform and library: the simulator's output must repeat for a seed,
// which the standard distributions do not promise.
class SimRandom final {
public:
    explicit SimRandom(std::uint64_t seed);

    std::uint64_t next();
    // A value in [0, bound); bound 0 gives 0.
    std::uint32_t below(std::uint32_t bound);
    // A value in [low, high], both included.
    std::uint32_t between(std::uint32_t low, std::uint32_t high);
    // True with the given chance, in percent.
    bool percent(std::uint32_t chance);

private:
    std::uint64_t m_state[4];
};

} // namespace rovex
