#include "cli/LogOptions.h"

#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"

#include <ostream>

namespace rovex::cli {

LayoutSetting layoutSetting(const CommandLine& line)
{
    const auto text = line.value("--layouts");
    if (!text || *text == "product")
        return LayoutSetting::Product;
    if (*text == "all")
        return LayoutSetting::All;
    throw UsageError("--layouts needs product or all");
}

std::optional<std::string> logOption(const CommandLine& line)
{
    std::optional<std::string> log = line.value("--log");
    if (log && log->empty())
        throw UsageError("--log needs a file");
    return log;
}

LogArchives chosenLog(const CommandLine& line, const std::filesystem::path& root)
{
    const std::optional<std::string> log = logOption(line);
    return log ? LogArchives::chosenLog(*log) : LogArchives::productLog(root);
}

void printLayoutSummary(std::ostream& out, const LayoutAdapter& layouts)
{
    if (layouts.setting() == LayoutSetting::All)
        printLayoutCounts(out, layouts.counts());
}

void printLayoutCounts(std::ostream& out, const LayoutAdapter::LayoutCounts& counts)
{
    out << "Layouts: " << describeCounts(counts) << '\n';
}

void writeLayoutCounts(JsonWriter& json, const LayoutAdapter::LayoutCounts& counts)
{
    json.key("layouts");
    json.beginObject();
    for (const LogLayout layout : allLogLayouts)
        json.member(describe(layout), static_cast<std::int64_t>(counts[static_cast<std::size_t>(layout)]));
    json.endObject();
}

} // namespace rovex::cli
