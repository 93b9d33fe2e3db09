#include "stats/StatsLineReader.h"

#include <algorithm>
#include <array>

namespace rovex {
namespace {

constexpr std::size_t actionField = 8;
constexpr std::size_t directionField = 9;
constexpr std::size_t sourceField = 12;
constexpr std::size_t targetField = 14;

// Separators left from a run of n spaces by the two replace passes ("   " to " ", then
// "  " to " "); each one beyond the first stands for an empty field.
std::size_t separatorsOfRun(std::size_t spaces) noexcept
{
    const std::size_t afterThrees = spaces / 3 + spaces % 3;
    return (afterThrees + 1) / 2;
}

// Fields 0 to 14 of the normalised line as views of the raw line; false when it has fewer.
bool readFields(std::string_view line, std::array<std::string_view, targetField + 1>& fields) noexcept
{
    std::size_t field = 0;
    std::size_t start = 0;
    for (;;) {
        // Fields are a few bytes long: a plain scan beats a call to memchr per field.
        std::size_t space = start;
        while (space < line.size() && line[space] != ' ')
            ++space;
        const std::size_t end = space;
        if (space == line.size())
            space = std::string_view::npos;
        fields[field] = line.substr(start, end - start);
        if (field == targetField)
            return true;
        if (space == std::string_view::npos)
            return false;
        const std::size_t after = std::min(line.find_first_not_of(' ', space), line.size());
        const std::size_t separators = separatorsOfRun(after - space);
        for (std::size_t empty = 1; empty < separators && field + empty <= targetField; ++empty)
            fields[field + empty] = {};
        field += separators;
        if (field > targetField)
            return true;
        start = after;
    }
}

// "ethertype Unknown" anywhere in the line, found through its rare capital 'U' so that a
// line is scanned once instead of at every 'e'.
bool hasUnknownEthertype(std::string_view line) noexcept
{
    constexpr std::string_view marker = "ethertype Unknown";
    constexpr std::size_t before = marker.find('U');
    for (std::size_t at = line.find('U', before); at != std::string_view::npos; at = line.find('U', at + 1)) {
        if (line.substr(at - before, marker.size()) == marker)
            return true;
    }
    return false;
}

bool excludedSource(std::string_view source) noexcept
{
    return source.starts_with("\"pdl=") || source.starts_with('@') || source.starts_with("0.0.0.0")
        || source.starts_with("::");
}

// An endpoint split at '.': the address before the last piece, the port after it.
struct Endpoint {
    std::size_t pieces = 0;
    std::string_view address;
    std::string_view port;
};

Endpoint splitEndpoint(std::string_view text) noexcept
{
    const std::size_t pieces = static_cast<std::size_t>(std::count(text.begin(), text.end(), '.')) + 1;
    const std::size_t lastDot = text.rfind('.');
    if (lastDot == std::string_view::npos)
        return {pieces, text, {}};
    return {pieces, text.substr(0, lastDot), text.substr(lastDot + 1)};
}

std::string_view withoutColons(std::string_view port, std::string& scratch)
{
    if (port.find(':') == std::string_view::npos)
        return port;
    scratch.clear();
    std::copy_if(port.begin(), port.end(), std::back_inserter(scratch), [](char c) { return c != ':'; });
    return scratch;
}

} // namespace

bool isCountedLine(StatsLineOutcome outcome) noexcept
{
    return outcome != StatsLineOutcome::empty && outcome != StatsLineOutcome::ethertypeUnknown;
}

StatsLineOutcome readStatsLine(std::string_view line, RXLogLine& record, std::string& portScratch)
{
    record = RXLogLine{};
    if (line.empty())
        return StatsLineOutcome::empty;
    if (hasUnknownEthertype(line))
        return StatsLineOutcome::ethertypeUnknown;
    std::array<std::string_view, targetField + 1> fields;
    if (!readFields(line, fields))
        return StatsLineOutcome::tooFewFields;
    if (excludedSource(fields[sourceField]))
        return StatsLineOutcome::excludedSource;
    const Endpoint source = splitEndpoint(fields[sourceField]);
    const Endpoint target = splitEndpoint(fields[targetField]);
    if (source.pieces != target.pieces || (source.pieces != 5 && source.pieces != 2))
        return StatsLineOutcome::endpointsUnsplit;
    record.logLineAction = fields[actionField];
    record.logLineDirection = fields[directionField];
    record.logLineSourceAddress = source.address;
    record.logLineSourcePort = source.port;
    record.logLineTargetAddress = target.address;
    record.logLineTargetPort = withoutColons(target.port, portScratch);
    if (record.logLineTargetAddress.starts_with("224.0.0."))
        return StatsLineOutcome::multicast;
    if (record.logLineSourcePort == "5353")
        return StatsLineOutcome::multicastDns;
    if (record.logLineTargetAddress.ends_with(".255"))
        return StatsLineOutcome::broadcast;
    return StatsLineOutcome::kept;
}

} // namespace rovex
