#include "intake/OccurrenceTable.h"

namespace rovex {

void OccurrenceTable::add(NameInterner::Id port, NameInterner::Id address)
{
    if (!m_pairCounts.add(pairKey(port, address)))
        return;
    if (m_addressesOfPort.append(port, address))
        m_portOrder.push_back(port);
    if (m_portsOfAddress.append(address, port))
        m_addressOrder.push_back(address);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::addressesOf(NameInterner::Id port) const
{
    return counted(m_addressesOfPort.find(port), false, port);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::portsOf(NameInterner::Id address) const
{
    return counted(m_portsOfAddress.find(address), true, address);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::counted(std::span<const NameInterner::Id> ids,
                                                                   bool idsArePorts, NameInterner::Id key) const
{
    std::vector<Counterpart> result;
    result.reserve(ids.size());
    for (const NameInterner::Id id : ids) {
        const std::uint64_t pair = idsArePorts ? pairKey(id, key) : pairKey(key, id);
        result.push_back({id, m_pairCounts.countOf(pair)});
    }
    return result;
}

std::size_t OccurrenceTable::bytesHeld() const
{
    return m_pairCounts.bytesHeld() + m_addressesOfPort.bytesHeld() + m_portsOfAddress.bytesHeld()
        + (m_portOrder.capacity() + m_addressOrder.capacity()) * sizeof(NameInterner::Id);
}

void OccurrenceTable::clear()
{
    m_pairCounts.clear();
    m_addressesOfPort.clear();
    m_portsOfAddress.clear();
    m_portOrder.clear();
    m_addressOrder.clear();
}

} // namespace rovex
