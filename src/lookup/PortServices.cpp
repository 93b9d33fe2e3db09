#include "lookup/PortServices.h"

#include "text/AsciiText.h"
#include "text/DecimalText.h"
#include "text/SplitText.h"

#include <fstream>

namespace rovex {
namespace {

bool isWordByte(char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || byte == '_';
}

// grep's "\<PORT\>": an occurrence that starts and ends with a word byte, with no word
// byte just before or just after it.
bool holdsWholeWord(std::string_view line, std::string_view word)
{
    if (word.empty() || !isWordByte(word.front()) || !isWordByte(word.back()))
        return false;
    for (std::size_t at = line.find(word); at != std::string_view::npos; at = line.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        const bool startsWord = at == 0 || !isWordByte(line[at - 1]);
        const bool endsWord = end == line.size() || !isWordByte(line[end]);
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

// grep's second filter, "PORT/": the port followed directly by the slash of its protocol.
bool holdsPortColumn(std::string_view line, std::string_view port)
{
    for (std::size_t at = line.find(port); at != std::string_view::npos; at = line.find(port, at + 1)) {
        if (at + port.size() < line.size() && line[at + port.size()] == '/')
            return true;
    }
    return false;
}

void appendWithoutHashes(std::string& out, std::string_view line)
{
    for (const char byte : line) {
        if (byte != '#')
            out.push_back(byte);
    }
    out.push_back('\n');
}

} // namespace

std::string serviceLinesForPort(std::string_view servicesText, std::string_view port)
{
    // The piece after the last "\n" is a line only when it holds something.
    if (servicesText.ends_with('\n'))
        servicesText.remove_suffix(1);
    std::string kept;
    forEachPiece(servicesText, '\n', [&kept, port](std::string_view line) {
        if (holdsWholeWord(line, port) && holdsPortColumn(line, port))
            appendWithoutHashes(kept, line);
    });
    return asciiText(kept);
}

std::string_view portTypeKey(std::string_view port)
{
    const auto value = readDecimal(port);
    if (value && *value >= 1024 && *value <= 49151)
        return "registport";
    if (value && *value >= 49152)
        return "ephemport";
    return "systemport";
}

std::optional<std::string> readServicesTable(const std::filesystem::path& services)
{
    std::ifstream in(services, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text;
    std::string line;
    while (std::getline(in, line)) {
        text += line;
        text += '\n';
    }
    // A read error (a folder opens, then fails) leaves the stream bad.
    if (in.bad())
        return std::nullopt;
    return text;
}

PortInfo getPortInfo(const std::filesystem::path& services, std::string_view port)
{
    const auto table = readServicesTable(services);
    return {std::string(port), table ? serviceLinesForPort(*table, port) : std::string(),
            std::string(portTypeKey(port))};
}

} // namespace rovex
