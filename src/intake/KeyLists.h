#pragma once

#include "intake/GrowingSlots.h"
#include "intake/NameInterner.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace rovex {

// For each key (a port or an address), the counterparts seen with it in first-seen order.
// The lists sit in a deque, which never moves them as it grows, and the keys find their
// list through slots that grow in steps: a million addresses never make one line wait for
// every list to move.
class KeyLists final {
public:
    using Id = NameInterner::Id;

    // The key's list, made empty the first time (then the flag is true). Valid until the
    // next call.
    std::pair<std::vector<Id>*, bool> listOf(Id key);
    // The key's list, or null when the key was never seen.
    const std::vector<Id>* find(Id key) const;

    std::size_t bytesHeld() const;
    void clear();

private:
    struct Slot {
        std::uint32_t keyPlusOne = 0; // 0 is an empty slot
        std::uint32_t list = 0;       // index into m_lists
    };
    struct Keys {
        static bool isEmpty(const Slot& slot) { return slot.keyPlusOne == 0; }
        static bool sameKey(const Slot& slot, const Slot& key) { return slot.keyPlusOne == key.keyPlusOne; }
        static std::uint64_t hash(const Slot& key)
        {
            return std::uint64_t{key.keyPlusOne} * 0x9E3779B97F4A7C15ULL >> 16U;
        }
    };

    GrowingSlots<Slot, Keys> m_slots;
    std::deque<std::vector<Id>> m_lists;
};

} // namespace rovex
