#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rovex {

// A service as the firewall product describes it: in its library file's watch lists and
// in its addservice/delservice messages. A key may be absent; absent and empty differ
// only where the watch says so (a service without ports adds or removes no port).
struct ServiceDescription {
    std::optional<std::string> serviceName;
    std::optional<std::string> servicePorts; // ports separated by single spaces
    std::optional<std::string> serviceImage;

    bool operator==(const ServiceDescription&) const = default;
};

using ServiceList = std::vector<ServiceDescription>;

// allServicesDict: port token or decimal port -> image name of the first service listing it.
using ServiceImages = std::map<std::string, std::string, std::less<>>;

} // namespace rovex
