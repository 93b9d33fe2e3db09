#pragma once

#include "intake/GrowingSlots.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace rovex {

// Texts of at most 16 bytes (ports, IPv4 addresses) mapped to numbers, each text held with
// its number inside one 24-byte slot of an open-addressed array: finding a text costs one
// visit to one cache line, where a general hash map pays a second for its control bytes.
class ShortKeyTable final {
public:
    using Id = std::uint32_t;
    static constexpr std::size_t limit = 16;

    // The text's number, or `next` after storing it with that number; the flag tells which.
    std::pair<Id, bool> findOrAdd(std::string_view text, Id next);
    std::optional<Id> find(std::string_view text) const;
    std::size_t size() const { return m_slots.size(); }
    std::size_t bytesHeld() const { return m_slots.bytesHeld(); }
    void clear() { m_slots.clear(); }

private:
    struct Slot {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::uint32_t sizePlusOne = 0; // 0 is an empty slot
        Id id = 0;
    };
    struct Keys {
        static bool isEmpty(const Slot& slot) { return slot.sizePlusOne == 0; }
        static bool sameKey(const Slot& slot, const Slot& key)
        {
            return slot.head == key.head && slot.tail == key.tail && slot.sizePlusOne == key.sizePlusOne;
        }
        static std::uint64_t hash(const Slot& key);
    };

    static Slot keyOf(std::string_view text, Id id = 0);

    GrowingSlots<Slot, Keys> m_slots;
};

} // namespace rovex
