#include "lookup/CountryDatabase.h"

#include "lookup/CountryNames.h"
#include "lookup/RXMatchIP.h"
#include "text/SplitText.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <system_error>

namespace rovex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view zoneSuffix = "-aggregated.zone";

// Every entry below directory whose relative path ends with the zone suffix, sorted by
// that relative path. A folder that cannot be read, or that does not exist, adds nothing;
// no filesystem error leaves this function.
std::vector<std::string> zoneEntries(const fs::path& directory)
{
    std::vector<std::string> entries;
    std::error_code error;
    fs::recursive_directory_iterator walk(directory, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        std::string relative = walk->path().lexically_relative(directory).generic_string();
        if (relative.ends_with(zoneSuffix))
            entries.push_back(std::move(relative));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The code is taken from the file name alone: sub/it-aggregated.zone gives "it".
std::string codeOf(const std::string& relative)
{
    const std::string name = fs::path(relative).filename().string();
    return name.substr(0, name.find('-'));
}

// The whole text of the file, or nothing when it cannot be read or fails part of the way.
std::optional<std::string> readText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string text;
    std::array<char, 1 << 16> chunk{};
    while (in) {
        in.read(chunk.data(), chunk.size());
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (!in.is_open() || in.bad() || !in.eof())
        return std::nullopt;
    return text;
}

// A line that is not UTF-8 is kept as an empty line, which matches nothing: one bad line
// must not cost the country its other blocks. A line ending in a carriage return (a file
// written with CRLF line ends) is the line without it.
std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    forEachPiece(text, '\n', [&lines](std::string_view line) {
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.emplace_back(isValidUtf8(line) ? line : std::string_view{});
    });
    return lines;
}

} // namespace

void CountryDatabase::load(const fs::path& directory, std::ostream& diagnostics)
{
    diagnostics << "READING ROVEX COUNTRY DATABASE\n";
    for (const std::string& relative : zoneEntries(directory)) {
        const fs::path file = directory / relative;
        std::error_code error;
        if (!fs::is_regular_file(file, error)) {
            diagnostics << "nation aggregated file not found !!\n";
            continue;
        }
        const std::optional<std::string> text = readText(file);
        if (!text) {
            diagnostics << "cannot read nation aggregated file " << file.string() << '\n';
            continue;
        }
        m_countryBlocks[codeOf(relative)] = splitLines(*text);
    }
    diagnostics << "imported " << m_countryBlocks.size() << " nations\n";
    m_index = CountryIndex(m_countryBlocks);
}

CountryMatch CountryDatabase::countryOf(std::string_view address) const
{
    const std::optional<std::uint32_t> value = readIPv4(address);
    if (!value)
        return {};
    return m_index.find(*value);
}

CountryMatch CountryDatabase::countryOfByScan(std::string_view address) const
{
    CountryMatch match;
    for (const auto& [code, lines] : m_countryBlocks) {
        for (const std::string& line : lines) {
            if (line.empty() || !matchIP(address, line))
                continue;
            // Every hit is shown in turn; its name only when the table knows the code.
            match.code = code;
            if (const std::optional<std::string_view> name = countryName(code))
                match.nation = *name;
        }
    }
    return match;
}

} // namespace rovex
