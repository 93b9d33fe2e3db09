#include "app/desktop/ServiceNames.h"

#include "lookup/PortServices.h"

#include <optional>
#include <sstream>

namespace rovex {

ServiceNames::ServiceNames(std::filesystem::path services) : m_services(std::move(services)) {}

std::string_view ServiceNames::nameOf(std::string_view port) const
{
    if (const auto named = m_library.find(port); named != m_library.end())
        return named->second;
    if (!m_loaded)
        load();
    const auto found = m_names.find(std::string(port));
    return found != m_names.end() ? std::string_view(found->second) : std::string_view();
}

// Lines read "name port/protocol aliases... # comment"; the first line naming a port wins.
void ServiceNames::load() const
{
    m_loaded = true;
    const std::optional<std::string> table = readServicesTable(m_services);
    if (!table)
        return;
    std::istringstream lines(*table);
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string name;
        std::string portAndProtocol;
        if (!(fields >> name >> portAndProtocol))
            continue;
        const std::size_t slash = portAndProtocol.find('/');
        if (slash == 0 || slash == std::string::npos)
            continue;
        m_names.try_emplace(portAndProtocol.substr(0, slash), name);
    }
}

} // namespace rovex
