#include "intake/PairCounts.h"

#include <utility>

namespace rovex {

std::size_t PairCounts::probe(std::uint64_t pair) const
{
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(pair ^ 0xa0761d6478bd642fULL) * 0xe7037ed1a0b428dbULL;
    std::size_t at = static_cast<std::size_t>(static_cast<std::uint64_t>(product)
                                              ^ static_cast<std::uint64_t>(product >> 64U))
        & m_mask;
    while (m_slots[at].pair != empty && m_slots[at].pair != pair)
        at = (at + 1) & m_mask;
    return at;
}

bool PairCounts::add(std::uint64_t pair)
{
    // At most two thirds full, so that a search ends within a slot or two.
    if (3 * (m_size + 1) > 2 * (m_mask + 1))
        grow();
    Slot& slot = m_slots[probe(pair)];
    if (slot.pair == pair) {
        ++slot.count;
        return false;
    }
    slot = {pair, 1};
    ++m_size;
    return true;
}

std::int64_t PairCounts::countOf(std::uint64_t pair) const
{
    if (m_size == 0)
        return 0;
    const Slot& slot = m_slots[probe(pair)];
    return slot.pair == pair ? slot.count : 0;
}

void PairCounts::grow()
{
    const std::size_t oldCapacity = m_mask == 0 ? 0 : m_mask + 1;
    const std::size_t capacity = oldCapacity == 0 ? firstCapacity : 2 * oldCapacity;
    std::unique_ptr<Slot[]> old = std::exchange(m_slots, std::make_unique<Slot[]>(capacity));
    m_mask = capacity - 1;
    for (std::size_t i = 0; i < oldCapacity; ++i) {
        if (old[i].pair != empty)
            m_slots[probe(old[i].pair)] = old[i];
    }
}

void PairCounts::clear()
{
    m_slots.reset();
    m_mask = 0;
    m_size = 0;
}

} // namespace rovex
