#include "intake/WatchedPorts.h"

#include <algorithm>
#include <optional>

namespace rovex {
namespace {

// The number a port text stands for when it is written as the log writes ports: decimal
// digits without a leading zero, at most 65535. Any other text is a port of its own.
std::optional<std::uint16_t> portNumber(std::string_view port)
{
    if (port.empty() || port.size() > 5 || (port.size() > 1 && port.front() == '0'))
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char digit : port) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(digit - '0');
    }
    if (value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

void PortSet::insertEach(std::string_view ports)
{
    forEachPort(ports, [this](std::string_view port) {
        if (m_members.emplace(port).second)
            m_order.emplace_back(port);
    });
}

void PortSet::eraseEach(std::string_view ports)
{
    bool erased = false;
    forEachPort(ports, [this, &erased](std::string_view port) { erased = m_members.erase(port) > 0 || erased; });
    if (erased)
        std::erase_if(m_order, [this](const std::string& port) { return !m_members.contains(port); });
}

void PortSet::clear()
{
    m_members.clear();
    m_order.clear();
}

ServicePorts::ServicePorts(std::string_view ports)
{
    std::vector<std::uint16_t> numbers;
    forEachPort(ports, [this, &numbers](std::string_view port) {
        if (const std::optional<std::uint16_t> number = portNumber(port))
            numbers.push_back(*number);
        else
            m_others.emplace_back(port);
    });
    std::sort(numbers.begin(), numbers.end());
    for (const std::uint16_t number : numbers) {
        if (!m_runs.empty() && number <= m_runs.back().last + 1)
            m_runs.back().last = std::max(m_runs.back().last, number);
        else
            m_runs.push_back({number, number});
    }
    m_runs.shrink_to_fit();
    std::sort(m_others.begin(), m_others.end());
    m_others.erase(std::unique(m_others.begin(), m_others.end()), m_others.end());
    m_others.shrink_to_fit();
}

bool ServicePorts::contains(std::string_view port) const
{
    const std::optional<std::uint16_t> number = portNumber(port);
    if (!number)
        return std::binary_search(m_others.begin(), m_others.end(), port, std::less<>{});
    // The last run starting at or before the number is the only one that can hold it.
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), *number,
                                        [](std::uint16_t value, const Run& run) { return value < run.first; });
    return after != m_runs.begin() && *number <= std::prev(after)->last;
}

} // namespace rovex
