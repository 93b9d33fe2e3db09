#include "app/intel/PortLookup.h"

#include "app/intel/BackgroundWork.h"

#include <string>

namespace rovex {

PortLookup::PortLookup(std::filesystem::path services, QObject* parent)
    : QObject(parent), m_services(std::move(services))
{}

void PortLookup::getPortInfo(const QString& port)
{
    const std::uint64_t generation = ++m_generation;
    Q_EMIT started(port);
    runInBackground<PortInfo>(
        this, [services = m_services, text = port.toStdString()] { return rovex::getPortInfo(services, text); },
        [this, generation, port](const PortInfo& info) {
            if (generation != m_generation)
                return; // a newer request is on its way
            Q_EMIT found(port, QString::fromStdString(info.portServiceName),
                         QString::fromStdString(info.portTypeLabel));
        });
}

} // namespace rovex
