#pragma once

#include "chart/RXDiaObj.h"
#include "intake/TrafficCategory.h"

#include <string_view>
#include <vector>

namespace rovex {

class TrafficStore;

// The pie of one row of a traffic table: the counterparts the store saw with it, counted.
std::vector<RXDiaObj> pieOfRow(const TrafficStore& store, TrafficCategory category, std::string_view name);

} // namespace rovex
