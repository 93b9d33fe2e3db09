#include "intake/PfLineGrammar.h"

#include "text/DecimalText.h"

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

// Calls visit(position) for every space of the line, in order, until visit returns true.
// Sixteen bytes are compared at a time: the fields that matter lie in the first hundred
// or so bytes of a line, and this is the hottest loop of the intake.
template <typename Visitor>
bool forEachSpace(std::string_view line, Visitor&& visit)
{
    std::size_t at = 0;
#ifdef __SSE2__
    for (; at + 16 <= line.size(); at += 16) {
        for (unsigned mask = matchMask16(line.data() + at, ' '); mask != 0; mask &= mask - 1) {
            if (visit(at + static_cast<std::size_t>(__builtin_ctz(mask))))
                return true;
        }
    }
#endif
    for (; at < line.size(); ++at) {
        if (line[at] == ' ' && visit(at))
            return true;
    }
    return false;
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
    std::size_t field = 0; // index of the field that starts at `start`
    std::size_t start = 0;
    std::size_t runStart = 0; // the run of spaces being measured
    std::size_t runLength = 0;

    // Ends the field before a run of spaces; true once field 14 is known.
    const auto closeRun = [&] {
        fields.set(field, line.substr(start, runStart - start));
        field += separatorsOfRun(runLength);
        start = runStart + runLength;
        return field >= fieldsNeeded;
    };
    const bool complete = forEachSpace(line, [&](std::size_t space) {
        if (runLength > 0 && space == runStart + runLength) {
            ++runLength;
            return false;
        }
        if (runLength > 0 && closeRun())
            return true;
        runStart = space;
        runLength = 1;
        return false;
    });
    if (complete || (runLength > 0 && closeRun()))
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
