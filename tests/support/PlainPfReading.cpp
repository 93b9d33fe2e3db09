#include "PlainPfReading.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <sstream>

namespace rovex::test {
namespace {

std::optional<std::pair<std::string, std::string>> endpoint(const std::string& text, long dots)
{
    if (std::count(text.begin(), text.end(), '.') != dots)
        return std::nullopt;
    const std::size_t last = text.rfind('.');
    return std::pair{text.substr(0, last), text.substr(last + 1)};
}

void count(PlainRows& rows, const std::string& name)
{
    const auto row = std::find_if(rows.begin(), rows.end(), [&name](const auto& r) { return r.first == name; });
    if (row == rows.end())
        rows.emplace_back(name, 1);
    else
        ++row->second;
}

bool isAscii(const std::string& line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= 0x7f; });
}

} // namespace

std::map<std::string, PlainRows> plainTables(const std::string& log, const PlainIgnores& ignores)
{
    std::map<std::string, PlainRows> tables;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (!isAscii(line))
            continue;
        std::istringstream words(line);
        const std::vector<std::string> f{std::istream_iterator<std::string>(words), {}};
        if (f.size() < 15 || (f[8] != "block" && f[8] != "pass") || (f[9] != "in" && f[9] != "out"))
            continue;
        const long dots = std::count(f[12].begin(), f[12].end(), '.') == 4 ? 4 : 1;
        const auto source = endpoint(f[12], dots);
        const auto destination = endpoint(f[14].substr(0, f[14].size() - 1), dots);
        // 0.0.0.0 and :: are hosts still asking for an address (DHCP), not traffic.
        if (!source || !destination || source->first == "0.0.0.0" || source->first.starts_with("::")
            || destination->second == ignores.port || source->first == ignores.address
            || destination->first == ignores.address)
            continue;
        const bool in = f[9] == "in";
        const std::string kind = (f[8] == "block" ? "Block" : "Pass") + std::string(in ? "In" : "Out");
        count(tables["Port" + kind], destination->second);
        count(tables["Ip" + kind], in ? source->first : destination->first);
    }
    for (auto& [table, rows] : tables)
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return tables;
}

} // namespace rovex::test
