#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rovex {

// Where a row stands in its table: by count, highest first, and rows of equal count in the
// order they were first seen.
struct RankKey {
    std::int64_t count = 0;
    std::uint64_t sighting = 0;

    bool operator==(const RankKey&) const = default;
};

inline bool ranksBefore(const RankKey& left, const RankKey& right)
{
    return left.count != right.count ? left.count > right.count : left.sighting < right.sighting;
}

// The rows of a table in rank order, kept as counts change instead of sorted again: a
// sorted list cut into short blocks, so that moving one row costs a search and a copy
// within one block, and a table of a million rows is never walked to count one up.
class CountRanking final {
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    void insert(RankKey key);
    // Removes the key; a key the ranking does not hold changes nothing.
    void erase(RankKey key);
    void clear();
    // Replaces the whole ranking by the keys, in any order.
    void assign(std::vector<RankKey> keys);

    // The key at a rank (an empty key past the end), and the rank of a key the ranking holds.
    RankKey at(std::size_t rank) const;
    std::size_t rankOf(RankKey key) const;

    // Every key from the highest rank down.
    template <typename Visit>
    void forEach(Visit&& visit) const
    {
        for (const std::vector<RankKey>& block : m_blocks) {
            for (const RankKey& key : block)
                visit(key);
        }
    }

private:
    static constexpr std::size_t blockLimit = 512;

    std::size_t blockFor(RankKey key) const;
    const std::vector<std::size_t>& starts() const;

    std::vector<std::vector<RankKey>> m_blocks; // each non-empty, each sorted, in rank order
    std::size_t m_size = 0;
    mutable std::vector<std::size_t> m_starts; // rank of each block's first key
    mutable bool m_startsValid = false;
};

} // namespace rovex
