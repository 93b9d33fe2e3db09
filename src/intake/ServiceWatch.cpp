#include "intake/ServiceWatch.h"

#include "text/SplitText.h"

#include <algorithm>

namespace rovex {
namespace {

constexpr std::string_view passedTitle = "Inbound connection passed";
constexpr std::string_view blockedTitle = "Inbound connection blocked";

// The ports of a service: its "servicePorts" split at single spaces. An empty piece (from
// the trailing spaces of an expanded range, or a double space) is never a port.
template <typename Visitor>
void forEachPort(const ServiceDescription& service, Visitor&& visit)
{
    if (!service.servicePorts)
        return;
    forEachPiece(*service.servicePorts, ' ', [&visit](std::string_view piece) {
        if (!piece.empty())
            visit(piece);
    });
}

} // namespace

void ServiceWatch::Half::clear()
{
    services.clear();
    servicePorts.clear();
    ports.clear();
    portCounts.clear();
}

void ServiceWatch::Half::appendService(const ServiceDescription& service)
{
    services.push_back(service);
    auto& own = servicePorts.emplace_back();
    forEachPort(service, [&own](std::string_view port) { own.emplace(port); });
}

void ServiceWatch::Half::appendPort(std::string_view port)
{
    ports.emplace_back(port);
    ++portCounts[port];
}

void ServiceWatch::Half::removeService(const ServiceDescription& service)
{
    // Names are compared as the product sends them: a missing name equals nothing.
    const auto sameName = [&service](const ServiceDescription& watched) {
        return service.serviceName && watched.serviceName && *watched.serviceName == *service.serviceName;
    };
    std::size_t kept = 0;
    for (std::size_t i = 0; i < services.size(); ++i) {
        if (sameName(services[i]))
            continue;
        if (kept != i) {
            services[kept] = std::move(services[i]);
            servicePorts[kept] = std::move(servicePorts[i]);
        }
        ++kept;
    }
    services.resize(kept);
    servicePorts.resize(kept);
    forEachPort(service, [this](std::string_view port) {
        if (portCounts.erase(port) > 0)
            std::erase(ports, port);
    });
}

bool ServiceWatch::Half::watches(std::string_view port) const { return portCounts.contains(port); }

void ServiceWatch::load(ServiceList passed, ServiceList blocked)
{
    m_passed.clear();
    m_blocked.clear();
    for (const ServiceDescription& service : passed)
        m_passed.appendService(service);
    for (const ServiceDescription& service : blocked)
        m_blocked.appendService(service);
    generatearraynotify(passed);
    generatearraynotifyblock(blocked);
}

void ServiceWatch::generate(Half& half, const ServiceList& services)
{
    for (const ServiceDescription& service : services)
        forEachPort(service, [&half](std::string_view port) { half.appendPort(port); });
}

void ServiceWatch::generatearraynotify(const ServiceList& services) { generate(m_passed, services); }
void ServiceWatch::generatearraynotifyblock(const ServiceList& services) { generate(m_blocked, services); }

void ServiceWatch::add(Half& half, const ServiceDescription& service)
{
    half.appendService(service);
    forEachPort(service, [&half](std::string_view port) {
        if (!half.watches(port))
            half.appendPort(port);
    });
}

void ServiceWatch::addservice(const ServiceDescription& service) { add(m_passed, service); }
void ServiceWatch::addserviceblock(const ServiceDescription& service) { add(m_blocked, service); }
void ServiceWatch::delservice(const ServiceDescription& service) { m_passed.removeService(service); }
void ServiceWatch::delserviceblock(const ServiceDescription& service) { m_blocked.removeService(service); }

std::optional<ServiceNotification> ServiceWatch::build(const Half& half, std::string_view title, std::string_view port,
                                                       std::string_view address)
{
    if (port == kerberos || !half.watches(port))
        return std::nullopt;
    ServiceNotification notification;
    notification.title = title;
    notification.subtitle.append(address).append(" port ").append(port);
    for (std::size_t i = 0; i < half.services.size(); ++i) {
        if (!half.servicePorts[i].contains(port))
            continue;
        notification.informativeText.append(" ").append(half.services[i].serviceName.value_or(""));
        if (notification.image.empty())
            notification.image = half.services[i].serviceImage.value_or("");
    }
    return notification;
}

std::optional<ServiceNotification> ServiceWatch::buildNotify(std::string_view port, std::string_view address) const
{
    return build(m_passed, passedTitle, port, address);
}

std::optional<ServiceNotification> ServiceWatch::buildNotifyBlock(std::string_view port,
                                                                  std::string_view address) const
{
    return build(m_blocked, blockedTitle, port, address);
}

} // namespace rovex
