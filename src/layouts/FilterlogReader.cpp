#include "layouts/FilterlogReader.h"

#include "layouts/ByteMasks.h"
#include "layouts/LeadingDate.h"
#include "layouts/TextCursor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace rovex {
namespace {

constexpr std::string_view tag = "filterlog";

// Field positions shared by both IP versions, then each version's own.
enum Common : std::size_t { interfaceField = 4, actionField = 6, directionField = 7, versionField = 8 };

struct VersionFields {
    std::size_t protocolNumber;
    std::size_t protocolName;
    std::size_t source;
    std::size_t destination;
    std::size_t sourcePort;
    std::size_t destinationPort;
};

constexpr VersionFields ipv4Fields{15, 16, 18, 19, 20, 21};
constexpr VersionFields ipv6Fields{13, 12, 15, 16, 17, 18};
constexpr std::size_t ipv4FragmentOffsetField = 13;
constexpr std::size_t fieldsRead = 22;

using Fields = std::array<std::string_view, fieldsRead>;

// The field from `start` to the next comma or the line's end, as the last one read.
std::size_t lastField(std::string_view csv, std::size_t start, Fields& fields, std::size_t count)
{
    const std::size_t end = std::min(csv.find(',', start), csv.size());
    fields[count] = csv.substr(start, end - start);
    return count + 1;
}

// Splits the CSV at its commas, no further than the fields the reader needs. Commas are
// found sixteen bytes at a time: fields are a few bytes long, and this is the filterlog
// reading's hottest loop.
std::size_t splitFields(std::string_view csv, Fields& fields)
{
    std::size_t count = 0;
    std::size_t start = 0;
    const auto closeField = [&](std::size_t comma) {
        fields[count++] = csv.substr(start, comma - start);
        start = comma + 1;
        return count + 1 == fieldsRead;
    };
    std::size_t at = 0;
#ifdef __SSE2__
    for (; at + 16 <= csv.size(); at += 16) {
        for (std::uint32_t mask = matchMask16(csv.data() + at, ','); mask != 0; mask &= mask - 1) {
            if (closeField(at + static_cast<std::size_t>(__builtin_ctz(mask))))
                return lastField(csv, start, fields, count);
        }
    }
#endif
    for (; at < csv.size(); ++at) {
        if (csv[at] == ',' && closeField(at))
            return lastField(csv, start, fields, count);
    }
    return lastField(csv, start, fields, count);
}

// The first byte after the envelope's RFC 5424 "- -" or "- [meta ...]" following PID.
std::size_t afterStructuredData(std::string_view line, TextCursor& cursor)
{
    if (cursor.next() != "-")
        return std::string_view::npos;
    const std::size_t at = line.find_first_not_of(' ', cursor.position());
    if (at == std::string_view::npos)
        return at;
    if (line[at] != '[') {
        cursor.moveTo(at);
        return cursor.next() == "-" ? cursor.position() : std::string_view::npos;
    }
    const std::size_t close = line.find(']', at);
    return close == std::string_view::npos ? close : close + 1;
}

// Where the CSV starts after one "filterlog" word: past the tag and what belongs to it.
std::size_t afterTag(std::string_view line, std::size_t found)
{
    TextCursor cursor(line, found);
    const std::string_view word = cursor.next();
    if (word == tag) // RFC 5424: "filterlog PID - - " or "filterlog PID - [meta ...] "
        return cursor.next().empty() ? std::string_view::npos : afterStructuredData(line, cursor);
    const std::string_view rest = word.substr(tag.size());
    const bool tagged = rest == ":" || (rest.starts_with('[') && (rest.ends_with("]:") || rest.ends_with(']')));
    return tagged ? cursor.position() : std::string_view::npos;
}

// Where the CSV starts: after the first "filterlog" tag that starts a word, or at the first
// byte of a bare line. A host may be named like the tag, so a few words are tried; no more,
// so that a hostile line costs a few passes at most.
std::size_t csvStart(std::string_view line)
{
    constexpr int wordsTried = 4;
    std::size_t found = line.find(tag);
    if (found == std::string_view::npos)
        return line.find_first_not_of(' ');
    for (int tried = 0; found != std::string_view::npos && tried < wordsTried; found = line.find(tag, found + 1)) {
        if (found > 0 && line[found - 1] != ' ')
            continue;
        ++tried;
        if (const std::size_t start = afterTag(line, found); start != std::string_view::npos)
            return start;
    }
    return std::string_view::npos;
}

bool hasPorts(const Fields& fields, std::size_t count, const VersionFields& at, bool ipv4)
{
    if (count <= at.destinationPort)
        return false;
    if (ipv4 && fields[ipv4FragmentOffsetField] != "0" && !fields[ipv4FragmentOffsetField].empty())
        return false;
    const std::string_view number = fields[at.protocolNumber];
    if (!number.empty())
        return number == "6" || number == "17" || number == "132";
    const std::string_view name = fields[at.protocolName];
    return name == "tcp" || name == "udp" || name == "sctp" || name == "TCP" || name == "UDP" || name == "SCTP";
}

RecordOutcome readFields(const Fields& fields, std::size_t count, FirewallRecord& record)
{
    if (count <= versionField)
        return RecordOutcome::NotThisLayout;
    const std::string_view version = fields[versionField];
    const std::string_view direction = fields[directionField];
    if ((version != "4" && version != "6") || (direction != "in" && direction != "out") || fields[actionField].empty()
        || fields[interfaceField].empty())
        return RecordOutcome::NotThisLayout;
    record.action = fields[actionField];
    record.direction = direction;
    record.interfaceName = fields[interfaceField];
    const bool ipv4 = version == "4";
    const VersionFields& at = ipv4 ? ipv4Fields : ipv6Fields;
    if (count <= at.destination || fields[at.source].empty() || fields[at.destination].empty())
        return RecordOutcome::NoEndpoints;
    record.sourceAddress = fields[at.source];
    record.destinationAddress = fields[at.destination];
    if (hasPorts(fields, count, at, ipv4)) {
        record.sourcePort = fields[at.sourcePort];
        record.destinationPort = fields[at.destinationPort];
    }
    return RecordOutcome::Read;
}

} // namespace

RecordOutcome readFilterlog(std::string_view line, FirewallRecord& record)
{
    record = {};
    std::size_t start = csvStart(line);
    if (start != std::string_view::npos)
        start = line.find_first_not_of(' ', start);
    if (start == std::string_view::npos)
        return RecordOutcome::NotThisLayout;
    Fields fields;
    const std::size_t count = splitFields(line.substr(start), fields);
    const RecordOutcome outcome = readFields(fields, count, record);
    if (outcome != RecordOutcome::NotThisLayout)
        readLeadingDate(line, record);
    return outcome;
}

} // namespace rovex
