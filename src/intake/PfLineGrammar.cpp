#include "intake/PfLineGrammar.h"

#include "text/DecimalText.h"

#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rovex {
namespace {

constexpr std::size_t actionField = 8;
constexpr std::size_t directionField = 9;
constexpr std::size_t sourceField = 12;
constexpr std::size_t destinationField = 14;
constexpr std::size_t fieldsNeeded = destinationField + 1;

// A run of n spaces shrinks to ceil((n/3 + n%3) / 2) spaces after the two replace passes;
// each remaining space separates two fields.
constexpr std::size_t separatorsOfRun(std::size_t spaces)
{
    const std::size_t afterFirstPass = spaces / 3 + spaces % 3;
    return afterFirstPass / 2 + afterFirstPass % 2;
}

#ifdef __SSE2__
// One bit per byte of the sixteen at text that equal c.
unsigned matchMask16(const char* text, char c)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}
#endif

constexpr std::size_t blockSize = 64;

// One bit per byte of the (at most) 64 bytes of text from `at` that equals c (never 0);
// bits past the text are 0.
std::uint64_t byteMask(std::string_view text, std::size_t at, char c)
{
    const char* bytes = text.data() + at;
    std::array<char, blockSize> tail; // zeroed only for a block the text does not fill
    if (text.size() - at < blockSize) {
        tail.fill(0);
        std::memcpy(tail.data(), bytes, text.size() - at);
        bytes = tail.data();
    }
    std::uint64_t mask = 0;
#ifdef __SSE2__
    for (std::size_t part = 0; part < blockSize; part += 16)
        mask |= std::uint64_t{matchMask16(bytes + part, c)} << part;
#else
    for (std::size_t i = 0; i < blockSize; ++i)
        mask |= std::uint64_t{bytes[i] == c} << i;
#endif
    return mask;
}

// Calls visit(start, length) for every run of spaces of the line, in order, until visit
// returns true. The line is looked at 64 bytes at a time and its runs found by bit
// arithmetic: this is the hottest loop of the intake, and the fields that matter lie in
// the first hundred or so bytes of a line.
template <typename Visitor>
bool forEachSpaceRun(std::string_view line, Visitor&& visit)
{
    constexpr std::size_t none = std::string_view::npos;
    std::uint64_t carry = 0; // 1 when the block before ended in a space
    std::size_t open = none; // where a run that reached the end of the block before starts
    for (std::size_t at = 0; at < line.size(); at += blockSize) {
        const std::uint64_t spaces = byteMask(line, at, ' ');
        const std::uint64_t afterSpace = (spaces << 1U) | carry;
        std::uint64_t starts = spaces & ~afterSpace; // first space of each run
        std::uint64_t ends = ~spaces & afterSpace;   // first byte after each run
        carry = spaces >> 63U;
        if (open != none && ends != 0) {
            const std::size_t end = at + static_cast<std::size_t>(__builtin_ctzll(ends));
            ends &= ends - 1;
            if (visit(open, end - open))
                return true;
            open = none;
        }
        // Every end left has its start in this block; one start may be left without one.
        while (ends != 0) {
            const std::size_t start = at + static_cast<std::size_t>(__builtin_ctzll(starts));
            const std::size_t end = at + static_cast<std::size_t>(__builtin_ctzll(ends));
            starts &= starts - 1;
            ends &= ends - 1;
            if (visit(start, end - start))
                return true;
        }
        if (starts != 0)
            open = at + static_cast<std::size_t>(__builtin_ctzll(starts));
    }
    return open != none && visit(open, line.size() - open);
}

// The four fields the classifier reads, as views of the raw line; the others are skipped
// without being stored.
struct WantedFields {
    std::string_view action;
    std::string_view direction;
    std::string_view source;
    std::string_view destination;

    void set(std::size_t index, std::string_view text)
    {
        switch (index) {
        case actionField: action = text; break;
        case directionField: direction = text; break;
        case sourceField: source = text; break;
        case destinationField: destination = text; break;
        default: break;
        }
    }
};

