#pragma once

#include "intake/TrafficCategory.h"

#include <array>
#include <cstddef>
#include <vector>

namespace rovex {

// What the classifier changed in one table since the changes were last taken: the
// positions of rows it added and of older rows it counted up, each position once, so that
// a view updates only those rows.
struct TableChanges {
    std::vector<std::size_t> added;
    std::vector<std::size_t> counted;

    bool empty() const { return added.empty() && counted.empty(); }
};

struct StoreChanges {
    std::array<TableChanges, trafficCategoryCount> tables;

    TableChanges& operator[](TrafficCategory category) { return tables[indexOf(category)]; }
    const TableChanges& operator[](TrafficCategory category) const { return tables[indexOf(category)]; }
    bool empty() const
    {
        for (const TableChanges& table : tables) {
            if (!table.empty())
                return false;
        }
        return true;
    }
};

} // namespace rovex
