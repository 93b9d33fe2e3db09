#include "intake/KeyLists.h"

namespace rovex {

bool KeyLists::append(Id key, Id counterpart)
{
    const auto [slot, added] = m_slots.findOrInsert({key + 1, 0, {}});
    if (slot->size < inPlace) {
        slot->ids[slot->size] = counterpart;
    } else if (slot->size == inPlace) {
        std::vector<Id>& list = m_longLists.emplace_back(slot->ids.begin(), slot->ids.end());
        list.push_back(counterpart);
        slot->ids[0] = static_cast<Id>(m_longLists.size() - 1);
    } else {
        m_longLists[slot->ids[0]].push_back(counterpart);
    }
    ++slot->size;
    return added;
}

std::span<const KeyLists::Id> KeyLists::find(Id key) const
{
    const Slot* slot = m_slots.find({key + 1, 0, {}});
    if (slot == nullptr)
        return {};
    if (slot->size <= inPlace)
        return {slot->ids.data(), slot->size};
    return m_longLists[slot->ids[0]];
}

std::size_t KeyLists::bytesHeld() const
{
    constexpr std::size_t mallocOverhead = 16; // glibc's header and rounding per block, on average
    std::size_t bytes = m_slots.bytesHeld() + m_longLists.size() * (sizeof(std::vector<Id>) + mallocOverhead);
    for (const std::vector<Id>& list : m_longLists)
        bytes += list.capacity() * sizeof(Id);
    return bytes;
}

void KeyLists::clear()
{
    m_slots.clear();
    m_longLists.clear();
}

} // namespace rovex
