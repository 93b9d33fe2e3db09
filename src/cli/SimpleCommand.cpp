#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"
#include "cli/LogOptions.h"
#include "cli/RootFolder.h"
#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"
#include "simplelog/SimpleLogTail.h"

#include <algorithm>
#include <array>
#include <iomanip>
#include <iostream>

namespace rovex::cli {
namespace {

struct RowField {
    std::string_view name;
    std::string_view (RXSimpleLog::*read)() const;
    bool image; // an empty image is the default, written as null
};

constexpr std::array<RowField, 16> rowFields{{
    {"logString", &RXSimpleLog::logString, false},
    {"logMonth", &RXSimpleLog::logMonth, false},
    {"logDay", &RXSimpleLog::logDay, false},
    {"logTime", &RXSimpleLog::logTime, false},
    {"logAction", &RXSimpleLog::logAction, false},
    {"logDirection", &RXSimpleLog::logDirection, false},
    {"logInterface", &RXSimpleLog::logInterface, false},
    {"logFirstAddress", &RXSimpleLog::logFirstAddress, false},
    {"logFirstPort", &RXSimpleLog::logFirstPort, false},
    {"logSecondAddress", &RXSimpleLog::logSecondAddress, false},
    {"logSecondPort", &RXSimpleLog::logSecondPort, false},
    {"logActionImage", &RXSimpleLog::logActionImage, true},
    {"logFirstPortImage", &RXSimpleLog::logFirstPortImage, true},
    {"logFirstPortName", &RXSimpleLog::logFirstPortName, false},
    {"logSecondPortImage", &RXSimpleLog::logSecondPortImage, true},
    {"logSecondPortName", &RXSimpleLog::logSecondPortName, false},
}};

void writeJson(std::ostream& out, const SimpleLogTail& tail)
{
    JsonWriter json(out);
    json.beginObject();
    json.key("rows");
    json.beginArray();
    for (const RXSimpleLog& row : tail.rows) {
        json.beginObject();
        for (const RowField& field : rowFields) {
            const std::string_view text = (row.*field.read)();
            json.key(field.name);
            if (field.image && text.empty())
                json.null();
            else
                json.value(text);
        }
        json.endObject();
    }
    json.endArray();
    json.key("limiter");
    json.value(tail.limiter);
    if (tail.layoutCounts)
        writeLayoutCounts(json, *tail.layoutCounts);
    json.endObject();
}

// A field for the terminal: control bytes from the log are shown as "?", never sent on.
std::string shown(std::string_view text, std::string_view whenEmpty = {})
{
    std::string out(text.empty() ? whenEmpty : text);
    std::ranges::replace_if(
        out, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return out;
}

std::string endpoint(std::string_view address, std::string_view port) { return shown(address) + '.' + shown(port); }

void writeText(std::ostream& out, const SimpleLogTail& tail)
{
    for (const RXSimpleLog& row : tail.rows) {
        out << std::left << std::setw(3) << shown(row.logMonth()) << ' ' << std::right << std::setw(2)
            << shown(row.logDay()) << ' ' << std::left << std::setw(8) << shown(row.logTime()) << "  " << std::setw(5)
            << shown(row.logAction()) << ' ' << std::setw(3) << shown(row.logDirection()) << "  " << std::setw(6)
            << shown(row.logInterface()) << "  " << std::setw(30) << endpoint(row.logFirstAddress(), row.logFirstPort())
            << " > " << std::setw(30) << endpoint(row.logSecondAddress(), row.logSecondPort()) << "  " << std::setw(11)
            << shown(row.logActionImage(), "-") << "  " << std::setw(14) << shown(row.logFirstPortImage(), "-") << "  "
            << shown(row.logSecondPortImage(), "-") << '\n';
    }
    out << "Rows: " << tail.rows.size() << " shown of " << std::max<std::int64_t>(tail.limiter, 0) << " lines read ("
        << tail.invalidLines << " not UTF-8), limiter " << tail.limiter << '\n';
    if (tail.layoutCounts)
        printLayoutCounts(out, *tail.layoutCounts);
}

} // namespace

int runSimple(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--root", "--log", "--limit", "--layouts"}, {"--json"}});
    const auto root = rootFolder(line);
    const std::int64_t limit = line.wholeNumber("--limit", "lines", 0).value_or(defaultSimpleLogLimiter);
    if (line.operands().size() + (line.value("--log") ? 1 : 0) > 1)
        throw UsageError("simple reads one log at the most");
    const std::filesystem::path log = line.operands().empty() ? chosenLog(line, root).liveLog()
                                                              : std::filesystem::path(line.operands()[0]);

    std::string error;
    const auto tail = readSimpleLogTail(log, limit,
                                        RXReadRovexConf().loadAllServices(paths::underRoot(root, paths::library)),
                                        &error, layoutSetting(line));
    if (!tail)
        throw CommandError("cannot read " + log.string() + ": " + error);
    if (line.flag("--json"))
        writeJson(std::cout, *tail);
    else
        writeText(std::cout, *tail);
    return 0;
}

} // namespace rovex::cli
