#pragma once

#include "app/desktop/ShownOrder.h"
#include "intake/CountRanking.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace rovex {

// The rows that pass a filter, by count, highest first, kept as counts change like the
// store's ranking of the whole table: a batch costs what it counted among these rows.
class FilteredRanking final : public ShownOrder {
public:
    // The key a table position ranks by: its count and first sighting.
    using KeyOf = std::function<RankKey(std::size_t position)>;

    FilteredRanking(std::span<const std::size_t> positions, KeyOf keyOf);

    std::size_t size() const override { return m_ranking.size() + m_unplaced.size(); }
    std::size_t positionAt(std::size_t row) const override;
    std::size_t rowOf(std::size_t position) const override;
    void append(std::span<const std::size_t> positions) override;
    bool moves() const override { return true; }
    void place(std::span<const std::size_t> changed) override;

private:
    void rank(std::size_t position);

    KeyOf m_keyOf;
    CountRanking m_ranking;
    std::unordered_map<std::uint64_t, std::size_t> m_positionOf; // by sighting
    std::unordered_map<std::size_t, RankKey> m_rankedBy;         // by position: the key it is ranked by
    std::vector<std::size_t> m_unplaced;                         // appended, shown at the end until placed
};

} // namespace rovex
