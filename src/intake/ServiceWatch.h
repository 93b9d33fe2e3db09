#pragma once

#include "firewall/ServiceDescription.h"
#include "intake/ServiceNotification.h"

#include "text/TextHash.h"

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

    // Appends the ports of the services to a half's port list, duplicates included.
    void generatearraynotify(const ServiceList& services);
    void generatearraynotifyblock(const ServiceList& services);

    void addservice(const ServiceDescription& service);
    void addserviceblock(const ServiceDescription& service);
    void delservice(const ServiceDescription& service);
    void delserviceblock(const ServiceDescription& service);

    // The notification for a passed (buildNotify) or blocked (buildNotifyBlock) inbound
    // connection to port from address, or nothing when no watched service has the port.
    std::optional<ServiceNotification> buildNotify(std::string_view port, std::string_view address) const;
    std::optional<ServiceNotification> buildNotifyBlock(std::string_view port, std::string_view address) const;

    const ServiceList& arrayServiceNotify() const { return m_passed.services; }
    const std::vector<std::string>& arrayServiceNotifyPort() const { return m_passed.ports; }
    const ServiceList& arrayServiceNotifyBlock() const { return m_blocked.services; }
    const std::vector<std::string>& arrayServiceNotifyPortBlock() const { return m_blocked.ports; }

private:
    // One half of the watch. The port list keeps the order and duplicates the product
    // expects; the counts and per-service port sets answer "is it watched" without a walk,
    // which matters when a watched range spells out thousands of ports.
    struct Half {
        ServiceList services;
        std::vector<TextSet> servicePorts; // in step with services
        std::vector<std::string> ports;
        TextMap<int> portCounts;

        void clear();
        void appendService(const ServiceDescription& service);
        void appendPort(std::string_view port);
        void removeService(const ServiceDescription& service);
        bool watches(std::string_view port) const;
    };

    static void generate(Half& half, const ServiceList& services);
    static void add(Half& half, const ServiceDescription& service);
    static std::optional<ServiceNotification> build(const Half& half, std::string_view title, std::string_view port,
                                                    std::string_view address);

    Half m_passed;
    Half m_blocked;
};

} // namespace rovex
