#pragma once

#include "intake/KeyLists.h"
#include "intake/NameInterner.h"
#include "intake/PairCounts.h"

#include <cstdint>
#include <span>
#include <vector>

namespace rovex {

// Which ports met which addresses in one kind of traffic, and how often. It holds both
// occurrence dictionaries of the kind at once (port -> addresses, address -> ports), since
// every dispatched line adds the same pair to both; a count per pair keeps memory bound to
// the distinct pairs instead of growing with every line.
class OccurrenceTable final {
public:
    struct Counterpart {
        NameInterner::Id id;
        std::int64_t count;
    };

    void add(NameInterner::Id port, NameInterner::Id address);

    // Keys in the order they were first seen.
    const std::vector<NameInterner::Id>& ports() const { return m_portOrder; }
    const std::vector<NameInterner::Id>& addresses() const { return m_addressOrder; }

    // Counterparts of a key in the order they were first seen with it; empty if none.
    std::vector<Counterpart> addressesOf(NameInterner::Id port) const;
    std::vector<Counterpart> portsOf(NameInterner::Id address) const;

    // Each counterpart of a key with its count, first-seen order, without building a list.
    template <typename Visit>
    void forEachAddressOf(NameInterner::Id port, Visit&& visit) const
    {
        for (const NameInterner::Id address : m_addressesOfPort.find(port))
            visit(address, m_pairCounts.countOf(pairKey(port, address)));
    }
    template <typename Visit>
    void forEachPortOf(NameInterner::Id address, Visit&& visit) const
    {
        for (const NameInterner::Id port : m_portsOfAddress.find(address))
            visit(port, m_pairCounts.countOf(pairKey(port, address)));
    }

    void clear();

    // Distinct (port, address) pairs, and the bytes this table holds for them: what the
    // memory budget of the tables counts apart from their rows.
    std::size_t pairCount() const { return m_pairCounts.size(); }
    std::size_t bytesHeld() const;

private:
    static std::uint64_t pairKey(NameInterner::Id port, NameInterner::Id address)
    {
        return (std::uint64_t{port} << 32U) | address;
    }
    std::vector<Counterpart> counted(std::span<const NameInterner::Id> ids, bool idsArePorts,
                                     NameInterner::Id key) const;

    PairCounts m_pairCounts;
    KeyLists m_addressesOfPort;
    KeyLists m_portsOfAddress;
    std::vector<NameInterner::Id> m_portOrder;
    std::vector<NameInterner::Id> m_addressOrder;
};

} // namespace rovex
