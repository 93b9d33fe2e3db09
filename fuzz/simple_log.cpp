// The simple log's own reading of pf lines, on both roads. Every field of an accepted row
// is read back, so a slice that strays outside the row's buffer is caught.
#include "simplelog/SimpleLogLineReader.h"

#include "text/SplitText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace rovex;

namespace {

std::size_t fieldBytes(const RXSimpleLog& row)
{
    using Field = std::string_view (RXSimpleLog::*)() const;
    constexpr Field fields[] = {
        &RXSimpleLog::logString,         &RXSimpleLog::logMonth,         &RXSimpleLog::logDay,
        &RXSimpleLog::logTime,           &RXSimpleLog::logAction,        &RXSimpleLog::logDirection,
        &RXSimpleLog::logInterface,      &RXSimpleLog::logFirstAddress,  &RXSimpleLog::logFirstPort,
        &RXSimpleLog::logSecondAddress,  &RXSimpleLog::logSecondPort,    &RXSimpleLog::logActionImage,
        &RXSimpleLog::logFirstPortImage, &RXSimpleLog::logFirstPortName, &RXSimpleLog::logSecondPortImage,
        &RXSimpleLog::logSecondPortName};
    std::size_t total = 0;
    for (const Field field : fields) {
        for (const char c : (row.*field)())
            total += static_cast<unsigned char>(c);
    }
    return total;
}

void readLine(std::string_view line, const ServiceImages& services)
{
    for (const SimpleLogRoad road : {SimpleLogRoad::Live, SimpleLogRoad::OnDemand}) {
        const SimpleLogReading reading = readSimpleLogLine(line, road, services);
        if (reading.outcome == SimpleLogOutcome::Accepted) {
            if (!reading.row)
                std::abort();
            // The live road keeps the line as it came.
            if (road == SimpleLogRoad::Live && reading.row->logString() != line)
                std::abort();
            // Kept where the optimiser cannot drop the reads.
            [[maybe_unused]] static volatile std::size_t sink = 0;
            sink = fieldBytes(*reading.row);
            // Halving runs of spaces never changes a field without spaces: each is a piece of the line.
            const RXSimpleLog& row = *reading.row;
            for (const std::string_view field : {row.logMonth(), row.logDay(), row.logTime(), row.logAction(),
                                                 row.logDirection(), row.logFirstAddress(), row.logSecondAddress()}) {
                if (line.find(field) == std::string_view::npos)
                    std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ServiceImages services{{"22", "ssh"}, {"80", "web"}, {"https", "web"}};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    forEachPiece(text, '\n', [](std::string_view line) { readLine(line, services); });
    return 0;
}
