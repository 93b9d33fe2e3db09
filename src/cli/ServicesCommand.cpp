#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"
#include "cli/RootFolder.h"
#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"

#include <iostream>

namespace rovex::cli {
namespace {

void writeImages(JsonWriter& json, const ServiceImages& images)
{
    json.key("allServices");
    json.beginObject();
    for (const auto& [port, image] : images)
        json.member(port, image);
    json.endObject();
}

void writeWatch(JsonWriter& json, std::string_view name, const ServiceList& services)
{
    json.key(name);
    json.beginArray();
    for (const ServiceDescription& service : services) {
        json.beginObject();
        json.member("serviceName", service.serviceName.value_or(""));
        json.member("servicePorts", service.servicePorts.value_or(""));
        json.member("serviceImage", service.serviceImage.value_or(""));
        json.endObject();
    }
    json.endArray();
}

} // namespace

int runServices(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--root"}, {}});
    const auto root = rootFolder(line);
    if (!line.operands().empty())
        throw UsageError("services takes no operand");
    const auto library = paths::underRoot(root, paths::library);
    std::error_code error;
    if (!std::filesystem::exists(library, error))
        std::cerr << "rovex-logs: no library file at " << library.string() << '\n';

    const RXReadRovexConf reader;
    JsonWriter json(std::cout);
    json.beginObject();
    writeImages(json, reader.loadAllServices(library));
    writeWatch(json, "notify", reader.loadNotify(library));
    writeWatch(json, "notifyBlock", reader.loadNotifyBlock(library));
    json.endObject();
    return 0;
}

} // namespace rovex::cli
