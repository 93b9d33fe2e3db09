#include "intake/PfLineGrammar.h"

#include "text/DecimalText.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// Fields 0 to 14 of the normalised line, as views of the raw line. Returns false when the
// line has fewer than 15 fields.
bool splitFields(std::string_view line, std::array<std::string_view, fieldsNeeded>& fields)
{
    std::size_t field = 0;
    std::size_t start = 0;
    for (;;) {
        const void* found = std::memchr(line.data() + start, ' ', line.size() - start);
        if (found == nullptr) {
            fields[field] = line.substr(start);
            return field == destinationField;
        }
        const auto space = static_cast<std::size_t>(static_cast<const char*>(found) - line.data());
        fields[field] = line.substr(start, space - start);
        std::size_t runEnd = space;
        while (runEnd < line.size() && line[runEnd] == ' ')
            ++runEnd;
        const std::size_t nextField = field + separatorsOfRun(runEnd - space);
        for (std::size_t empty = field + 1; empty < nextField && empty < fieldsNeeded; ++empty)
            fields[empty] = {};
        if (nextField >= destinationField) {
            if (nextField == destinationField) {
                const std::size_t end = line.find(' ', runEnd);
                fields[destinationField] = line.substr(runEnd, end == std::string_view::npos ? end : end - runEnd);
            } else {
                fields[destinationField] = {};
            }
            return true;
        }
        field = nextField;
        start = runEnd;
    }
}

bool isExcludedSource(std::string_view source)
{
    return source.starts_with("\"pdl=") || source.starts_with('@') || source.starts_with("0.0.0.0")
        || source.starts_with("::");
}

// The port piece with every ":" removed; a view of the piece when nothing needs removing
// or only a trailing ":" does.
std::string_view portWithoutColons(std::string_view piece, std::string& buffer)
{
    const std::size_t colon = piece.find(':');
    if (colon == std::string_view::npos)
        return piece;
    if (colon + 1 == piece.size())
        return piece.substr(0, colon);
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
    endpoint.pieces = static_cast<std::size_t>(std::count(text.begin(), text.end(), '.')) + 1;
    if (endpoint.pieces == 5 || endpoint.pieces == 2) {
        const std::size_t lastDot = text.rfind('.');
        endpoint.address = text.substr(0, lastDot);
        endpoint.port = portWithoutColons(text.substr(lastDot + 1), buffer);
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
    std::array<std::string_view, fieldsNeeded> fields;
    if (!splitFields(line, fields))
        return LineOutcome::TooFewFields;
    if (isExcludedSource(fields[sourceField]))
        return LineOutcome::ExcludedSource;

    out.action = fields[actionField];
    out.direction = fields[directionField];
    const Endpoint source = splitEndpoint(fields[sourceField], out.sourcePortBuffer);
    const Endpoint destination = splitEndpoint(fields[destinationField], out.destinationPortBuffer);
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

std::string normalisedSpaces(std::string_view line)
{
    const auto replaceAll = [](std::string_view text, std::string_view from) {
        std::string result;
        result.reserve(text.size());
        std::size_t at = 0;
        for (std::size_t found; (found = text.find(from, at)) != std::string_view::npos; at = found + from.size()) {
            result.append(text.substr(at, found - at));
            result.push_back(' ');
        }
        result.append(text.substr(at));
        return result;
    };
    return replaceAll(replaceAll(line, "   "), "  ");
}

std::string_view describe(LineOutcome outcome)
{
    switch (outcome) {
    case LineOutcome::Read:
        return "read";
    case LineOutcome::TooFewFields:
        return "too few fields";
    case LineOutcome::ExcludedSource:
        return "excluded source";
    case LineOutcome::IgnoredPort:
        return "ignored port";
    case LineOutcome::IgnoredAddress:
        return "ignored address";
    }
    return "unknown";
}

} // namespace rovex
