#include "intake/OccurrenceTable.h"

namespace rovex {

void OccurrenceTable::add(NameInterner::Id port, NameInterner::Id address)
{
    if (!m_pairCounts.add(pairKey(port, address)))
        return;
    auto [addresses, newPort] = m_addressesOfPort.try_emplace(port);
    if (newPort)
        m_portOrder.push_back(port);
    addresses->second.push_back(address);
    auto [ports, newAddress] = m_portsOfAddress.try_emplace(address);
    if (newAddress)
        m_addressOrder.push_back(address);
    ports->second.push_back(port);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::addressesOf(NameInterner::Id port) const
{
    const auto found = m_addressesOfPort.find(port);
    return counted(found == m_addressesOfPort.end() ? nullptr : &found->second, false, port);
}

std::vector<OccurrenceTable::Counterpart> OccurrenceTable::portsOf(NameInterner::Id address) const
{
    const auto found = m_portsOfAddress.find(address);
    return counted(found == m_portsOfAddress.end() ? nullptr : &found->second, true, address);
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

namespace {

constexpr std::size_t mallocOverhead = 16; // glibc's header and rounding per block, on average

template <typename Map>
std::size_t mapBytes(const Map& map)
{
    return map.capacity() * (sizeof(typename Map::value_type) + 1);
}

template <typename Map>
std::size_t listsBytes(const Map& lists)
{
    std::size_t bytes = mapBytes(lists);
    for (const auto& [key, ids] : lists)
        bytes += ids.capacity() * sizeof(NameInterner::Id) + mallocOverhead;
    return bytes;
}

} // namespace

std::size_t OccurrenceTable::bytesHeld() const
{
    return m_pairCounts.bytesHeld() + listsBytes(m_addressesOfPort) + listsBytes(m_portsOfAddress)
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
