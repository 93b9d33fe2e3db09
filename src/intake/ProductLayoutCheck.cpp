#include "intake/ProductLayoutCheck.h"

#include "layouts/ByteMasks.h"

namespace rovex {

#ifdef __SSE2__
namespace {

using Bits = std::uint64_t;

constexpr std::size_t chunkBytes = 64;
constexpr std::size_t fieldsFromAction = 7;        // action, direction, "on", interface, source, ">", destination
constexpr std::size_t spacesForProductFields = 14; // separators before field 14

// One bit per byte of 64 bytes of the line: spaces, and dots when asked for.
struct Chunk {
    Bits spaces = 0;
    Bits dots = 0;
};

[[gnu::always_inline]] inline Chunk chunkFrom(const char* bytes, bool withDots)
{
    const auto mask64 = [bytes](char c) {
        return Bits{matchMask16(bytes, c)} | Bits{matchMask16(bytes + 16, c)} << 16
            | Bits{matchMask16(bytes + 32, c)} << 32 | Bits{matchMask16(bytes + 48, c)} << 48;
    };
    Chunk chunk;
    chunk.spaces = mask64(' ');
    if (withDots)
        chunk.dots = mask64('.');
    return chunk;
}

// The 64 bytes from `from` of a line of at least 64 bytes; bits past its end are zero. A
// short last stretch is read as the line's last 64 bytes, shifted: no byte past the line
// is touched.
[[gnu::always_inline]] inline Chunk chunkAt(std::string_view line, std::size_t from, bool withDots)
{
    const std::size_t left = line.size() - from;
    if (left >= chunkBytes)
        return chunkFrom(line.data() + from, withDots);
    Chunk chunk = chunkFrom(line.data() + line.size() - chunkBytes, withDots);
    const auto shift = static_cast<unsigned>(chunkBytes - left);
    chunk.spaces >>= shift;
    chunk.dots >>= shift;
    return chunk;
}

Bits upTo(std::size_t bit) // bits 0 to bit, with bit
{
    return bit >= 63 ? ~Bits{0} : (Bits{2} << bit) - 1;
}

Bits from(std::size_t bit) // bits bit to 63
{
    return bit >= 64 ? 0 : ~Bits{0} << bit;
}

// 128 bits of the line from the action on: the spaces met one by one, the dots counted in
// stretches. The second 64 bytes are read only when the first do not hold all fields.
class ActionWindow {
public:
    ActionWindow(std::string_view line, std::size_t action)
        : m_line(line), m_action(action), m_low(chunkAt(line, action, true))
    {}

    // The spaces that end the seven fields from the action, relative to it; returns how
    // many there are in the window.
    std::size_t fieldEnds(std::array<std::size_t, fieldsFromAction>& ends)
    {
        std::size_t found = 0;
        for (Bits spaces = m_low.spaces; spaces != 0 && found < ends.size(); spaces &= spaces - 1)
            ends[found++] = static_cast<std::size_t>(__builtin_ctzll(spaces));
        if (found == ends.size() || m_action + chunkBytes >= m_line.size())
            return found;
        m_high = chunkAt(m_line, m_action + chunkBytes, true);
        m_highRead = true;
        for (Bits spaces = m_high.spaces; spaces != 0 && found < ends.size(); spaces &= spaces - 1)
            ends[found++] = chunkBytes + static_cast<std::size_t>(__builtin_ctzll(spaces));
        return found;
    }

    bool holdsLineEnd() const { return m_line.size() - m_action <= (m_highRead ? 2 : 1) * chunkBytes; }

    // Whether two spaces follow each other anywhere up to `last`.
    bool hasRunUpTo(std::size_t last) const
    {
        const Bits lowRuns = m_low.spaces & (m_low.spaces << 1);
        const Bits highRuns = m_high.spaces & ((m_high.spaces << 1) | (m_low.spaces >> 63));
        return (lowRuns & upTo(last)) != 0 || (last >= chunkBytes && (highRuns & upTo(last - chunkBytes)) != 0);
    }

