#include "intake/CountRanking.h"

#include <algorithm>
#include <iterator>

namespace rovex {

// The first block whose last key does not rank before the key: where it is, or belongs.
std::size_t CountRanking::blockFor(RankKey key) const
{
    const auto found = std::partition_point(
        m_blocks.begin(), m_blocks.end(),
        [&key](const std::vector<RankKey>& block) { return ranksBefore(block.back(), key); });
    return static_cast<std::size_t>(std::distance(m_blocks.begin(), found));
}

void CountRanking::insert(RankKey key)
{
    m_startsValid = false;
    ++m_size;
    if (m_blocks.empty()) {
        m_blocks.push_back({key});
        return;
    }
    // A key after every other goes at the end of the last block.
    const std::size_t index = std::min(blockFor(key), m_blocks.size() - 1);
    std::vector<RankKey>& block = m_blocks[index];
    block.insert(std::lower_bound(block.begin(), block.end(), key, ranksBefore), key);
    if (block.size() < blockLimit)
        return;
    const auto half = static_cast<std::ptrdiff_t>(block.size() / 2);
    std::vector<RankKey> upper(block.begin() + half, block.end());
    block.erase(block.begin() + half, block.end());
    m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(upper));
}

void CountRanking::erase(RankKey key)
{
    const std::size_t index = blockFor(key);
    if (index == m_blocks.size())
        return;
    std::vector<RankKey>& block = m_blocks[index];
    const auto found = std::lower_bound(block.begin(), block.end(), key, ranksBefore);
    if (found == block.end() || !(*found == key))
        return;
    block.erase(found);
    if (block.empty())
        m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(index));
    --m_size;
    m_startsValid = false;
}

void CountRanking::clear()
{
    m_blocks.clear();
    m_size = 0;
    m_startsValid = false;
}

void CountRanking::assign(std::vector<RankKey> keys)
{
    std::sort(keys.begin(), keys.end(), ranksBefore);
    clear();
    // Blocks start three quarters full, so that the first counts do not split them all.
    constexpr std::size_t fill = blockLimit * 3 / 4;
    for (std::size_t first = 0; first < keys.size(); first += fill) {
        const std::size_t last = std::min(keys.size(), first + fill);
        m_blocks.emplace_back(keys.begin() + static_cast<std::ptrdiff_t>(first),
                              keys.begin() + static_cast<std::ptrdiff_t>(last));
    }
    m_size = keys.size();
}

const std::vector<std::size_t>& CountRanking::starts() const
{
    if (!m_startsValid) {
        m_starts.resize(m_blocks.size());
        std::size_t rank = 0;
        for (std::size_t index = 0; index < m_blocks.size(); ++index) {
            m_starts[index] = rank;
            rank += m_blocks[index].size();
        }
        m_startsValid = true;
    }
    return m_starts;
}

RankKey CountRanking::at(std::size_t rank) const
{
    if (rank >= m_size)
        return {};
    const std::vector<std::size_t>& first = starts();
    const auto after = std::upper_bound(first.begin(), first.end(), rank);
    const auto index = static_cast<std::size_t>(std::distance(first.begin(), after)) - 1;
    return m_blocks[index][rank - first[index]];
}

std::size_t CountRanking::rankOf(RankKey key) const
{
    const std::size_t index = blockFor(key);
    if (index == m_blocks.size())
        return m_size;
    const std::vector<RankKey>& block = m_blocks[index];
    const auto within = std::lower_bound(block.begin(), block.end(), key, ranksBefore) - block.begin();
    return starts()[index] + static_cast<std::size_t>(within);
}

} // namespace rovex
