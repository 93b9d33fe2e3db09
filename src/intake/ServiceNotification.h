#pragma once

#include <string>

namespace rovex {

// What the desktop shows for an inbound connection to a watched service.
struct ServiceNotification {
    std::string title;           // "Inbound connection blocked" / "Inbound connection passed"
    std::string subtitle;        // "ADDRESS port PORT"
    std::string informativeText; // every matching service's name, each after one space
    std::string image;           // image of the first matching service; may be empty

    bool operator==(const ServiceNotification&) const = default;
};

} // namespace rovex
