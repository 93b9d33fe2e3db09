#include "sim/CidrBlock.h"

#include <algorithm>
#include <bit>
#include <charconv>

namespace rovex {

namespace {

void appendNumber(std::string& out, unsigned value)
{
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

} // namespace

std::string CidrBlock::text() const
{
    std::string out;
    appendText(out);
    return out;
}

void CidrBlock::appendText(std::string& out) const
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        appendNumber(out, (network >> shift) & 0xFFu);
        out.push_back(shift > 0 ? '.' : '/');
    }
    appendNumber(out, static_cast<unsigned>(prefix));
}

void appendCidrBlocks(AddressRange range, std::vector<CidrBlock>& out)
{
    // Walk the range in 64-bit values, so that the end of the address space (and the one
    // block 0.0.0.0/0 of size 2^32) needs no special case.
    std::uint64_t start = range.low;
    const std::uint64_t end = std::uint64_t{range.high} + 1;
    while (start < end) {
        // The largest block that starts aligned at start and does not pass end.
        const int alignment = start == 0 ? 32 : std::countr_zero(start);
        const int fits = static_cast<int>(std::bit_width(end - start)) - 1;
        const int sizeBits = std::min(alignment, fits);
        out.push_back({static_cast<std::uint32_t>(start), 32 - sizeBits});
        start += std::uint64_t{1} << sizeBits;
    }
}

} // namespace rovex
