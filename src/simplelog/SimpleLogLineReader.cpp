#include "simplelog/SimpleLogLineReader.h"

#include "simplelog/SimpleLogRowBuilder.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>

namespace rovex {

namespace {

constexpr std::size_t monthField = 0;
constexpr std::size_t dayField = 1;
constexpr std::size_t timeField = 2;
constexpr std::size_t actionField = 8;
constexpr std::size_t directionField = 9;
constexpr std::size_t interfaceField = 11;
constexpr std::size_t firstField = 12;
constexpr std::size_t secondField = 14;
constexpr std::size_t fieldsNeeded = secondField + 1;

constexpr std::string_view genericServiceImage = "genericservice";

using Fields = std::array<std::string_view, fieldsNeeded>;

// The first fields of the line as they lie between single spaces once every "  " has
// become " ". Halving leaves a run of n spaces as ceil(n/2) separators, so the fields are
// views of the line itself and the halved line is never built. Returns how many fields
// there are, counting no further than the fields the reader needs.
std::size_t splitFields(std::string_view line, Fields& fields)
{
    std::size_t count = 0;
    std::size_t at = 0;
    while (count < fieldsNeeded) {
        const std::size_t space = line.find(' ', at);
        if (space == std::string_view::npos) {
            fields[count++] = line.substr(at);
            break;
        }
        fields[count++] = line.substr(at, space - at);
        const std::size_t runEnd = std::min(line.find_first_not_of(' ', space), line.size());
        const std::size_t separators = (runEnd - space + 1) / 2;
        for (std::size_t k = 1; k < separators && count < fieldsNeeded; ++k)
            fields[count++] = line.substr(runEnd, 0);
        at = runEnd;
    }
    return count;
}

bool isExcludedSource(std::string_view first)
{
    return first.starts_with("\"pdl=") || first.starts_with('@') || first.starts_with("0.0.0.0")
        || first.starts_with("::");
}

struct Endpoint {
    std::string_view address;
    std::string_view port;
};

// An endpoint is the address and, after its last ".", the port: five pieces at "." for
// IPv4, two for IPv6. Nothing unless both endpoints are of the same of these two kinds.
std::optional<std::array<Endpoint, 2>> splitEndpoints(std::string_view first, std::string_view second)
{
    const auto pieces = std::ranges::count(first, '.') + 1;
    if (pieces != std::ranges::count(second, '.') + 1 || (pieces != 5 && pieces != 2))
        return std::nullopt;
    const auto split = [](std::string_view field) {
        const std::size_t dot = field.rfind('.');
        return Endpoint{field.substr(0, dot), field.substr(dot + 1)};
    };
    return std::array<Endpoint, 2>{split(first), split(second)};
}

std::string_view actionImage(std::string_view action, std::string_view direction)
{
    struct Entry {
        std::string_view action;
        std::string_view direction;
        std::string_view image;
    };
    static constexpr std::array<Entry, 4> table{{
        {"block", "in", "blockeddown"},
        {"block", "out", "blockedup"},
        {"pass", "in", "passeddown"},
        {"pass", "out", "passedup"},
    }};
    for (const Entry& entry : table) {
        if (entry.action == action && entry.direction == direction)
            return entry.image;
    }
    return {};
}

std::string_view portImage(const ServiceImages& services, std::string_view port)
{
    const auto found = services.find(port);
    return found == services.end() ? genericServiceImage : std::string_view(found->second);
}

// The line with every "  " turned into " ", in one pass from the left.
void appendHalvingSpaces(std::string& out, std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        out.push_back(line[i]);
        if (line[i] == ' ' && i + 1 < line.size() && line[i + 1] == ' ')
            ++i;
    }
}

std::string withoutColons(std::string_view text)
{
    std::string kept;
    std::ranges::copy_if(text, std::back_inserter(kept), [](char c) { return c != ':'; });
    return kept;
}

RXSimpleLog buildRow(std::string_view line, SimpleLogRoad road, std::string_view asWritten, const Fields& fields,
                     const std::array<Endpoint, 2>& ends, const ServiceImages& services)
{
    const std::string interfaceName = withoutColons(fields[interfaceField]);
    const std::string secondPort = withoutColons(ends[1].port);
    // The row's pieces after logString, in the row's order.
    const std::array<std::string_view, 12> pieces{fields[monthField],
                                                  fields[dayField],
                                                  fields[timeField],
                                                  fields[actionField],
                                                  fields[directionField],
                                                  interfaceName,
                                                  ends[0].address,
                                                  ends[0].port,
                                                  ends[1].address,
                                                  secondPort,
                                                  portImage(services, ends[0].port),
                                                  portImage(services, secondPort)};
    std::size_t bytes = std::max(line.size(), asWritten.size());
    for (const std::string_view piece : pieces)
        bytes += piece.size();

    SimpleLogRowBuilder row(bytes);
    if (!asWritten.empty())
        row.text().append(asWritten);
    else if (road == SimpleLogRoad::Live)
        row.text().append(line);
    else
        appendHalvingSpaces(row.text(), line);
    row.endPiece();
    for (const std::string_view piece : pieces)
        row.addPiece(piece);
    row.setActionImage(actionImage(fields[actionField], fields[directionField]));
    return row.take();
}

} // namespace

SimpleLogReading readSimpleLogLine(std::string_view line, SimpleLogRoad road, const ServiceImages& services,
                                   std::string_view asWritten)
{
    if (line.empty())
        return {SimpleLogOutcome::Empty, std::nullopt};
    if (line.size() > maxSimpleLogLineBytes)
        return {SimpleLogOutcome::TooLong, std::nullopt};
    Fields fields;
    if (splitFields(line, fields) < fieldsNeeded)
        return {SimpleLogOutcome::TooFewFields, std::nullopt};
    if (isExcludedSource(fields[firstField]))
        return {SimpleLogOutcome::ExcludedSource, std::nullopt};
    const auto ends = splitEndpoints(fields[firstField], fields[secondField]);
    if (!ends)
        return {SimpleLogOutcome::NoPorts, std::nullopt};
    return {SimpleLogOutcome::Accepted, buildRow(line, road, asWritten, fields, *ends, services)};
}

SimpleLogReading readSimpleLogLine(std::string_view line, SimpleLogRoad road, const ServiceImages& services,
                                   LayoutAdapter& layouts)
{
    const std::string_view adapted = layouts.adapt(line);
    return readSimpleLogLine(adapted, road, services, adapted.data() == line.data() ? std::string_view{} : line);
}

} // namespace rovex