// Reads fields 0 to 14 of the normalised line. Returns false when the line has fewer than
// 15 fields. Empty fields between runs of spaces stay empty views.
bool splitFields(std::string_view line, WantedFields& fields)
{
    // Every run separates at least once, so the first 15 runs hold fields 0 to 14. Only
    // the first `runs` entries are ever read, so the arrays are not cleared per line.
    std::array<std::size_t, fieldsNeeded> runStarts;
    std::array<std::size_t, fieldsNeeded> runEnds;
    std::size_t runs = 0;
    bool single = true; // every run separates once: up to four spaces
    forEachSpaceRun(line, [&](std::size_t start, std::size_t length) {
        runStarts[runs] = start;
        runEnds[runs] = start + length;
        single = single && length <= 4;
        return ++runs == fieldsNeeded;
    });
    const auto text = [&line](std::size_t from, std::size_t to) {
        return std::string_view(line.data() + from, to - from);
    };
    if (single) { // nearly every line: field n lies between runs n - 1 and n
        if (runs < destinationField)
            return false;
        fields.action = text(runEnds[actionField - 1], runStarts[actionField]);
        fields.direction = text(runEnds[directionField - 1], runStarts[directionField]);
        fields.source = text(runEnds[sourceField - 1], runStarts[sourceField]);
        fields.destination = text(runEnds[destinationField - 1],
                                  runs > destinationField ? runStarts[destinationField] : line.size());
        return true;
    }
    std::size_t field = 0; // index of the field that starts at `start`
    std::size_t start = 0;
    for (std::size_t run = 0; run < runs && field < fieldsNeeded; ++run) {
        fields.set(field, text(start, runStarts[run]));
        field += separatorsOfRun(runEnds[run] - runStarts[run]);
        start = runEnds[run];
    }
    if (field >= fieldsNeeded)
        return true;
    if (field != destinationField)
        return false;
    fields.destination = line.substr(start);
    return true;
}

bool isExcludedSource(std::string_view source)
{
    return source.starts_with("\"pdl=") || source.starts_with('@') || source.starts_with("0.0.0.0")
        || source.starts_with("::");
}

// The number of dots of an endpoint and where its last dot is.
struct Dots {
    std::size_t count = 0;
    std::size_t last = std::string_view::npos;
};

Dots findDots(std::string_view text)
{
    Dots dots;
    std::size_t at = 0;
#ifdef __SSE2__
    for (; at + 16 <= text.size(); at += 16) {
        auto mask = matchMask16(text.data() + at, '.');
        if (mask != 0)
            dots.last = at + 31U - static_cast<unsigned>(__builtin_clz(mask));
        for (; mask != 0; mask &= mask - 1)
            ++dots.count;
    }
#endif
    for (; at < text.size(); ++at) {
        if (text[at] == '.') {
            ++dots.count;
            dots.last = at;
        }
    }
    return dots;
}

// The port piece with every ":" removed; a view of the piece when nothing needs removing
// or only a trailing ":" does.
std::string_view portWithoutColons(std::string_view piece, std::string& buffer)
{
    std::size_t colons = 0;
    for (const char c : piece)
        colons += c == ':' ? 1U : 0U;
    if (colons == 0)
        return piece;
    if (colons == 1 && piece.back() == ':')
        return piece.substr(0, piece.size() - 1);
    buffer.clear();
    for (const char c : piece) {
        if (c != ':')
            buffer.push_back(c);
    }
    return buffer;
}

struct Endpoint {
    std::string_view address;
    std::string_view port;
    std::size_t pieces = 0;
};

// Splits an endpoint at "." into the address and port of an IPv4 (5 pieces) or IPv6
// (2 pieces) endpoint. For other piece counts only `pieces` is meaningful.
Endpoint splitEndpoint(std::string_view text, std::string& buffer)
{
    Endpoint endpoint;
    const Dots dots = findDots(text);
    endpoint.pieces = dots.count + 1;
    if (endpoint.pieces == 5 || endpoint.pieces == 2) {
        endpoint.address = text.substr(0, dots.last);
        endpoint.port = portWithoutColons(text.substr(dots.last + 1), buffer);
    }
    return endpoint;
}

bool isPortInRange(std::string_view port)
{
    const auto value = readDecimal(port);
    return value && *value >= 1 && *value <= 65535;
}

} // namespace

LineOutcome readPfLogLine(std::string_view line, PfLogLine& out)
{
    WantedFields fields;
    if (!splitFields(line, fields))
        return LineOutcome::TooFewFields;
    if (isExcludedSource(fields.source))
        return LineOutcome::ExcludedSource;

    out.action = fields.action;
    out.direction = fields.direction;
    const Endpoint source = splitEndpoint(fields.source, out.sourcePortBuffer);
    const Endpoint destination = splitEndpoint(fields.destination, out.destinationPortBuffer);
    if (source.pieces == destination.pieces && (source.pieces == 5 || source.pieces == 2)) {
        out.sourceAddress = source.address;
        out.sourcePort = source.port;
        out.destinationAddress = destination.address;
        out.destinationPort = destination.port;
    } else {
        out.sourceAddress = out.sourcePort = out.destinationAddress = out.destinationPort = {};
    }
    out.portInRange = isPortInRange(out.destinationPort);
    return LineOutcome::Read;
}

std::string_view describe(LineOutcome outcome)
{
    switch (outcome) {
    case LineOutcome::Read: return "read";
    case LineOutcome::TooFewFields: return "too few fields";
    case LineOutcome::ExcludedSource: return "excluded source";
    case LineOutcome::IgnoredPort: return "ignored port";
    case LineOutcome::IgnoredAddress: return "ignored address";
    }
    return "unknown";
}

} // namespace rovex
