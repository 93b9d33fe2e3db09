#pragma once

#include "lookup/CountryMatch.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace rovex {

// Country code -> the lines of that country's database file, codes in ascending order.
using CountryBlocks = std::map<std::string, std::vector<std::string>, std::less<>>;

// The country database turned into disjoint address ranges, each carrying the result a
// full scan of every block would leave for it, so that a match is one binary search
// instead of a pass over some 560,000 blocks.
//
// It relies on blocks being CIDR ranges, which nest or are disjoint: sorted by start and
// then by size, the blocks holding any address form a stack, and the winner of each range
// (the last hit in scan order, codes ascending and lines in file order) is the latest
// block on that stack. Immutable once built; find() may run on several threads at once.
class CountryIndex final {
public:
    CountryIndex() = default;
    explicit CountryIndex(const CountryBlocks& blocks);

    // The match for an IPv4 address in host byte order.
    CountryMatch find(std::uint32_t address) const;

private:
    static constexpr std::uint32_t none = UINT32_MAX;

    // Indexes into m_codes: the last hit, and the last hit whose code has a name.
    struct Winner {
        std::uint32_t code = none;
        std::uint32_t named = none;

        bool operator==(const Winner&) const = default;
    };

    struct Block;
    struct Open;

    std::vector<Block> collectBlocks(const CountryBlocks& blocks);
    void sweep(const std::vector<Block>& sorted);
    Open nested(const Block& block, const Open& outer) const;
    void addRange(std::uint64_t start, Winner winner);
    void buildFirstLevel();

    std::vector<std::string> m_codes;
    std::vector<std::string_view> m_names; // per code; empty when the table has none
    std::vector<std::uint32_t> m_starts;   // range starts, ascending, m_starts[0] == 0
    std::vector<Winner> m_winners;         // parallel to m_starts
    // For every value of the top 16 address bits, the range holding its first address;
    // narrows the binary search to the ranges of one /16.
    std::vector<std::uint32_t> m_firstLevel;
};

} // namespace rovex
