// The live log as it is followed: bytes in reads cut anywhere, joined by the line
// assembler, checked for UTF-8 and classified into the traffic store with a service watched.
#include "fuzz/ChunkCuts.h"

#include "intake/LineAssembler.h"
#include "intake/LogIntake.h"
#include "intake/PfLineGrammar.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace rovex;

namespace {

std::vector<std::string> linesOf(const std::vector<std::string_view>& chunks)
{
    LineAssembler assembler;
    std::vector<std::string> lines;
    const auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
    for (const std::string_view chunk : chunks)
        assembler.feed(chunk, keep);
    assembler.endOfFile(keep);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const fuzz::ChunkedText log = fuzz::cutIntoChunks(input);

    // Where the reads end must never change the lines: the assembler joins them again.
    const std::vector<std::string> lines = linesOf(log.chunks);
    if (lines != linesOf({std::string_view(log.text)}))
        std::abort();

    PfLogLine record;
    for (const std::string& line : lines)
        readPfLogLine(line, record);

    TrafficStore store;
    ServiceWatch watch;
    watch.load({{std::string("SSH"), std::string("22"), std::string("ssh")}},
               {{std::string("Web"), std::string("80 443"), std::string("web")}});
    LogIntake intake(store, watch, [](const ServiceNotification&) {});
    const TimePoint now{};
    for (const std::string_view chunk : log.chunks)
        intake.feed(chunk, now);
    intake.endOfFile(now);
    for (const TrafficCategory category : allTrafficCategories)
        store.rankedByCount(category);
    return 0;
}
