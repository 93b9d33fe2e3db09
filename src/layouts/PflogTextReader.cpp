#include "layouts/PflogTextReader.h"

#include "layouts/ByteMasks.h"
#include "layouts/EndpointText.h"
#include "layouts/LeadingDate.h"
#include "layouts/TextCursor.h"

#include <array>
#include <cstddef>

namespace rovex {
namespace {

// pf's action words are short lower-case words (block, pass, match, nat, rdr...).
constexpr std::size_t longestActionWord = 16;

bool isActionWord(std::string_view word)
{
    if (word.empty() || word.size() > longestActionWord)
        return false;
    for (const char c : word) {
        if (c < 'a' || c > 'z')
            return false;
    }
    return true;
}

// The last four tokens seen: action, direction, "on", "IFACE:" once the anchor is found.
struct Anchor {
    std::array<std::string_view, 4> tokens;

    void push(std::string_view token)
    {
        tokens[0] = tokens[1];
        tokens[1] = tokens[2];
        tokens[2] = tokens[3];
        tokens[3] = token;
    }

    bool complete() const
    {
        const std::string_view interfaceToken = tokens[3];
        return interfaceToken.size() >= 2 && interfaceToken.back() == ':' && tokens[2] == "on"
            && (tokens[1] == "in" || tokens[1] == "out") && isActionWord(tokens[0]);
    }
};

// Finds the anchor; the cursor is left after "IFACE:". Each token is looked at once.
bool findAnchor(TextCursor& cursor, Anchor& anchor)
{
    for (std::string_view token = cursor.next(); !token.empty(); token = cursor.next()) {
        anchor.push(token);
        if (anchor.complete())
            return true;
    }
    return false;
}

// Passes over the "(tos 0x0, ttl 64, ... proto UDP (17), length 55)" header of a -v line:
// the parenthesis that opens it is closed where the depth falls back to zero.
void skipIpHeader(std::string_view line, TextCursor& cursor, std::string_view token)
{
    std::ptrdiff_t depth = 0;
    auto at = static_cast<std::size_t>(token.data() - line.data());
    for (; at < line.size(); ++at) {
        depth += line[at] == '(' ? 1 : line[at] == ')' ? -1 : 0;
        if (depth == 0)
            break;
    }
    cursor.moveTo(at + 1);
}

bool readEndpoints(std::string_view line, TextCursor& cursor, FirewallRecord& record)
{
    std::string_view source = cursor.next();
    if (source.starts_with('(')) {
        skipIpHeader(line, cursor, source);
        source = cursor.next();
    }
    if (cursor.next() != ">")
        return false;
    const std::string_view destination = cursor.next();
    EndpointParts from;
    EndpointParts to;
    if (!splitEndpointText(source, EndpointSide::Source, from)
        || !splitEndpointText(destination, EndpointSide::Destination, to))
        return false;
    record.sourceAddress = from.address;
    record.sourcePort = from.port;
    record.destinationAddress = to.address;
    record.destinationPort = to.port;
    return true;
}

// Whether the line holds " on ", sixteen places at a time: a search that stops at every
// space calls memchr once a space, and most lines of other layouts hold none.
bool holdsOn(std::string_view line)
{
    std::size_t at = 0;
#ifdef __SSE2__
    const char* bytes = line.data();
    for (; at + 19 <= line.size(); at += 16) {
        if ((matchMask16(bytes + at, ' ') & matchMask16(bytes + at + 1, 'o') & matchMask16(bytes + at + 2, 'n')
             & matchMask16(bytes + at + 3, ' '))
            != 0)
            return true;
    }
#endif
    return line.substr(at).find(" on ") != std::string_view::npos;
}

} // namespace

RecordOutcome readPflogText(std::string_view line, FirewallRecord& record)
{
    record = {};
    // Every anchor holds " on "; most lines of other layouts are turned away by one search.
    if (!holdsOn(line))
        return RecordOutcome::NotThisLayout;
    TextCursor cursor(line);
    Anchor anchor;
    if (!findAnchor(cursor, anchor))
        return RecordOutcome::NotThisLayout;
    record.action = anchor.tokens[0];
    record.direction = anchor.tokens[1];
    record.interfaceName = anchor.tokens[3].substr(0, anchor.tokens[3].size() - 1);
    readLeadingDate(line, record);
    if (!readEndpoints(line, cursor, record))
        return RecordOutcome::NoEndpoints;
    return RecordOutcome::Read;
}

} // namespace rovex
