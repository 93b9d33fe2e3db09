#pragma once

#include "firewall/ServiceDescription.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace rovex {

// The name of the service on a port, as the port tables show it beside the service's
// image: the firewall product's library names its services; other ports take the system
// service table's name, read once. One lookup per row shown.
class ServiceNames final {
public:
    explicit ServiceNames(std::filesystem::path services);

    // The library's names by port (its allServicesDict keys).
    void setLibraryNames(ServiceImages names) { m_library = std::move(names); }
    // The library's name of the port, else the first name the system table gives it (any
    // protocol); empty when neither names it.
    std::string_view nameOf(std::string_view port) const;

private:
    void load() const;

    ServiceImages m_library;
    std::filesystem::path m_services;
    mutable std::unordered_map<std::string, std::string> m_names;
    mutable bool m_loaded = false; // read on first use: windows that never show ports never pay
};

} // namespace rovex
