#include "intake/PairCounts.h"

namespace rovex {

std::uint64_t PairCounts::Keys::hash(const Slot& key)
{
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(key.key ^ 0xa0761d6478bd642fULL) * 0xe7037ed1a0b428dbULL;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64U);
}

bool PairCounts::add(std::uint64_t pair)
{
    const auto [slot, added] = m_slots.findOrInsert({pair + 1, 0});
    ++slot->count;
    return added;
}

std::int64_t PairCounts::countOf(std::uint64_t pair) const
{
    const Slot* slot = m_slots.find({pair + 1, 0});
    return slot == nullptr ? 0 : slot->count;
}

} // namespace rovex
