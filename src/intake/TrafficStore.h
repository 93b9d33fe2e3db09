#pragma once

#include "firewall/ServiceDescription.h"
#include "intake/NameInterner.h"
#include "intake/OccurrenceTable.h"
#include "intake/RowTable.h"
#include "intake/StoreChanges.h"
#include "intake/TrafficCategory.h"
#include "intake/TrafficRows.h"

#include "text/TextHash.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rovex {

// What the live classifier has seen since the program started: the eight tables, the
// occurrence dictionaries of each kind of traffic and the two ignore lists. Changed on
// one thread only; nothing of it is saved.
class TrafficStore final {
public:
    struct Counterpart {
        std::string_view name;
        std::int64_t count;
    };

    TrafficStore() = default;
    explicit TrafficStore(ServiceImages allServicesDict);
    // Rows point into the store's own names: a copy would point into the original.
    TrafficStore(const TrafficStore&) = delete;
    TrafficStore& operator=(const TrafficStore&) = delete;
    TrafficStore(TrafficStore&&) = default;
    TrafficStore& operator=(TrafficStore&&) = default;

    const ServiceImages& allServicesDict() const { return m_allServicesDict; }
    void setAllServicesDict(ServiceImages images) { m_allServicesDict = std::move(images); }

    // The statistics dispatch: records that port14 met the line's remote address in the
    // kind named by the two words. The first argument is not used.
    void smistastatistiche(std::string_view unused, std::string_view port14, std::string_view ipristrutturato12,
                           std::string_view ipristrutturato14, std::string_view passorblock, std::string_view inorout);

    // Counts the key in a table, adding a row with count 1 when the table has none by
    // that name; an empty key changes nothing.
    void updatePortTable(TrafficCategory category, std::string_view port, TimePoint now);
    void updateAddressTable(TrafficCategory category, std::string_view address, TimePoint now);

    // One classified line: the dispatch (when asked) and both table updates of its kind,
    // with the port and the kind's address looked up once each.
    void recordLine(TrafficKind kind, std::string_view port, std::string_view address, bool dispatch, TimePoint now);

    // Ignore lists, in the order names were added.
    const std::vector<std::string>& ignorePort() const { return m_ignorePort; }
    const std::vector<std::string>& ignoreIp() const { return m_ignoreIp; }
    bool isIgnoredPort(std::string_view port) const { return m_ignoredPorts.contains(port); }
    bool isIgnoredAddress(std::string_view address) const { return m_ignoredAddresses.contains(address); }
    bool hasIgnoredAddresses() const { return !m_ignoreIp.empty(); }
    bool addIgnoredPort(std::string_view port);
    bool addIgnoredAddress(std::string_view address);

    // User actions on a table: positions are row positions in the table's row list.
    void ignore(TrafficCategory category, std::span<const std::size_t> positions);
    void remove(TrafficCategory category, std::span<const std::size_t> positions);
    void deIgnorePort(std::span<const std::size_t> positions);
    void deIgnoreIp(std::span<const std::size_t> positions);
    void cleanAll();

    const RowList<ObjPort>& portRows(TrafficCategory category) const;
    const RowList<ObjIp>& ipRows(TrafficCategory category) const;
    std::size_t rowCount(TrafficCategory category) const;
    std::string_view rowName(TrafficCategory category, std::size_t position) const;
    // Row positions by count, highest first; equal counts by first sighting.
    std::vector<std::size_t> rankedByCount(TrafficCategory category) const;
    // The same ranking, kept for views: rank() tells it which rows were added or counted,
    // after which positionAtRank() and rankOf() answer for them (absent for rows not ranked).
    void rank(TrafficCategory category, std::span<const std::size_t> positions);
    std::size_t rankedRows(TrafficCategory category) const;
    std::size_t positionAtRank(TrafficCategory category, std::size_t rank) const;
    std::size_t rankOf(TrafficCategory category, std::size_t position) const;
    // The rank a row with this key would take among the ranked rows: how many rank before it.
    std::size_t rankOfKey(TrafficCategory category, RankKey key) const;

    // The country found for an address row: its flag (named by the code) and its name,
    // which stays as it was when the code has none.
    void setCountry(TrafficCategory category, std::size_t position, std::string_view code, std::string_view nation);

    // The occurrence dictionary of a table: its keys in first-seen order, and the
    // counterparts of one key with how often each was seen with it.
    std::vector<std::string_view> occurrenceKeys(TrafficCategory category) const;
    std::vector<Counterpart> occurrences(TrafficCategory category, std::string_view name) const;
    // The whole dictionary of a table in one walk, keys in first-seen order: key(name) once
    // per key, then counterpart(name, count) for each of its counterparts. Nothing is looked
    // up by name and no list is built, so writing it out costs what it holds.
    template <typename Key, typename Counterpart>
    void forEachOccurrence(TrafficCategory category, Key&& key, Counterpart&& counterpart) const
    {
        const OccurrenceTable& table = m_occurrences[indexOf(kindOf(category))];
        const bool ports = isPortTable(category);
        const NameInterner& keys = ports ? m_ports : m_addresses;
        const NameInterner& counterparts = ports ? m_addresses : m_ports;
        const auto visit = [&](NameInterner::Id id, std::int64_t count) { counterpart(counterparts.name(id), count); };
        for (const NameInterner::Id id : ports ? table.ports() : table.addresses()) {
            key(keys.name(id));
            if (ports)
                table.forEachAddressOf(id, visit);
            else
                table.forEachPortOf(id, visit);
        }
    }

    // Distinct pairs over the four dictionaries, and the bytes they hold (for the benchmarks).
    std::size_t occurrencePairs() const;
    std::size_t occurrenceBytes() const;

    // The rows added and counted since the last call.
    StoreChanges takeChanges();

private:
    void countPort(TrafficCategory category, NameInterner::Id port, TimePoint now);
    void countAddress(TrafficCategory category, NameInterner::Id address, TimePoint now);
    template <typename Row, typename MakeRow>
    void count(RowTable<Row>& table, TrafficCategory category, NameInterner::Id id, const MakeRow& makeRow);
    ObjPort makePortRow(NameInterner::Id port, TimePoint now);
    ObjIp makeAddressRow(NameInterner::Id address, TimePoint now);
    // The text kept once among the images and country names rows point to.
    std::string_view label(std::string_view text);
    RowTable<ObjPort>& portTableOf(TrafficCategory category);
    RowTable<ObjIp>& addressTableOf(TrafficCategory category);
    // Calls use(table) with the category's table, whichever kind of row it holds.
    template <typename Use>
    decltype(auto) withTable(TrafficCategory category, Use&& use) const
    {
        const std::size_t index = indexOf(kindOf(category));
        return isPortTable(category) ? use(m_portTables[index]) : use(m_addressTables[index]);
    }

    ServiceImages m_allServicesDict;
    NameInterner m_ports;
    NameInterner m_addresses;
    NameInterner m_labels; // images and country names: few, and never cleared
    std::array<RowTable<ObjPort>, trafficKindCount> m_portTables;
    std::array<RowTable<ObjIp>, trafficKindCount> m_addressTables;
    std::array<OccurrenceTable, trafficKindCount> m_occurrences;
    std::vector<std::string> m_ignorePort;
    std::vector<std::string> m_ignoreIp;
    TextSet m_ignoredPorts;
    TextSet m_ignoredAddresses;
    std::uint64_t m_nextSighting = 0;
    StoreChanges m_changes;
    std::uint32_t m_generation = 1; // rows stamped with it are already in m_changes
};

} // namespace rovex
