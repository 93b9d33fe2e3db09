#include "sim/GeoipConverter.h"

#include "sim/CidrBlock.h"
#include "sim/UniqueFd.h"
#include "text/DecimalText.h"

#include <fcntl.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace rovex {

namespace {

std::optional<std::uint32_t> readAddress(std::string_view text)
{
    const std::optional<std::int64_t> value = readDecimal(text);
    if (!value || *value < 0 || *value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

std::optional<std::size_t> codeIndex(std::string_view code)
{
    if (code.size() != 2)
        return std::nullopt;
    std::size_t index = 0;
    for (const char c : code) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower < 'a' || lower > 'z')
            return std::nullopt;
        index = index * 26 + static_cast<std::size_t>(lower - 'a');
    }
    return index;
}

std::string codeText(std::size_t index)
{
    return {static_cast<char>('a' + index / 26), static_cast<char>('a' + index % 26)};
}

[[noreturn]] void failLine(std::size_t lineNumber, std::string_view line)
{
    throw std::runtime_error("line " + std::to_string(lineNumber)
                             + " is not LOW,HIGH,CC: " + std::string(line.substr(0, 80)));
}

} // namespace

void GeoipConverter::readFile(const std::filesystem::path& source)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + source.string());
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw std::runtime_error("cannot read " + source.string());
    readText(text.view());
}

void GeoipConverter::readText(std::string_view text)
{
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        readLine(line, lineNumber);
    }
}

void GeoipConverter::readLine(std::string_view line, std::size_t lineNumber)
{
    const std::size_t firstComma = line.find(',');
    const std::size_t secondComma = line.find(',', firstComma == std::string_view::npos ? line.size() : firstComma + 1);
    if (secondComma == std::string_view::npos)
        failLine(lineNumber, line);
    const std::optional<std::uint32_t> low = readAddress(line.substr(0, firstComma));
    const std::optional<std::uint32_t> high = readAddress(line.substr(firstComma + 1, secondComma - firstComma - 1));
    const std::string_view code = line.substr(secondComma + 1);
    if (!low || !high || *low > *high)
        failLine(lineNumber, line);
    if (code == "??") {
        ++m_rangesWithoutCountry;
        return;
    }
    // Only letters make a code, so no source line can steer a file name out of the folder.
    const std::optional<std::size_t> index = codeIndex(code);
    if (!index)
        failLine(lineNumber, line);
    m_ranges[*index].push_back({*low, *high});
}

GeoipSummary GeoipConverter::write(const std::filesystem::path& folder) const
{
    std::filesystem::create_directories(folder);
    GeoipSummary summary;
    summary.rangesWithoutCountry = m_rangesWithoutCountry;
    std::vector<AddressRange> ranges;
    std::vector<CidrBlock> blocks;
    std::string text;
    for (std::size_t index = 0; index < codeCount; ++index) {
        if (m_ranges[index].empty())
            continue;
        ranges = m_ranges[index];
        mergeTouchingRanges(ranges);
        blocks.clear();
        for (const AddressRange& range : ranges)
            appendCidrBlocks(range, blocks);
        text.clear();
        for (const CidrBlock& block : blocks) {
            block.appendText(text);
            text.push_back('\n');
        }
        const UniqueFd file = UniqueFd::open(folder / (codeText(index) + "-aggregated.zone"),
                                             O_WRONLY | O_CREAT | O_TRUNC);
        file.writeAll(text);
        ++summary.files;
        summary.blocks += blocks.size();
    }
    return summary;
}

} // namespace rovex
