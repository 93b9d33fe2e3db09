#include "intake/ShortKeyTable.h"

#include <array>
#include <cstring>
#include <utility>

namespace rovex {

ShortKeyTable::Slot ShortKeyTable::keyOf(std::string_view text)
{
    std::array<char, limit> bytes{};
    std::memcpy(bytes.data(), text.data(), text.size());
    Slot key;
    std::memcpy(&key.head, bytes.data(), 8);
    std::memcpy(&key.tail, bytes.data() + 8, 8);
    key.size = static_cast<std::uint32_t>(text.size());
    return key;
}

std::uint64_t ShortKeyTable::hashOf(const Slot& key)
{
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(key.head ^ 0xa0761d6478bd642fULL)
        * (key.tail ^ 0xe7037ed1a0b428dbULL ^ key.size);
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64U);
}

std::size_t ShortKeyTable::probe(const Slot& key) const
{
    std::size_t at = hashOf(key) & m_mask;
    for (;;) {
        const Slot& slot = m_slots[at];
        if (slot.size == empty || (slot.head == key.head && slot.tail == key.tail && slot.size == key.size))
            return at;
        at = (at + 1) & m_mask;
    }
}

std::pair<ShortKeyTable::Id, bool> ShortKeyTable::findOrAdd(std::string_view text, Id next)
{
    // At most two thirds full, so that a search ends within a slot or two.
    if (3 * (m_size + 1) > 2 * (m_mask + 1))
        grow();
    Slot key = keyOf(text);
    Slot& slot = m_slots[probe(key)];
    if (slot.size != empty)
        return {slot.id, false};
    key.id = next;
    slot = key;
    ++m_size;
    return {next, true};
}

std::optional<ShortKeyTable::Id> ShortKeyTable::find(std::string_view text) const
{
    if (m_size == 0)
        return std::nullopt;
    const Slot& slot = m_slots[probe(keyOf(text))];
    return slot.size == empty ? std::nullopt : std::optional<Id>(slot.id);
}

void ShortKeyTable::grow()
{
    const std::size_t capacity = m_mask == 0 ? firstCapacity : 2 * (m_mask + 1);
    std::unique_ptr<Slot[]> old = std::exchange(m_slots, std::make_unique<Slot[]>(capacity));
    const std::size_t oldCapacity = m_mask == 0 ? 0 : m_mask + 1;
    m_mask = capacity - 1;
    for (std::size_t i = 0; i < oldCapacity; ++i) {
        if (old[i].size != empty)
            m_slots[probe(old[i])] = old[i];
    }
}

void ShortKeyTable::clear()
{
    m_slots.reset();
    m_mask = 0;
    m_size = 0;
}

} // namespace rovex
