#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/LogOptions.h"
#include "cli/RootFolder.h"
#include "stats/StatsRun.h"

#include <unistd.h>

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <thread>

namespace rovex::cli {
namespace {

const OptionRules statsOptions{{"--root", "--log", "--layouts", "--files", "--action", "--direction", "--limit",
                                "--port", "--port-direction", "--port-limit"},
                               {"--json"}};

// The most files a run may be asked for: each one not there still costs a line.
constexpr std::int64_t maximumFiles = 100'000;

std::string oneOf(const CommandLine& line, const std::string& name, const std::string& first, const std::string& second,
                  const std::string& fallback)
{
    const std::string chosen = line.value(name).value_or(fallback);
    if (chosen != first && chosen != second)
        throw UsageError(name + " needs " + first + " or " + second);
    return chosen;
}

StatsQuery queryOf(const CommandLine& line)
{
    StatsQuery query;
    query.action = oneOf(line, "--action", "block", "pass", "block");
    query.direction = oneOf(line, "--direction", "in", "out", "in");
    query.limit = line.wholeNumber("--limit", "entries", 0).value_or(10);
    const std::optional<std::string> port = line.value("--port");
    if (!port) {
        if (line.value("--port-direction") || line.value("--port-limit"))
            throw UsageError("--port-direction and --port-limit need --port");
        return query;
    }
    query.port = PortQuery{
        *port, oneOf(line, "--port-direction", "in", "out", query.direction),
        line.wholeNumber("--port-limit", "entries", 1).value_or(std::max<std::int64_t>(query.limit, 1))};
    return query;
}

// colorIndex and rgb of an entry or a slice; an entry without a colour writes black.
void writeColour(JsonWriter& json, int colorIndex, const std::optional<Rgb>& colour)
{
    json.member("colorIndex", std::int64_t{colorIndex});
    json.key("rgb");
    json.beginArray();
    const Rgb rgb = colour.value_or(Rgb{});
    for (const std::uint8_t component : {rgb.red, rgb.green, rgb.blue})
        json.value(std::int64_t{component});
    json.endArray();
}

void writeSlices(JsonWriter& json, std::string_view name, const std::vector<RXDiaObj>& slices)
{
    json.key(name);
    json.beginArray();
    for (const RXDiaObj& slice : slices) {
        json.beginObject();
        json.member("theName", slice.theName);
        json.member("theNumber", slice.theNumber);
        writeColour(json, slice.colorIndex, slice.theColor);
        json.member("theRadius", slice.theRadius);
        json.endObject();
    }
    json.endArray();
}

// The members every ranked entry of the address and port lists has, after its name.
template <typename Entry>
void writeRanked(JsonWriter& json, const Entry& entry)
{
    json.member("theOccurrences", entry.theOccurrences);
    json.member("maxOccurrences", entry.maxOccurrences);
    json.member("rank", std::int64_t{entry.rank});
    writeColour(json, entry.rank, entry.theColor);
}

void writeLists(JsonWriter& json, const StatsResult& result)
{
    json.key("addresses");
    json.beginArray();
    for (const RXAddress& entry : result.addresses) {
        json.beginObject();
        json.member("theAddress", entry.theAddress);
        writeRanked(json, entry);
        json.endObject();
    }
    json.endArray();
    json.key("ports");
    json.beginArray();
    for (const RXPort& entry : result.ports) {
        json.beginObject();
        json.member("portText", entry.portText);
        json.member("thePort", entry.thePort);
        writeRanked(json, entry);
        json.endObject();
    }
    json.endArray();
}

void writeIpsForPort(JsonWriter& json, const IpsForPort& list)
{
    json.key("ipsForPort");
    json.beginObject();
    json.member("parserDirection", list.parserDirection);
    json.key("entries");
    json.beginArray();
    for (const RXAddress& entry : list.entries) {
        json.beginObject();
        json.member("theAddress", entry.theAddress);
        json.member("theOccurrences", entry.theOccurrences);
        json.member("maxOccurrences", entry.maxOccurrences);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

void writeJson(const StatsResult& result, std::int64_t count)
{
    JsonWriter json(std::cout);
    json.beginObject();
    json.member("missing", result.missing);
    json.member("count", count);
    if (!result.missing) {
        json.member("lineCount", result.lineCount);
        json.member("counted", result.counted);
        json.member("kept", result.kept);
        json.member("selected", result.selected);
        json.member("empty", result.empty);
        json.key("boxes");
        json.beginObject();
        json.member("ipBox", result.boxes.ipBox);
        json.member("portBox", result.boxes.portBox);
        json.member("dangerBox", result.boxes.dangerBox);
        json.endObject();
        writeLists(json, result);
        writeSlices(json, "addressSlices", result.addressSlices);
        writeSlices(json, "portSlices", result.portSlices);
        if (result.ipsForPort)
            writeIpsForPort(json, *result.ipsForPort);
        if (result.layoutCounts)
            writeLayoutCounts(json, *result.layoutCounts);
    }
    json.endObject();
}

// A share of the list's total as a bar of up to 20 characters, as the window's lists show it.
std::string shareBar(std::int64_t occurrences, std::int64_t total)
{
    const std::int64_t width = total > 0 ? occurrences * 20 / total : 0;
    return std::string(static_cast<std::size_t>(width), '#');
}

void writeEntry(std::string name, std::int64_t occurrences, std::int64_t total, int rank)
{
    // Texts come from the log: the terminal gets "?" for a control byte, never the byte.
    std::ranges::replace_if(
        name, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    std::cout << std::right << std::setw(4) << rank << "  " << std::left << std::setw(40) << name << std::right
              << std::setw(10) << occurrences << "  " << std::fixed << std::setprecision(1) << std::setw(5)
              << (total > 0 ? 100.0 * static_cast<double>(occurrences) / static_cast<double>(total) : 0.0) << "%  "
              << shareBar(occurrences, total) << '\n';
}

void writeText(const StatsResult& result, const StatsQuery& query, std::int64_t count)
{
    std::cout << "Read " << result.lineCount << " lines of " << result.fileCount << " file(s) (" << count
              << " log entries in the folder): " << result.counted << " counted, " << result.kept << " kept, "
              << result.selected << ' ' << query.action << ' ' << query.direction << '\n';
    if (result.layoutCounts)
        printLayoutCounts(std::cout, *result.layoutCounts);
    if (result.empty)
        std::cout << "No " << query.action << ' ' << query.direction << " record.\n";
    if (!result.addresses.empty())
        std::cout << "\nAddresses (" << (query.direction == "in" ? "source" : "target") << "):\n";
    for (const RXAddress& entry : result.addresses)
        writeEntry(entry.theAddress, entry.theOccurrences, entry.maxOccurrences, entry.rank);
    if (!result.ports.empty())
        std::cout << "\nTarget ports:\n";
    for (const RXPort& entry : result.ports)
        writeEntry(entry.portText, entry.theOccurrences, entry.maxOccurrences, entry.rank);
    if (!result.ipsForPort)
        return;
    std::cout << "\nAddresses on port " << query.port->portText << " (" << result.ipsForPort->parserDirection << "):\n";
    int rank = 0;
    for (const RXAddress& entry : result.ipsForPort->entries)
        writeEntry(entry.theAddress, entry.theOccurrences, entry.maxOccurrences, ++rank);
}

} // namespace

int runStats(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, statsOptions);
    if (!line.operands().empty())
        throw UsageError("stats takes no operand");
    const std::filesystem::path root = rootFolder(line);
    const std::int64_t files = line.wholeNumber("--files", "files", 1, maximumFiles).value_or(1);
    const StatsQuery query = queryOf(line);
    const LogArchives log = chosenLog(line, root);
    const std::int64_t count = log.countEntries();
    const bool progress = ::isatty(STDERR_FILENO) != 0;
    if (progress)
        std::cerr << "reading " << files << " file(s)..." << std::flush;
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1U, 2U);
    StatsRunOptions options;
    options.threads = threads;
    options.layouts = layoutSetting(line);
    const StatsResult result = runStatistics(log, files, query, options);
    if (progress)
        std::cerr << "\r\033[K" << std::flush;
    for (const std::string& diagnostic : result.diagnostics)
        std::cerr << "rovex-logs: " << diagnostic << '\n';
    if (line.flag("--json"))
        writeJson(result, count);
    if (result.missing) {
        std::cerr << "rovex-logs: no live log at " << log.liveLog().string() << '\n';
        return 1;
    }
    if (!line.flag("--json"))
        writeText(result, query, count);
    return 0;
}

} // namespace rovex::cli
