#pragma once

#include <Qt>

#include <cstddef>
#include <vector>

namespace rovex {

class TrafficTableModel;

// The positions in the order of a column: names (ports as numbers), counts, first
// sightings, flags, countries or services. Rows equal in the column keep the order they
// were first seen. Costs a full sort: only run when the user asks for the order.
std::vector<std::size_t> sortedByColumn(const TrafficTableModel& table, std::vector<std::size_t> positions, int column,
                                        Qt::SortOrder order);

} // namespace rovex
