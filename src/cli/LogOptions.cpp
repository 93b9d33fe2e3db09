#include "cli/LogOptions.h"

#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"

#include <array>
#include <ostream>

namespace rovex::cli {
namespace {

constexpr std::array<LogLayout, logLayoutCount> jsonOrder{LogLayout::Product, LogLayout::Pflog, LogLayout::Filterlog,
                                                          LogLayout::Unread};

} // namespace

LayoutSetting layoutSetting(const CommandLine& line)
{
    const auto text = line.value("--layouts");
    if (!text || *text == "product")
        return LayoutSetting::Product;
    if (*text == "all")
        return LayoutSetting::All;
    throw UsageError("--layouts needs product or all");
}

LogArchives chosenLog(const CommandLine& line, const std::filesystem::path& root)
{
    const auto log = line.value("--log");
    if (!log)
        return LogArchives::productLog(root);
    if (log->empty())
        throw UsageError("--log needs a file");
    return LogArchives::chosenLog(*log);
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
    for (const LogLayout layout : jsonOrder)
        json.member(describe(layout), static_cast<std::int64_t>(counts[static_cast<std::size_t>(layout)]));
    json.endObject();
}

} // namespace rovex::cli
