#pragma once

#include "intake/CountRanking.h"
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

    const RowList<Row>& rows() const { return m_rows; }
    RowList<Row>& rows() { return m_rows; }

    std::size_t positionOf(NameInterner::Id id) const
    {
        return id < m_slots.size() && m_slots[id].position != noPosition ? m_slots[id].position : absent;
    }

    std::size_t append(NameInterner::Id id, Row row)
    {
        if (id >= m_slots.size())
            m_slots.resize(std::max<std::size_t>(id + 1, m_slots.size() * 2));
        m_slots[id] = {static_cast<std::uint32_t>(m_rows.size()), 0};
        m_rows.push_back(std::move(row));
        m_ids.push_back(id);
        m_rankedCounts.push_back(unranked);
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
                m_slots[m_ids[i]].position = noPosition;
                if (m_rankedCounts[i] != unranked)
                    m_ranking.erase({m_rankedCounts[i], m_rows[i].sighting});
                continue;
            }
            if (kept != i) { // moving a row onto itself would empty its texts
                m_rows[kept] = std::move(m_rows[i]);
                m_ids[kept] = m_ids[i];
                m_rankedCounts[kept] = m_rankedCounts[i];
            }
            m_slots[m_ids[kept]].position = static_cast<std::uint32_t>(kept);
            ++kept;
        }
        m_rows.resize(kept);
        m_ids.resize(kept);
        m_rankedCounts.resize(kept);
    }

    // A mark per row for whoever reports changes: true when the row named by `id` did not
    // yet bear `stamp`, which it does afterwards. Stamps start at 0, and 0 is never given.
    bool restamp(NameInterner::Id id, std::uint32_t stamp)
    {
        if (m_slots[id].stamp == stamp)
            return false;
        m_slots[id].stamp = stamp;
        return true;
    }
    // Every row's mark back to 0, so that stamps can start again after wrapping around.
    void clearStamps()
    {
        for (Slot& slot : m_slots)
            slot.stamp = 0;
    }

    void clear()
    {
        m_rows.clear();
        m_ids.clear();
        m_slots.clear();
        m_rankedCounts.clear();
        m_ranking.clear();
    }

    // The ranking by count follows the rows only when told which rows changed, so that
    // counting a line never pays for it; rank() and rankAll() bring it up to date.
    void rank(std::size_t position) const
    {
        if (position >= m_rows.size())
            return;
        const Row& row = m_rows[position];
        std::int64_t& ranked = m_rankedCounts[position];
        if (ranked == rowCount(row))
            return;
        if (ranked != unranked)
            m_ranking.erase({ranked, row.sighting});
        ranked = rowCount(row);
        m_ranking.insert({ranked, row.sighting});
    }
    void rankAll() const
    {
        if (m_ranking.empty() && !m_rows.empty()) {
            std::vector<RankKey> keys;
            keys.reserve(m_rows.size());
            for (std::size_t position = 0; position < m_rows.size(); ++position) {
                m_rankedCounts[position] = rowCount(m_rows[position]);
                keys.push_back({m_rankedCounts[position], m_rows[position].sighting});
            }
            m_ranking.assign(std::move(keys));
            return;
        }
        for (std::size_t position = 0; position < m_rows.size(); ++position)
            rank(position);
    }
    const CountRanking& ranking() const { return m_ranking; }

    // The row at a rank, or absent past the ranked rows; the rank of a ranked row.
    std::size_t positionAtRank(std::size_t rank) const
    {
        if (rank >= m_ranking.size())
            return absent;
        return positionOfSighting(m_ranking.at(rank).sighting);
    }
    std::size_t rankOf(std::size_t position) const
    {
        if (position >= m_rows.size() || m_rankedCounts[position] == unranked)
            return absent;
        return m_ranking.rankOf({m_rankedCounts[position], m_rows[position].sighting});
    }
    // Rows stay in the order they were first seen, so a sighting is found by halving.
    std::size_t positionOfSighting(std::uint64_t sighting) const
    {
        const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), sighting,
                                            [](const Row& row, std::uint64_t wanted) { return row.sighting < wanted; });
        return found != m_rows.end() && found->sighting == sighting ? static_cast<std::size_t>(found - m_rows.begin())
                                                                    : absent;
    }

private:
    static constexpr std::int64_t unranked = 0; // counts start at 1

    RowList<Row> m_rows;
    std::vector<NameInterner::Id> m_ids; // interned name of each row
    // Interned name -> row position, with the row's mark beside it so that counting a line
    // finds both in one cache line. It spans every name of the store, so it is kept narrow:
    // a table holds fewer rows than there are names, and names are numbered in 32 bits.
    static constexpr std::uint32_t noPosition = UINT32_MAX;
    struct Slot {
        std::uint32_t position = noPosition;
        std::uint32_t stamp = 0;
    };
    std::vector<Slot> m_slots;
    mutable std::vector<std::int64_t> m_rankedCounts; // the count each row is ranked by
    mutable CountRanking m_ranking;
};

} // namespace rovex
