#include "intake/OccurrenceTable.h"

namespace rovex {

void OccurrenceTable::add(NameInterner::Id port, NameInterner::Id address)
{
    if (!m_pairCounts.add(pairKey(port, address)))
        return;
    const auto [addresses, newPort] = m_addressesOfPort.listOf(port);
    if (newPort)
        m_portOrder.push_back(port);
    addresses->push_back(address);
    const auto [ports, newAddress] = m_portsOfAddress.listOf(address);
    if (newAddress)
        m_addressOrder.push_back(address);
    ports->push_back(port);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::addressesOf(NameInterner::Id port) const
{
    return counted(m_addressesOfPort.find(port), false, port);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::portsOf(NameInterner::Id address) const
{
    return counted(m_portsOfAddress.find(address), true, address);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::counted(const std::vector<NameInterner::Id>* ids,
                                                                   bool idsArePorts, NameInterner::Id key) const
{
    std::vector<Counterpart> result;
    if (ids == nullptr)
        return result;
    result.reserve(ids->size());
    for (const NameInterner::Id id : *ids) {
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
