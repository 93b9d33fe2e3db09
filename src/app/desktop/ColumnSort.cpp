#include "app/desktop/ColumnSort.h"

#include "app/desktop/TrafficTableModel.h"

#include <algorithm>
#include <string_view>

namespace rovex {

namespace {

// Port texts are decimal: shorter is smaller, then the text decides.
bool portBefore(std::string_view left, std::string_view right)
{
    return left.size() != right.size() ? left.size() < right.size() : left < right;
}

template <typename Key>
void sortBy(std::vector<std::size_t>& positions, Qt::SortOrder order, const Key& key)
{
    // Positions grow with first sighting, so a stable sort keeps equal rows in that order.
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t left, std::size_t right) {
        return order == Qt::AscendingOrder ? key(left) < key(right) : key(right) < key(left);
    });
}

void sortByCountry(const TrafficTableModel& table, std::vector<std::size_t>& positions, Qt::SortOrder order)
{
    // A row without a country has its address classified: once per row, not per comparison.
    std::vector<std::pair<std::string_view, std::size_t>> keyed;
    keyed.reserve(positions.size());
    for (const std::size_t position : positions)
        keyed.emplace_back(table.countryAt(position), position);
    std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& left, const auto& right) {
        return order == Qt::AscendingOrder ? left.first < right.first : right.first < left.first;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        positions[i] = keyed[i].second;
}

} // namespace

std::vector<std::size_t> sortedByColumn(const TrafficTableModel& table, std::vector<std::size_t> positions, int column,
                                        Qt::SortOrder order)
{
    std::sort(positions.begin(), positions.end());
    const bool ports = isPortTable(table.category());
    switch (column) {
    case TrafficTableModel::IconColumn: sortBy(positions, order, [&](auto p) { return table.serviceAt(p); }); break;
    case TrafficTableModel::NameColumn:
        if (ports) {
            std::stable_sort(positions.begin(), positions.end(), [&](std::size_t left, std::size_t right) {
                return order == Qt::AscendingOrder ? portBefore(table.nameAt(left), table.nameAt(right))
                                                   : portBefore(table.nameAt(right), table.nameAt(left));
            });
        } else {
            sortBy(positions, order, [&](auto p) { return table.nameAt(p); });
        }
        break;
    case TrafficTableModel::CountColumn: sortBy(positions, order, [&](auto p) { return table.countAt(p); }); break;
    case TrafficTableModel::DateColumn: sortBy(positions, order, [&](auto p) { return table.dateAt(p); }); break;
    case TrafficTableModel::FlagColumn: sortBy(positions, order, [&](auto p) { return table.flagAt(p); }); break;
    case TrafficTableModel::CountryColumn: sortByCountry(table, positions, order); break;
    default: break;
    }
    return positions;
}

} // namespace rovex
