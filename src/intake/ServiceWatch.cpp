#include "intake/ServiceWatch.h"

#include <algorithm>

namespace rovex {
namespace {

constexpr std::string_view passedTitle = "Inbound connection passed";
constexpr std::string_view blockedTitle = "Inbound connection blocked";

// A service without ports adds or removes no port.
std::string_view portsOf(const ServiceDescription& service)
{
    return service.servicePorts ? std::string_view(*service.servicePorts) : std::string_view{};
}

} // namespace

void ServiceWatch::Half::clear()
{
    services.clear();
    servicePorts.clear();
    ports.clear();
}

void ServiceWatch::Half::appendService(ServiceDescription service)
{
    servicePorts.emplace_back(portsOf(service));
    services.push_back(std::move(service));
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
    servicePorts.erase(servicePorts.begin() + static_cast<std::ptrdiff_t>(kept), servicePorts.end());
    ports.eraseEach(portsOf(service));
}

void ServiceWatch::load(ServiceList passed, ServiceList blocked)
{
    m_passed.clear();
    m_blocked.clear();
    generatearraynotify(passed);
    generatearraynotifyblock(blocked);
    // Moved in: a library file may spell out every port of many services.
    for (ServiceDescription& service : passed)
        m_passed.appendService(std::move(service));
    for (ServiceDescription& service : blocked)
        m_blocked.appendService(std::move(service));
}

void ServiceWatch::generate(Half& half, const ServiceList& services)
{
    for (const ServiceDescription& service : services)
        half.ports.insertEach(portsOf(service));
}

void ServiceWatch::generatearraynotify(const ServiceList& services) { generate(m_passed, services); }
void ServiceWatch::generatearraynotifyblock(const ServiceList& services) { generate(m_blocked, services); }

void ServiceWatch::add(Half& half, const ServiceDescription& service)
{
    // Any peer on the bus may repeat a service: listed once, it is named once.
    if (std::find(half.services.begin(), half.services.end(), service) == half.services.end())
        half.appendService(service);
    half.ports.insertEach(portsOf(service));
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

std::optional<ServiceNotification> ServiceWatch::buildNotifyBlock(std::string_view port, std::string_view address) const
{
    return build(m_blocked, blockedTitle, port, address);
}

} // namespace rovex
