#pragma once

#include "firewall/ServiceDescription.h"
#include "intake/ServiceNotification.h"
#include "intake/WatchedPorts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rovex {

// The services the user watches in the firewall product, for passed and for blocked
// inbound traffic, and the notification a connection to one of their ports raises.
class ServiceWatch final {
public:
    // The Kerberos port: connections to it are never notified.
    static constexpr std::string_view kerberos = "88";

    // Replaces both halves: the start-up load and the reload after the product saved.
    void load(ServiceList passed, ServiceList blocked);

    // Adds the ports of the services to a half's ports, without their services.
    void generatearraynotify(const ServiceList& services);
    void generatearraynotifyblock(const ServiceList& services);

    // A service identical to one already watched is not listed again; its ports are
    // watched again all the same.
    void addservice(const ServiceDescription& service);
    void addserviceblock(const ServiceDescription& service);
    void delservice(const ServiceDescription& service);
    void delserviceblock(const ServiceDescription& service);

    // The notification for a passed (buildNotify) or blocked (buildNotifyBlock) inbound
    // connection to port from address, or nothing when no watched service has the port.
    std::optional<ServiceNotification> buildNotify(std::string_view port, std::string_view address) const;
    std::optional<ServiceNotification> buildNotifyBlock(std::string_view port, std::string_view address) const;

    const ServiceList& arrayServiceNotify() const { return m_passed.services; }
    // The watched ports of a half, each once, in the order first listed.
    const std::vector<std::string>& arrayServiceNotifyPort() const { return m_passed.ports.inOrder(); }
    const ServiceList& arrayServiceNotifyBlock() const { return m_blocked.services; }
    const std::vector<std::string>& arrayServiceNotifyPortBlock() const { return m_blocked.ports.inOrder(); }

private:
    // One half of the watch. Its ports are a set, so that services spelling out every
    // port cost one set between them; each service's own ports are kept as runs, to tell
    // which services a notification names.
    struct Half {
        ServiceList services;
        std::vector<ServicePorts> servicePorts; // in step with services
        PortSet ports;

        void clear();
        void appendService(ServiceDescription service);
        void removeService(const ServiceDescription& service);
        bool watches(std::string_view port) const { return ports.contains(port); }
    };

    static void generate(Half& half, const ServiceList& services);
    static void add(Half& half, const ServiceDescription& service);
    static std::optional<ServiceNotification> build(const Half& half, std::string_view title, std::string_view port,
                                                    std::string_view address);

    Half m_passed;
    Half m_blocked;
};

} // namespace rovex
