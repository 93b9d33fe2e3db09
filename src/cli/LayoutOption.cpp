#include "cli/LayoutOption.h"

#include "cli/CommandLine.h"

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

void printLayoutSummary(std::ostream& out, const LayoutAdapter& layouts)
{
    if (layouts.setting() != LayoutSetting::All)
        return;
    out << "Layouts:";
    const char* separator = " ";
    for (const LogLayout layout : {LogLayout::Product, LogLayout::Pflog, LogLayout::Filterlog, LogLayout::Unread}) {
        out << separator << layouts.counts()[static_cast<std::size_t>(layout)] << ' ' << describe(layout);
        separator = ", ";
    }
    out << '\n';
}

} // namespace rovex::cli
