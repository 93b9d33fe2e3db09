#include "intake/ShortKeyTable.h"

#include <array>
#include <cstring>

namespace rovex {

ShortKeyTable::Slot ShortKeyTable::keyOf(std::string_view text, Id id)
{
    std::array<char, limit> bytes{};
    std::memcpy(bytes.data(), text.data(), text.size());
    Slot key;
    std::memcpy(&key.head, bytes.data(), 8);
    std::memcpy(&key.tail, bytes.data() + 8, 8);
    key.sizePlusOne = static_cast<std::uint32_t>(text.size()) + 1;
    key.id = id;
    return key;
}

std::uint64_t ShortKeyTable::Keys::hash(const Slot& key)
{
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(key.head ^ 0xa0761d6478bd642fULL)
        * (key.tail ^ 0xe7037ed1a0b428dbULL ^ key.sizePlusOne);
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64U);
}

std::pair<ShortKeyTable::Id, bool> ShortKeyTable::findOrAdd(std::string_view text, Id next)
{
    const auto [slot, added] = m_slots.findOrInsert(keyOf(text, next));
    return {slot->id, added};
}

std::optional<ShortKeyTable::Id> ShortKeyTable::find(std::string_view text) const
{
    const Slot* slot = m_slots.find(keyOf(text));
    return slot == nullptr ? std::nullopt : std::optional<Id>(slot->id);
}

} // namespace rovex
