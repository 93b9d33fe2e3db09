#pragma once

#include "intake/GrowingSlots.h"
#include "intake/NameInterner.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace rovex {

// For each key (a port or an address), the counterparts seen with it in first-seen order.
// Most addresses meet one or two ports, so a list of up to two lives in the key's own
// slot, found with the key in one cache line; a longer one moves to a vector of its own.
// The slots grow in steps and the vectors sit in a deque, which never moves them: a
// million addresses never make one line wait for every list to move.
class KeyLists final {
public:
    using Id = NameInterner::Id;

    // Adds the counterpart at the end of the key's list; true when the key is new.
    bool append(Id key, Id counterpart);
    // The key's list; empty when the key was never seen. Valid until the next append.
    std::span<const Id> find(Id key) const;

    std::size_t bytesHeld() const;
    void clear();

private:
    static constexpr std::uint32_t inPlace = 2;

    struct Slot {
        std::uint32_t keyPlusOne = 0; // 0 is an empty slot
        std::uint32_t size = 0;
        // The list while it is short; past inPlace, ids[0] is its index into m_longLists.
        std::array<Id, inPlace> ids{};
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
    std::deque<std::vector<Id>> m_longLists;
};

} // namespace rovex
