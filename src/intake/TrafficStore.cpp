#include "intake/TrafficStore.h"

#include "intake/SelectedPositions.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <utility>

namespace rovex {
namespace {

constexpr std::string_view genericServiceImage = "genericservice";

// Appends the names at the positions to an ignore list, each name once, in the given order.
template <typename Row>
void appendNames(const RowList<Row>& rows, std::span<const std::size_t> positions,
                 const std::function<bool(std::string_view)>& add)
{
    for (const std::size_t position : positions) {
        if (position < rows.size())
            add(rowName(rows[position]));
    }
}

void eraseAt(std::vector<std::string>& list, TextSet& lookup, std::span<const std::size_t> positions)
{
    const std::vector<bool> doomed = selectedPositions(list.size(), positions);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (doomed[i]) {
            lookup.erase(list[i]);
            continue;
        }
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

bool appendOnce(std::vector<std::string>& list, TextSet& lookup, std::string_view name)
{
    if (!lookup.emplace(name).second)
        return false;
    list.emplace_back(name);
    return true;
}

} // namespace

TrafficStore::TrafficStore(ServiceImages allServicesDict) : m_allServicesDict(std::move(allServicesDict)) {}

void TrafficStore::smistastatistiche(std::string_view /*unused*/, std::string_view port14,
                                     std::string_view ipristrutturato12, std::string_view ipristrutturato14,
                                     std::string_view passorblock, std::string_view inorout)
{
    const auto kind = kindOf(passorblock, inorout);
    if (!kind)
        return;
    const std::string_view address = isInbound(*kind) ? ipristrutturato12 : ipristrutturato14;
    m_occurrences[indexOf(*kind)].add(m_ports.intern(port14), m_addresses.intern(address));
}

void TrafficStore::updatePortTable(TrafficCategory category, std::string_view port, TimePoint now)
{
    if (isPortTable(category) && !port.empty())
        countPort(category, m_ports.intern(port), now);
}

void TrafficStore::updateAddressTable(TrafficCategory category, std::string_view address, TimePoint now)
{
    if (!isPortTable(category) && !address.empty())
        countAddress(category, m_addresses.intern(address), now);
}

void TrafficStore::recordLine(TrafficKind kind, std::string_view port, std::string_view address, bool dispatch,
                              TimePoint now)
{
    // Empty texts are interned only when the dispatch records them, as it records any text.
    constexpr NameInterner::Id none = UINT32_MAX;
    const NameInterner::Id portId = (dispatch || !port.empty()) ? m_ports.intern(port) : none;
    const NameInterner::Id addressId = (dispatch || !address.empty()) ? m_addresses.intern(address) : none;
    if (dispatch)
        m_occurrences[indexOf(kind)].add(portId, addressId);
    if (!port.empty())
        countPort(portTable(kind), portId, now);
    if (!address.empty())
        countAddress(addressTable(kind), addressId, now);
}

template <typename Row, typename MakeRow>
void TrafficStore::count(RowTable<Row>& table, TrafficCategory category, NameInterner::Id id, const MakeRow& makeRow)
{
    TableChanges& changes = m_changes[category];
    if (const std::size_t position = table.positionOf(id); position != RowTable<Row>::absent) {
        countUp(table.rows()[position]);
        if (table.restamp(id, m_generation))
            changes.counted.push_back(position);
        return;
    }
    const std::size_t position = table.append(id, makeRow());
    table.restamp(id, m_generation);
    changes.added.push_back(position);
}

void TrafficStore::countPort(TrafficCategory category, NameInterner::Id port, TimePoint now)
{
    count(portTableOf(category), category, port, [&] { return makePortRow(port, now); });
}

void TrafficStore::countAddress(TrafficCategory category, NameInterner::Id address, TimePoint now)
{
    count(addressTableOf(category), category, address, [&] { return makeAddressRow(address, now); });
}

ObjPort TrafficStore::makePortRow(NameInterner::Id port, TimePoint now)
{
    ObjPort row;
    row.portName = m_ports.name(port);
    const auto service = m_allServicesDict.find(row.portName);
    row.portImage = label(service != m_allServicesDict.end() ? std::string_view(service->second) : genericServiceImage);
    row.portCount = 1;
    row.portDate = now;
    row.sighting = m_nextSighting++;
    return row;
}

ObjIp TrafficStore::makeAddressRow(NameInterner::Id address, TimePoint now)
{
    ObjIp row;
    row.ipName = m_addresses.name(address);
    row.ipCount = 1;
    row.ipDate = now;
    row.sighting = m_nextSighting++;
    return row;
}

std::string_view TrafficStore::label(std::string_view text) { return m_labels.name(m_labels.intern(text)); }

bool TrafficStore::addIgnoredPort(std::string_view port) { return appendOnce(m_ignorePort, m_ignoredPorts, port); }

bool TrafficStore::addIgnoredAddress(std::string_view address)
{
    return appendOnce(m_ignoreIp, m_ignoredAddresses, address);
}

void TrafficStore::ignore(TrafficCategory category, std::span<const std::size_t> positions)
{
    if (isPortTable(category))
        appendNames(portRows(category), positions, [this](std::string_view name) { return addIgnoredPort(name); });
    else
        appendNames(ipRows(category), positions, [this](std::string_view name) { return addIgnoredAddress(name); });
}

void TrafficStore::remove(TrafficCategory category, std::span<const std::size_t> positions)
{
    if (isPortTable(category))
        portTableOf(category).remove(positions);
    else
        addressTableOf(category).remove(positions);
    m_changes[category] = {}; // positions taken before a removal would point at other rows
}

void TrafficStore::deIgnorePort(std::span<const std::size_t> positions)
{
    eraseAt(m_ignorePort, m_ignoredPorts, positions);
}

void TrafficStore::deIgnoreIp(std::span<const std::size_t> positions)
{
    eraseAt(m_ignoreIp, m_ignoredAddresses, positions);
}

void TrafficStore::cleanAll()
{
    for (auto& table : m_portTables)
        table.clear();
    for (auto& table : m_addressTables)
        table.clear();
    for (auto& occurrences : m_occurrences)
        occurrences.clear();
    // Every number handed out lived only in the tables and dictionaries just emptied.
    m_ports.clear();
    m_addresses.clear();
    m_changes = {};
}

const RowList<ObjPort>& TrafficStore::portRows(TrafficCategory category) const
{
    return m_portTables[indexOf(kindOf(category))].rows();
}

const RowList<ObjIp>& TrafficStore::ipRows(TrafficCategory category) const
{
    return m_addressTables[indexOf(kindOf(category))].rows();
}

std::size_t TrafficStore::rowCount(TrafficCategory category) const
{
    return isPortTable(category) ? portRows(category).size() : ipRows(category).size();
}

std::string_view TrafficStore::rowName(TrafficCategory category, std::size_t position) const
{
    return isPortTable(category) ? rovex::rowName(portRows(category)[position])
                                 : rovex::rowName(ipRows(category)[position]);
}

std::vector<std::size_t> TrafficStore::rankedByCount(TrafficCategory category) const
{
    return withTable(category, [](const auto& table) {
        table.rankAll();
        std::vector<std::size_t> order;
        order.reserve(table.rows().size());
        table.ranking().forEach([&](RankKey key) { order.push_back(table.positionOfSighting(key.sighting)); });
        return order;
    });
}

void TrafficStore::rank(TrafficCategory category, std::span<const std::size_t> positions)
{
    withTable(category, [positions](const auto& table) {
        for (const std::size_t position : positions)
            table.rank(position);
    });
}

std::size_t TrafficStore::rankedRows(TrafficCategory category) const
{
    return withTable(category, [](const auto& table) { return table.ranking().size(); });
}

std::size_t TrafficStore::positionAtRank(TrafficCategory category, std::size_t rank) const
{
    return withTable(category, [rank](const auto& table) { return table.positionAtRank(rank); });
}

std::size_t TrafficStore::rankOf(TrafficCategory category, std::size_t position) const
{
    return withTable(category, [position](const auto& table) { return table.rankOf(position); });
}

std::size_t TrafficStore::rankOfKey(TrafficCategory category, RankKey key) const
{
    return withTable(category, [key](const auto& table) { return table.ranking().rankOf(key); });
}

void TrafficStore::setCountry(TrafficCategory category, std::size_t position, std::string_view code,
                              std::string_view nation)
{
    auto& rows = addressTableOf(category).rows();
    if (isPortTable(category) || position >= rows.size())
        return;
    rows[position].ipImage = label(code);
    if (!nation.empty())
        rows[position].nationName = label(nation);
}

std::vector<std::string_view> TrafficStore::occurrenceKeys(TrafficCategory category) const
{
    const OccurrenceTable& table = m_occurrences[indexOf(kindOf(category))];
    const bool ports = isPortTable(category);
    const NameInterner& names = ports ? m_ports : m_addresses;
    std::vector<std::string_view> keys;
    for (const NameInterner::Id id : ports ? table.ports() : table.addresses())
        keys.push_back(names.name(id));
    return keys;
}

std::vector<TrafficStore::Counterpart> TrafficStore::occurrences(TrafficCategory category, std::string_view name) const
{
    // A name never interned was never recorded; interning it here would change the store.
    const bool ports = isPortTable(category);
    std::vector<Counterpart> result;
    const OccurrenceTable& table = m_occurrences[indexOf(kindOf(category))];
    const NameInterner& keys = ports ? m_ports : m_addresses;
    const NameInterner& counterparts = ports ? m_addresses : m_ports;
    const auto id = keys.find(name);
    if (!id)
        return result;
    for (const auto& [counterpart, count] : ports ? table.addressesOf(*id) : table.portsOf(*id))
        result.push_back({counterparts.name(counterpart), count});
    return result;
}

std::size_t TrafficStore::occurrencePairs() const
{
    std::size_t pairs = 0;
    for (const OccurrenceTable& table : m_occurrences)
        pairs += table.pairCount();
    return pairs;
}

std::size_t TrafficStore::occurrenceBytes() const
{
    std::size_t bytes = 0;
    for (const OccurrenceTable& table : m_occurrences)
        bytes += table.bytesHeld();
    return bytes;
}

StoreChanges TrafficStore::takeChanges()
{
    if (++m_generation == 0) { // wrapped: no row may keep a mark that would match again
        for (auto& table : m_portTables)
            table.clearStamps();
        for (auto& table : m_addressTables)
            table.clearStamps();
        m_generation = 1;
    }
    return std::exchange(m_changes, {});
}

RowTable<ObjPort>& TrafficStore::portTableOf(TrafficCategory category)
{
    return m_portTables[indexOf(kindOf(category))];
}

RowTable<ObjIp>& TrafficStore::addressTableOf(TrafficCategory category)
{
    return m_addressTables[indexOf(kindOf(category))];
}

} // namespace rovex
