// The statistics' reading of a log: chunks cut by the line cutter (as the live log's byte
// ranges and the archives' decoded blocks arrive), each line read into a record and counted.
#include "fuzz/ChunkCuts.h"

#include "stats/LineCutter.h"
#include "stats/StatsLineReader.h"
#include "stats/StatsTally.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace rovex;

namespace {

using CutLines = std::vector<std::pair<std::string, bool>>;

CutLines linesOf(const std::vector<std::string_view>& chunks)
{
    LineCutter cutter;
    CutLines lines;
    const auto keep = [&lines](std::string_view line, bool readable) { lines.emplace_back(line, readable); };
    for (const std::string_view chunk : chunks)
        cutter.feed(chunk, keep);
    cutter.finish(keep);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool pass = input.ConsumeBool();
    const bool out = input.ConsumeBool();
    const fuzz::ChunkedText log = fuzz::cutIntoChunks(input);

    // Where the chunks end must never change the lines nor whether they may be read.
    const CutLines lines = linesOf(log.chunks);
    if (lines != linesOf({std::string_view(log.text)}))
        std::abort();

    StatsQuery query = StatsQuery::fromMatrices(pass ? 1 : 0, out ? 1 : 0, 10);
    query.port = PortQuery{"22", out ? "out" : "in", 10};
    StatsTally tally(query);
    RXLogLine record;
    std::string portScratch;
    for (const auto& [line, readable] : lines) {
        tally.addLine(line, readable);
        if (readable)
            readStatsLine(line, record, portScratch);
    }
    if (tally.lineCount() != static_cast<std::int64_t>(lines.size()))
        std::abort();
    return 0;
}
