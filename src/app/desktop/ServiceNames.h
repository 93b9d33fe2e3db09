#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace rovex {

// The name of the service usually found on a port, as the port tables show it beside the
// service's image: read once from the system's service table, then one hash lookup per row.
class ServiceNames final {
public:
    explicit ServiceNames(std::filesystem::path services);

    // The first name the table gives the port (any protocol); empty when it names none.
    std::string_view nameOf(std::string_view port) const;

private:
    void load() const;

    std::filesystem::path m_services;
    mutable std::unordered_map<std::string, std::string> m_names;
    mutable bool m_loaded = false; // read on first use: windows that never show ports never pay
};

} // namespace rovex
