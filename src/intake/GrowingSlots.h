#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace rovex {

// Open-addressed slots (linear probing, at most two thirds full) that grow in steps. On
// growth the old array stays beside the new one and a few of its slots move over with
// every insertion, so that no single insertion pays for moving the whole table: moving a
// million entries at once held the event loop for a tenth of a second and more.
//
// A slot of all zero bytes is empty, so that a new array is taken from zeroed pages the
// kernel fills as they are first touched, instead of being written whole at once. Keys:
//     struct Keys {
//         static bool isEmpty(const Slot&);
//         static bool sameKey(const Slot& slot, const Slot& key);
//         static std::uint64_t hash(const Slot& key);
//     };
template <typename Slot, typename Keys>
class GrowingSlots final {
    static_assert(std::is_trivially_copyable_v<Slot>);

public:
    // The slot holding the key, or null. Valid until the next insertion.
    const Slot* find(const Slot& key) const
    {
        if (m_size == 0)
            return nullptr;
        if (const Slot& slot = m_now.slots[m_now.probe(key)]; !Keys::isEmpty(slot))
            return &slot;
        if (!m_old.slots)
            return nullptr;
        const Slot& slot = m_old.slots[m_old.probe(key)];
        return Keys::isEmpty(slot) ? nullptr : &slot;
    }

    // The slot holding the key, or the key stored in a new slot (then the flag is true).
    // Valid until the next insertion.
    std::pair<Slot*, bool> findOrInsert(const Slot& key)
    {
        if (m_old.slots)
            moveSome();
        else if (3 * (m_size + 1) > 2 * m_now.capacity())
            startGrowing();
        Slot& slot = m_now.slots[m_now.probe(key)];
        if (!Keys::isEmpty(slot))
            return {&slot, false};
        if (m_old.slots) {
            // Not moved yet: it is changed where it is, and moves over as it is then.
            Slot& waiting = m_old.slots[m_old.probe(key)];
            if (!Keys::isEmpty(waiting))
                return {&waiting, false};
        }
        slot = key;
        ++m_size;
        return {&slot, true};
    }

    std::size_t size() const { return m_size; }
    std::size_t bytesHeld() const { return (m_now.capacity() + m_old.capacity()) * sizeof(Slot); }
    void clear() { *this = GrowingSlots(); }

private:
    struct FreeSlots {
        void operator()(Slot* slots) const { std::free(slots); }
    };

    struct Array {
        std::unique_ptr<Slot[], FreeSlots> slots;
        std::size_t mask = 0; // capacity - 1; capacity is a power of two

        explicit Array(std::size_t capacity = 0)
        {
            if (capacity == 0)
                return;
            slots.reset(static_cast<Slot*>(std::calloc(capacity, sizeof(Slot))));
            if (!slots)
                throw std::bad_alloc();
            mask = capacity - 1;
        }
        std::size_t capacity() const { return slots ? mask + 1 : 0; }
        // The slot holding the key, or the empty slot where it belongs.
        std::size_t probe(const Slot& key) const
        {
            std::size_t at = Keys::hash(key) & mask;
            while (!Keys::isEmpty(slots[at]) && !Keys::sameKey(slots[at], key))
                at = (at + 1) & mask;
            return at;
        }
    };

    static constexpr std::size_t firstCapacity = 64;
    // Old slots moved per insertion: the old array (half the new one's size) is empty long
    // before the new one is two thirds full.
    static constexpr std::size_t movedPerInsertion = 64;

    void startGrowing()
    {
        const std::size_t capacity = m_now.slots ? 2 * m_now.capacity() : firstCapacity;
        m_old = std::exchange(m_now, Array(capacity));
        m_moved = 0;
        if (m_size == 0)
            m_old = Array();
    }

    // Moved slots stay behind, so that the old array's probe chains stay whole for the
    // slots not moved yet; those are the ones at m_moved and after.
    void moveSome()
    {
        const std::size_t end = std::min(m_old.capacity(), m_moved + movedPerInsertion);
        for (; m_moved < end; ++m_moved) {
            const Slot& slot = m_old.slots[m_moved];
            if (!Keys::isEmpty(slot))
                m_now.slots[m_now.probe(slot)] = slot;
        }
        if (m_moved == m_old.capacity())
            m_old = Array();
    }

    Array m_now;
    Array m_old; // while growing: the array before, its slots before m_moved moved over
    std::size_t m_moved = 0;
    std::size_t m_size = 0;
};

} // namespace rovex
