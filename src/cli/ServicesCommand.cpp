#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/RootFolder.h"
#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace rovex::cli {
namespace {

nlohmann::ordered_json watchJson(const ServiceList& services)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ServiceDescription& service : services) {
        list.push_back({{"serviceName", service.serviceName.value_or("")},
                        {"servicePorts", service.servicePorts.value_or("")},
                        {"serviceImage", service.serviceImage.value_or("")}});
    }
    return list;
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
    nlohmann::ordered_json images = nlohmann::ordered_json::object();
    for (const auto& [port, image] : reader.loadAllServices(library))
        images[port] = image;
    const nlohmann::ordered_json json{{"allServices", std::move(images)},
                                      {"notify", watchJson(reader.loadNotify(library))},
                                      {"notifyBlock", watchJson(reader.loadNotifyBlock(library))}};
    std::cout << json.dump(2) << '\n';
    return 0;
}

} // namespace rovex::cli
