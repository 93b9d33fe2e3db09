#include "sim/SimRandom.h"

namespace rovex {

namespace {

std::uint64_t splitMix(std::uint64_t& x)
{
    x += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr std::uint64_t rotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

} // namespace

SimRandom::SimRandom(std::uint64_t seed)
{
    // Spread the seed so that nearby seeds give unrelated sequences and the state is never
    // all zero.
    for (std::uint64_t& word : m_state)
        word = splitMix(seed);
}

std::uint64_t SimRandom::next()
{
    const std::uint64_t result = rotateLeft(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotateLeft(m_state[3], 45);
    return result;
}

std::uint32_t SimRandom::below(std::uint32_t bound)
{
    // Multiply-shift: the bias for bounds far below 2^32 is too small to matter here.
    return static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
}

std::uint32_t SimRandom::between(std::uint32_t low, std::uint32_t high) { return low + below(high - low + 1); }

bool SimRandom::percent(std::uint32_t chance) { return below(100) < chance; }

} // namespace rovex