    // The dots among bytes first to last, both with.
    [[gnu::target("popcnt"), gnu::always_inline]] inline std::size_t dots(std::size_t first, std::size_t last) const
    {
        const Bits low = first < chunkBytes ? m_low.dots & from(first) & upTo(last) : 0;
        const Bits high = last >= chunkBytes
            ? m_high.dots & from(first < chunkBytes ? 0 : first - chunkBytes) & upTo(last - chunkBytes)
            : 0;
        return static_cast<std::size_t>(__builtin_popcountll(low))
            + static_cast<std::size_t>(__builtin_popcountll(high));
    }

private:
    std::string_view m_line;
    std::size_t m_action;
    Chunk m_low;
    Chunk m_high;
    bool m_highRead = false;
};

bool isExcludedSource(std::string_view source)
{
    // Most sources begin with none of the four first bytes: one compare settles them.
    const char first = source.empty() ? '\0' : source.front();
    if (first != '"' && first != '@' && first != '0' && first != ':')
        return false;
    return source.starts_with("\"pdl=") || source.starts_with('@') || source.starts_with("0.0.0.0")
        || source.starts_with("::");
}

// The header's spaces, bits 0 to the action's first byte.
bool sameHeader(std::string_view line, const std::array<Bits, 2>& header, std::size_t action)
{
    const Bits low = chunkAt(line, 0, false).spaces ^ header[0];
    if (action < chunkBytes)
        return (low & upTo(action)) == 0;
    return low == 0 && ((chunkAt(line, chunkBytes, false).spaces ^ header[1]) & upTo(action - chunkBytes)) == 0;
}

// The look itself, built for processors with popcount (the caller asks the processor).
[[gnu::target("popcnt")]] ProductCheck checkFromAction(std::string_view line, std::size_t a)
{
    // The seven fields from the action, each after one single space: the spaces that end them.
    ActionWindow window(line, a);
    std::array<std::size_t, fieldsFromAction> ends{};
    const std::size_t found = window.fieldEnds(ends);
    if (found < fieldsFromAction - 1 || (found == fieldsFromAction - 1 && !window.holdsLineEnd()))
        return ProductCheck::Unsure;
    if (found == fieldsFromAction - 1)
        ends[found] = line.size() - a; // the destination runs to the line's end
    const std::size_t sourceStart = ends[3] + 1;
    const std::size_t destinationStart = ends[5] + 1;
    if (window.hasRunUpTo(ends[5]) || ends[4] == sourceStart || ends[6] == destinationStart)
        return ProductCheck::Unsure; // runs of spaces and empty fields: the product's reading settles them
    if (isExcludedSource(line.substr(a + sourceStart, ends[4] - sourceStart)))
        return ProductCheck::Kept;
    const std::size_t sourceDots = window.dots(sourceStart, ends[4] - 1);
    const std::size_t destinationDots = window.dots(destinationStart, ends[6] - 1);
    const bool splits = sourceDots == destinationDots && (sourceDots == 4 || sourceDots == 1);
    return splits ? ProductCheck::Kept : ProductCheck::Unsure;
}

} // namespace

bool ProductLayoutCheck::hasTooFewSpaces(std::string_view line)
{
    std::size_t spaces = 0;
    const auto countUpTo = [&spaces](std::uint32_t mask) {
        for (; mask != 0; mask &= mask - 1) {
            if (++spaces == spacesForProductFields)
                return true;
        }
        return false;
    };
    std::size_t at = 0;
    for (; at + 16 <= line.size(); at += 16) {
        if (countUpTo(matchMask16(line.data() + at, ' ')))
            return false;
    }
    // The last bytes are read as the line's last sixteen, without those already counted.
    if (at < line.size() && line.size() >= 16) {
        const auto seen = static_cast<unsigned>(16 - (line.size() - at));
        return !countUpTo(matchMask16(line.data() + line.size() - 16, ' ') >> seen);
    }
    for (; at < line.size(); ++at) {
        if (line[at] == ' ' && ++spaces == spacesForProductFields)
            return false;
    }
    return true;
}

ProductCheck ProductLayoutCheck::check(std::string_view line) const
{
    static const bool hasPopcount = __builtin_cpu_supports("popcnt");
    const std::size_t a = m_actionStart;
    if (!m_learned || !hasPopcount || line.size() < chunkBytes || a >= line.size()
        || !sameHeader(line, m_headerSpaces, a))
        return ProductCheck::Unsure;
    return checkFromAction(line, a);
}

void ProductLayoutCheck::learn(std::string_view line, std::size_t actionStart)
{
    m_learned = actionStart < headerBytes && line.size() >= chunkBytes && actionStart < line.size()
        && line[actionStart] != ' ';
    if (!m_learned)
        return;
    m_actionStart = actionStart;
    m_headerSpaces[0] = chunkAt(line, 0, false).spaces;
    m_headerSpaces[1] = line.size() > chunkBytes ? chunkAt(line, chunkBytes, false).spaces : 0;
}

#else

ProductCheck ProductLayoutCheck::check(std::string_view) const { return ProductCheck::Unsure; }

bool ProductLayoutCheck::hasTooFewSpaces(std::string_view) { return false; }

void ProductLayoutCheck::learn(std::string_view, std::size_t) {}

#endif

} // namespace rovex
