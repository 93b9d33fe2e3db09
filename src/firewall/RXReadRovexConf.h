#pragma once

#include "firewall/ServiceDescription.h"

#include <filesystem>

namespace rovex {

// Reads the firewall product's library file: which image belongs to which port, and which
// services the user watches for inbound traffic that is passed or blocked. It keeps no
// state and never writes the file; every call reads the file anew. A file that is missing,
// unreadable, corrupt or not a list of entries reads as empty, and entries or port tokens
// that are not well formed are left out while their neighbours still count.
class RXReadRovexConf final {
public:
    // allServicesDict: each port token of a service, and each port of its narrow ranges,
    // mapped to the image of the first service in the file that lists it.
    ServiceImages loadAllServices(const std::filesystem::path& path) const;

    // The same keys mapped to the name of the first service listing them, for the tables'
    // service column.
    ServiceImages loadServiceNames(const std::filesystem::path& path) const;

    // The services whose "serviceNotifyInbound" is true, in file order, with their ports
    // spelled out one by one in "servicePorts".
    ServiceList loadNotify(const std::filesystem::path& path) const;

    // The same for "serviceNotifyInboundBlock".
    ServiceList loadNotifyBlock(const std::filesystem::path& path) const;
};

} // namespace rovex
