#include "stats/StatsAggregation.h"

#include "chart/PieChart.h"
#include "text/DecimalText.h"

#include <algorithm>

namespace rovex {
namespace {

// The first `limit` entries of the counts, largest first, ties by text.
std::vector<NameCount> leading(const TextMap<std::int64_t>& counts, std::int64_t limit)
{
    std::vector<NameCount> ranked;
    ranked.reserve(counts.size());
    for (const auto& [text, count] : counts)
        ranked.push_back({text, count});
    const std::size_t k = std::min(ranked.size(), static_cast<std::size_t>(std::max<std::int64_t>(limit, 0)));
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(k), ranked.end(),
                      [](const NameCount& a, const NameCount& b) {
                          return a.count != b.count ? a.count > b.count : a.name < b.name;
                      });
    ranked.resize(k);
    return ranked;
}

std::int64_t totalOf(const std::vector<NameCount>& entries)
{
    std::int64_t total = 0;
    for (const NameCount& entry : entries)
        total += entry.count;
    return total;
}

// Slices in the order given (already ranked), radius 90, without a sign.
std::vector<RXDiaObj> slicesOf(const std::vector<NameCount>& ranked)
{
    std::vector<RXDiaObj> slices = makegrafico(ranked);
    for (RXDiaObj& slice : slices)
        slice.theSign.clear();
    return slices;
}

void listAddresses(const StatsTally& tally, std::int64_t limit, StatsResult& result)
{
    const std::vector<NameCount> ranked = leading(tally.addressCounts(), limit);
    const std::int64_t total = totalOf(ranked);
    for (std::size_t position = 0; position < ranked.size(); ++position) {
        const int rank = static_cast<int>(position) + 1;
        result.addresses.push_back({std::string(ranked[position].name), ranked[position].count, total, rank,
                                    colori10(rank), std::string(pieSign)});
    }
    result.addressSlices = slicesOf(ranked);
}

void listPorts(const StatsTally& tally, std::int64_t limit, StatsResult& result)
{
    const std::vector<NameCount> ranked = leading(tally.portCounts(), limit);
    const std::int64_t total = totalOf(ranked);
    for (std::size_t position = 0; position < ranked.size(); ++position) {
        const int rank = static_cast<int>(position) + 1;
        const std::int64_t port = readDecimal(ranked[position].name).value_or(0);
        result.ports.push_back({std::string(ranked[position].name), port, ranked[position].count, std::to_string(port),
                                total, rank, colori10(rank), std::string(pieSign)});
    }
    std::vector<NameCount> byNumber;
    for (const RXPort& entry : result.ports)
        byNumber.push_back({entry.thePortString, entry.theOccurrences});
    result.portSlices = slicesOf(byNumber);
}

// The per-port list: its total is over every address seen on the port, not only the kept.
IpsForPort listIpsForPort(const StatsTally& tally, const PortQuery& port)
{
    const TextMap<std::int64_t>& counts = tally.portAddressCounts();
    std::int64_t total = 0;
    for (const auto& entry : counts)
        total += entry.second;
    IpsForPort list{port.direction, {}};
    for (const NameCount& entry : leading(counts, std::max<std::int64_t>(port.limit, 1)))
        list.entries.push_back({std::string(entry.name), entry.count, total, 0, std::nullopt, std::string(pieSign)});
    return list;
}

} // namespace

StatsResult aggregate(const StatsTally& tally, const StatsQuery& query)
{
    StatsResult result;
    result.lineCount = tally.lineCount();
    result.counted = tally.counted();
    result.kept = tally.kept();
    result.selected = tally.selected();
    result.empty = tally.selected() == 0;
    if (query.port)
        result.ipsForPort = listIpsForPort(tally, *query.port);
    if (result.empty) {
        result.boxes = {false, false, query.direction == "in"};
        return result;
    }
    result.boxes = {true, true, false};
    listAddresses(tally, query.limit, result);
    listPorts(tally, query.limit, result);
    return result;
}

StatsResult missingLogResult()
{
    StatsResult result;
    result.missing = true;
    result.boxes = {true, true, true};
    return result;
}

} // namespace rovex
