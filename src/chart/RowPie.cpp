#include "chart/RowPie.h"

#include "chart/PieChart.h"
#include "intake/TrafficStore.h"

namespace rovex {

std::vector<RXDiaObj> pieOfRow(const TrafficStore& store, TrafficCategory category, std::string_view name)
{
    std::vector<NameCount> counted;
    for (const TrafficStore::Counterpart& counterpart : store.occurrences(category, name))
        counted.push_back({counterpart.name, counterpart.count});
    return makegrafico(counted);
}

} // namespace rovex
