#include "lookup/CountryIndex.h"

#include "lookup/CountryNames.h"
#include "lookup/RXMatchIP.h"

#include <algorithm>
#include <optional>

namespace rovex {

namespace {
constexpr std::uint64_t lastAddress = UINT32_MAX;
constexpr int firstLevelShift = 16;
constexpr std::size_t firstLevelSize = std::size_t{1} << firstLevelShift;
} // namespace

// One well-formed line of the database; order is its place in the scan.
struct CountryIndex::Block {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t code;
    std::uint64_t order;
};

// A block that holds the current sweep position, with the winners of every block it is
// nested in folded in. The orders are scan positions plus one; 0 stands for no hit.
struct CountryIndex::Open {
    std::uint64_t last = lastAddress;
    Winner winner;
    std::uint64_t codeOrder = 0;
    std::uint64_t namedOrder = 0;
};

CountryIndex::CountryIndex(const CountryBlocks& blocks)
{
    std::vector<Block> sorted = collectBlocks(blocks);
    // Outer blocks before the blocks they hold; equal blocks keep their scan order.
    std::sort(sorted.begin(), sorted.end(), [](const Block& a, const Block& b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.last != b.last)
            return a.last > b.last;
        return a.order < b.order;
    });
    sweep(sorted);
    buildFirstLevel();
}

std::vector<CountryIndex::Block> CountryIndex::collectBlocks(const CountryBlocks& blocks)
{
    std::vector<Block> collected;
    std::uint64_t order = 0;
    for (const auto& [code, lines] : blocks) {
        const auto codeIndex = static_cast<std::uint32_t>(m_codes.size());
        m_codes.push_back(code);
        m_names.push_back(countryName(code).value_or(std::string_view{}));
        for (const std::string& line : lines) {
            // Lines that do not read are the ones the block test never matches.
            if (const std::optional<IPv4Block> block = readIPv4Block(line))
                collected.push_back({block->first, block->last, codeIndex, order++});
        }
    }
    return collected;
}

void CountryIndex::sweep(const std::vector<Block>& sorted)
{
    // Since the blocks are sorted, the open stack only ever holds a chain of nested blocks
    // and the top's winner is the winner of the current position.
    std::vector<Open> open;
    std::uint64_t next = 0; // first address not yet given a range
    const auto closeUpTo = [&](std::uint64_t last, Winner winner) {
        if (next <= last) {
            addRange(next, winner);
            next = last + 1;
        }
    };
    const auto current = [&] { return open.empty() ? Winner{} : open.back().winner; };

    for (const Block& block : sorted) {
        while (!open.empty() && open.back().last < block.first) {
            closeUpTo(open.back().last, open.back().winner);
            open.pop_back();
        }
        if (block.first > 0)
            closeUpTo(std::uint64_t{block.first} - 1, current());
        open.push_back(nested(block, open.empty() ? Open{} : open.back()));
    }
    while (!open.empty()) {
        closeUpTo(open.back().last, open.back().winner);
        open.pop_back();
    }
    closeUpTo(lastAddress, Winner{});
}

CountryIndex::Open CountryIndex::nested(const Block& block, const Open& outer) const
{
    // An inner block comes after its outer block in the sweep but may come before it in
    // the scan: only a later scan position takes over.
    Open inner = outer;
    inner.last = block.last;
    const std::uint64_t order = block.order + 1;
    if (order > inner.codeOrder) {
        inner.codeOrder = order;
        inner.winner.code = block.code;
    }
    if (!m_names[block.code].empty() && order > inner.namedOrder) {
        inner.namedOrder = order;
        inner.winner.named = block.code;
    }
    return inner;
}

void CountryIndex::addRange(std::uint64_t start, Winner winner)
{
    // Neighbouring ranges with the same result are one range.
    if (!m_winners.empty() && m_winners.back() == winner)
        return;
    m_starts.push_back(static_cast<std::uint32_t>(start));
    m_winners.push_back(winner);
}

void CountryIndex::buildFirstLevel()
{
    m_firstLevel.resize(firstLevelSize);
    std::size_t range = 0;
    for (std::size_t top = 0; top < firstLevelSize; ++top) {
        const auto firstOfTop = static_cast<std::uint32_t>(top << firstLevelShift);
        while (range + 1 < m_starts.size() && m_starts[range + 1] <= firstOfTop)
            ++range;
        m_firstLevel[top] = static_cast<std::uint32_t>(range);
    }
}

CountryMatch CountryIndex::find(std::uint32_t address) const
{
    if (m_starts.empty())
        return {};
    const std::size_t top = address >> firstLevelShift;
    const std::size_t low = m_firstLevel[top];
    const std::size_t high = top + 1 < firstLevelSize ? m_firstLevel[top + 1] : m_starts.size() - 1;
    // The range holding address is the last one in [low, high] that starts at or before it.
    const auto begin = m_starts.begin() + static_cast<std::ptrdiff_t>(low + 1);
    const auto end = m_starts.begin() + static_cast<std::ptrdiff_t>(high + 1);
    const auto after = std::upper_bound(begin, end, address);
    const Winner& winner = m_winners[static_cast<std::size_t>(after - m_starts.begin()) - 1];

    CountryMatch match;
    if (winner.code != none)
        match.code = m_codes[winner.code];
    if (winner.named != none)
        match.nation = m_names[winner.named];
    return match;
}

} // namespace rovex
