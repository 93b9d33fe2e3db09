#pragma once

#include "intake/NameInterner.h"
#include "intake/SelectedPositions.h"
#include "intake/TrafficRows.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace rovex {

// One live table: its rows in the order they were added, and an index from the interned
// name to the row, so that counting a line is one array step rather than a walk.
template <typename Row>
class RowTable final {
public:
    static constexpr std::size_t absent = SIZE_MAX;

    const std::vector<Row>& rows() const { return m_rows; }
    std::vector<Row>& rows() { return m_rows; }

    std::size_t positionOf(NameInterner::Id id) const
    {
        return id < m_positions.size() ? m_positions[id] : absent;
    }

    std::size_t append(NameInterner::Id id, Row row)
    {
        if (id >= m_positions.size())
            m_positions.resize(std::max<std::size_t>(id + 1, m_positions.size() * 2), absent);
        m_positions[id] = m_rows.size();
        m_rows.push_back(std::move(row));
        m_ids.push_back(id);
        m_stamps.push_back(0);
        return m_rows.size() - 1;
    }

    // Removes the rows at the given positions (any order, duplicates allowed); the rest keep
    // their order.
    void remove(std::span<const std::size_t> positions)
    {
        const std::vector<bool> doomed = selectedPositions(m_rows.size(), positions);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (doomed[i]) {
                m_positions[m_ids[i]] = absent;
                continue;
            }
            if (kept != i) { // moving a row onto itself would empty its texts
                m_rows[kept] = std::move(m_rows[i]);
                m_ids[kept] = m_ids[i];
                m_stamps[kept] = m_stamps[i];
            }
            m_positions[m_ids[kept]] = kept;
            ++kept;
        }
        m_rows.resize(kept);
        m_ids.resize(kept);
        m_stamps.resize(kept);
    }

    // A mark per row for whoever reports changes: true when the row's mark was not yet
    // `stamp`, which it is afterwards.
    bool restamp(std::size_t position, std::uint64_t stamp)
    {
        if (m_stamps[position] == stamp)
            return false;
        m_stamps[position] = stamp;
        return true;
    }

    void clear()
    {
        m_rows.clear();
        m_ids.clear();
        m_stamps.clear();
        m_positions.clear();
    }

private:
    std::vector<Row> m_rows;
    std::vector<NameInterner::Id> m_ids;      // interned name of each row
    std::vector<std::uint64_t> m_stamps;
    std::vector<std::size_t> m_positions;     // interned name -> row position, or absent
};

} // namespace rovex
