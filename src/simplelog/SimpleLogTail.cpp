#include "simplelog/SimpleLogTail.h"

#include "simplelog/LogTailFile.h"
#include "simplelog/SimpleLogLineReader.h"
#include "text/Utf8.h"

namespace rovex {

std::optional<SimpleLogTail> readSimpleLogTail(const std::filesystem::path& log, std::int64_t limiter,
                                               const ServiceImages& services, std::string* error, LayoutSetting layouts)
{
    LogTailFile file(log);
    const auto failed = [&file, error]() -> std::optional<SimpleLogTail> {
        if (error != nullptr)
            *error = file.failure();
        return std::nullopt;
    };
    if (!file.isOpen())
        return failed();
    SimpleLogTail tail;
    tail.limiter = limiter;
    if (limiter <= 0)
        return tail;

    const auto pieces = file.findLastPieces(static_cast<std::uint64_t>(limiter));
    if (!pieces)
        return failed();
    if (pieces->wholeFile)
        tail.limiter = static_cast<std::int64_t>(pieces->pieces);
    LayoutAdapter adapter(layouts);
    const auto readLine = [&tail, &services, &adapter](std::optional<std::string_view> line) {
        if (!line)
            return; // too long to be a pf line; skipped like any line that does not fit
        if (!isValidUtf8(*line)) {
            ++tail.invalidLines;
            return;
        }
        SimpleLogReading reading = readSimpleLogLine(*line, SimpleLogRoad::OnDemand, services, adapter);
        if (reading.row)
            tail.rows.push_back(std::move(*reading.row));
    };
    const bool read = file.forEachPiece(pieces->offset, maxSimpleLogLineBytes, readLine);
    if (layouts == LayoutSetting::All)
        tail.layoutCounts = adapter.counts();
    return read ? std::optional(std::move(tail)) : failed();
}

} // namespace rovex
