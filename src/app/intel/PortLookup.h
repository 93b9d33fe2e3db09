#pragma once

#include "lookup/PortServices.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>

namespace rovex {

// The port popover's lookup: the service table is read and matched off the main thread;
// only the latest request delivers, an older answer that arrives late is dropped.
class PortLookup final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortLookup)

public:
    explicit PortLookup(std::filesystem::path services = systemServicesFile, QObject* parent = nullptr);

    // Emits started(port) at once, found() when the answer is ready.
    void getPortInfo(const QString& port);

Q_SIGNALS:
    void started(const QString& port);
    // serviceLines empty: nothing matched ("nomoreinfo"); typeKey: "systemport",
    // "registport" or "ephemport".
    void found(const QString& port, const QString& serviceLines, const QString& typeKey);

private:
    std::filesystem::path m_services;
    std::uint64_t m_generation = 0;
};

} // namespace rovex
