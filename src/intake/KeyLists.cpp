#include "intake/KeyLists.h"

namespace rovex {

std::pair<std::vector<KeyLists::Id>*, bool> KeyLists::listOf(Id key)
{
    const auto [slot, added] = m_slots.findOrInsert({key + 1, static_cast<std::uint32_t>(m_lists.size())});
    if (added)
        m_lists.emplace_back();
    return {&m_lists[slot->list], added};
}

const std::vector<KeyLists::Id>* KeyLists::find(Id key) const
{
    const Slot* slot = m_slots.find({key + 1, 0});
    return slot == nullptr ? nullptr : &m_lists[slot->list];
}

std::size_t KeyLists::bytesHeld() const
{
    constexpr std::size_t mallocOverhead = 16; // glibc's header and rounding per block, on average
    std::size_t bytes = m_slots.bytesHeld() + m_lists.size() * sizeof(std::vector<Id>);
    for (const std::vector<Id>& list : m_lists)
        bytes += list.capacity() * sizeof(Id) + (list.capacity() == 0 ? 0 : mallocOverhead);
    return bytes;
}

void KeyLists::clear()
{
    m_slots.clear();
    m_lists.clear();
}

} // namespace rovex
