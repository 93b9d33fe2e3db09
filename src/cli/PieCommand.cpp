#include "chart/PieChart.h"
#include "chart/RowPie.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/HeadlessViewer.h"
#include "cli/LogOptions.h"
#include "cli/JsonWriter.h"
#include "cli/LogInputs.h"
#include "cli/RootFolder.h"

#include <iomanip>
#include <iostream>
#include <optional>

namespace rovex::cli {
namespace {

std::optional<TrafficCategory> categoryNamed(std::string_view name)
{
    for (const TrafficCategory category : allTrafficCategories) {
        if (suffix(category) == name)
            return category;
    }
    return std::nullopt;
}

void writeJson(const std::vector<RXDiaObj>& slices, const PieGeometry& geometry)
{
    JsonWriter json(std::cout);
    json.beginObject();
    json.key("slices");
    json.beginArray();
    for (const RXDiaObj& slice : slices) {
        json.beginObject();
        json.member("theName", slice.theName);
        json.member("theNumber", slice.theNumber);
        json.member("colorIndex", std::int64_t{slice.colorIndex});
        json.key("rgb");
        json.beginArray();
        for (const std::uint8_t component : {slice.theColor.red, slice.theColor.green, slice.theColor.blue})
            json.value(std::int64_t{component});
        json.endArray();
        json.member("theRadius", slice.theRadius);
        json.member("theSign", slice.theSign);
        json.endObject();
    }
    json.endArray();
    json.key("sectors");
    json.beginArray();
    for (const PieSector& sector : geometry.sectors) {
        json.beginObject();
        json.member("theName", slices[sector.slice].theName);
        json.member("start", sector.start);
        json.member("end", sector.end);
        json.endObject();
    }
    json.endArray();
    json.key("grey");
    json.beginObject();
    json.member("start", geometry.greyStart);
    json.member("end", geometry.greyEnd);
    json.endObject();
    json.endObject();
}

// The legend as the popover shows it, with the colour and the angles of each slice.
void writeText(const std::vector<RXDiaObj>& slices, const PieGeometry& geometry)
{
    std::cout << std::fixed << std::setprecision(2);
    for (std::size_t position = 0; position < slices.size(); ++position) {
        const RXDiaObj& slice = slices[position];
        std::cout << slice.theSign << ' ' << std::left << std::setw(40) << slice.theName << std::right << std::setw(10)
                  << static_cast<std::int64_t>(slice.theNumber) << "  colour " << std::setw(2) << slice.colorIndex;
        if (position < geometry.sectors.size())
            std::cout << "  " << geometry.sectors[position].start << " to " << geometry.sectors[position].end;
        std::cout << '\n';
    }
    if (geometry.greyEnd > geometry.greyStart)
        std::cout << "grey " << geometry.greyStart << " to " << geometry.greyEnd << '\n';
}

// The counterparts seen with one row of a table of the classified logs.
std::vector<RXDiaObj> rowSlices(const CommandLine& line, const std::string& table, const std::string& row)
{
    const std::optional<TrafficCategory> category = categoryNamed(table);
    if (!category)
        throw UsageError("--table needs one of PortBlockIn, PortBlockOut, PortPassIn, PortPassOut, IpBlockIn, "
                         "IpBlockOut, IpPassIn, IpPassOut, not \""
                         + table + "\"");
    const auto root = rootFolder(line);
    std::vector<Input> inputs = openInputs(logNames(line));
    HeadlessViewer viewer(root, std::cerr);
    viewer.setLayouts(layoutSetting(line));
    for (Input& input : inputs)
        classify(viewer, input);
    return pieOfRow(viewer.store(), *category, row);
}

} // namespace

int runPie(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--table", "--row", "--root", "--log", "--layouts"}, {"--json"}});
    const std::optional<std::string> table = line.value("--table");
    std::vector<RXDiaObj> slices;
    if (table) {
        const std::optional<std::string> row = line.value("--row");
        if (!row)
            throw UsageError("pie --table needs --row NAME");
        slices = rowSlices(line, *table, *row);
    } else {
        if (line.value("--row") || line.value("--root") || line.value("--log") || line.value("--layouts"))
            throw UsageError("--row, --root, --log and --layouts go with --table");
        const std::vector<std::string_view> names(line.operands().begin(), line.operands().end());
        slices = makegraficoOfNames(names);
    }
    const PieGeometry geometry = pieSectors(slices);
    if (line.flag("--json"))
        writeJson(slices, geometry);
    else
        writeText(slices, geometry);
    return 0;
}

} // namespace rovex::cli
