#pragma once

#include <cstdint>
#include <memory>

namespace rovex {

// A count per (port, address) pair, the pair packed in 64 bits, in an open-addressed array
// of 16-byte slots: counting a pair costs one cache line, where a general hash map pays a
// second for its control bytes.
class PairCounts final {
public:
    // Counts the pair once more; true when it is the first time.
    bool add(std::uint64_t pair);
    // The pair's count; 0 if never counted.
    std::int64_t countOf(std::uint64_t pair) const;
    std::size_t size() const { return m_size; }
    std::size_t bytesHeld() const { return m_mask == 0 ? 0 : (m_mask + 1) * sizeof(Slot); }
    void clear();

private:
    struct Slot {
        std::uint64_t pair = empty;
        std::int64_t count = 0;
    };
    static constexpr std::uint64_t empty = UINT64_MAX; // no pair: numbers stay below 2^32 - 1
    static constexpr std::size_t firstCapacity = 64;

    // The slot holding the pair, or the empty slot where it belongs.
    std::size_t probe(std::uint64_t pair) const;
    void grow();

    std::unique_ptr<Slot[]> m_slots;
    std::size_t m_mask = 0; // capacity - 1; capacity is a power of two
    std::size_t m_size = 0;
};

} // namespace rovex
