#pragma once

#include "intake/GrowingSlots.h"

#include <cstdint>

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
    std::size_t size() const { return m_slots.size(); }
    std::size_t bytesHeld() const { return m_slots.bytesHeld(); }
    void clear() { m_slots.clear(); }

private:
    struct Slot {
        std::uint64_t key = 0; // the pair + 1; 0 is an empty slot (numbers stay below 2^32 - 1)
        std::int64_t count = 0;
    };
    struct Keys {
        static bool isEmpty(const Slot& slot) { return slot.key == 0; }
        static bool sameKey(const Slot& slot, const Slot& key) { return slot.key == key.key; }
        static std::uint64_t hash(const Slot& key);
    };

    GrowingSlots<Slot, Keys> m_slots;
};

} // namespace rovex
