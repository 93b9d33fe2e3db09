#include "app/desktop/FilteredRanking.h"

#include <algorithm>
#include <utility>

namespace rovex {

FilteredRanking::FilteredRanking(std::span<const std::size_t> positions, KeyOf keyOf) : m_keyOf(std::move(keyOf))
{
    std::vector<RankKey> keys;
    keys.reserve(positions.size());
    for (const std::size_t position : positions) {
        const RankKey key = m_keyOf(position);
        keys.push_back(key);
        m_positionOf[key.sighting] = position;
        m_rankedBy[position] = key;
    }
    m_ranking.assign(std::move(keys));
}

std::size_t FilteredRanking::positionAt(std::size_t row) const
{
    if (row < m_ranking.size())
        return m_positionOf.at(m_ranking.at(row).sighting);
    return m_unplaced[row - m_ranking.size()];
}

std::size_t FilteredRanking::rowOf(std::size_t position) const
{
    const auto ranked = m_rankedBy.find(position);
    if (ranked != m_rankedBy.end())
        return m_ranking.rankOf(ranked->second);
    // Only the rows of the batch being placed are here.
    const auto unplaced = std::find(m_unplaced.begin(), m_unplaced.end(), position);
    return unplaced == m_unplaced.end() ? absent
                                        : m_ranking.size() + static_cast<std::size_t>(unplaced - m_unplaced.begin());
}

void FilteredRanking::append(std::span<const std::size_t> positions)
{
    m_unplaced.insert(m_unplaced.end(), positions.begin(), positions.end());
}

void FilteredRanking::place(std::span<const std::size_t> changed)
{
    for (const std::size_t position : std::exchange(m_unplaced, {}))
        rank(position);
    for (const std::size_t position : changed) {
        if (m_rankedBy.contains(position))
            rank(position);
    }
}

void FilteredRanking::rank(std::size_t position)
{
    const RankKey key = m_keyOf(position);
    const auto ranked = m_rankedBy.find(position);
    if (ranked != m_rankedBy.end()) {
        if (ranked->second == key)
            return;
        m_ranking.erase(ranked->second);
        ranked->second = key;
    } else {
        m_rankedBy.emplace(position, key);
        m_positionOf[key.sighting] = position;
    }
    m_ranking.insert(key);
}

} // namespace rovex
