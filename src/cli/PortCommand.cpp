#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "lookup/PortServices.h"

#include <iostream>

namespace rovex::cli {
namespace {

constexpr std::string_view noMoreInfo = "nomoreinfo";

void writeJson(const std::string& table, const std::vector<std::string>& ports)
{
    JsonWriter json(std::cout);
    json.beginArray();
    for (const std::string& port : ports) {
        const std::string lines = serviceLinesForPort(table, port);
        json.beginObject();
        json.key("portLabel");
        json.value(port);
        json.key("portServiceName");
        json.value(lines.empty() ? noMoreInfo : std::string_view(lines));
        json.key("portTypeLabel");
        json.value(portTypeKey(port));
        json.endObject();
    }
    json.endArray();
}

// "PORT  CLASS", then the matching lines indented under it.
void writeText(const std::string& table, const std::vector<std::string>& ports)
{
    for (const std::string& port : ports) {
        std::cout << port << "  " << portTypeKey(port) << '\n';
        const std::string lines = serviceLinesForPort(table, port);
        if (lines.empty())
            std::cout << "    " << noMoreInfo << '\n';
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t end = lines.find('\n', at) + 1; // every matched line ends in "\n"
            std::cout << "    " << std::string_view(lines).substr(at, end - at);
            at = end;
        }
    }
}

} // namespace

int runPort(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--services"}, {"--json"}});
    if (line.operands().empty())
        throw UsageError("port needs at least one port");
    const std::filesystem::path services = line.value("--services").value_or(systemServicesFile.string());
    const auto table = readServicesTable(services);
    if (!table)
        throw CommandError("cannot read the service table " + services.string());
    if (line.flag("--json"))
        writeJson(*table, line.operands());
    else
        writeText(*table, line.operands());
    return 0;
}

} // namespace rovex::cli
