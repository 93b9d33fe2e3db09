#include "sim/BusCommands.h"

#include "sim/SimBus.h"
#include "sim/ProductRecorder.h"
#include "sim/StopSignals.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
#include <cmath>
#include <iostream>
#include <stdexcept>

namespace rovex {

namespace {

// QtDBus wants an application object; the bus commands need no arguments of their own in it.
class BusApplication final {
public:
    QCoreApplication& app() { return m_app; }

private:
    int m_argc = 1;
    char m_name[10] = "rovex-sim";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};
};

QVariantMap userInfoOf(const ServiceDescription& service)
{
    QVariantMap userInfo;
    const auto put = [&userInfo](const char* key, const std::optional<std::string>& value) {
        if (value)
            userInfo.insert(QLatin1StringView(key), QString::fromStdString(*value));
    };
    put("serviceName", service.serviceName);
    put("servicePorts", service.servicePorts);
    put("serviceImage", service.serviceImage);
    return userInfo;
}

} // namespace

int runPost(const PostCommand& command)
{
    const BusApplication application;
    const QDBusConnection bus = simbus::sessionBus();
    QDBusMessage message = QDBusMessage::createSignal(QString(simbus::path), QString(simbus::notificationInterface),
                                                      QString::fromStdString(command.name));
    // A QVariantMap is marshalled as a{sv}, also when it is empty.
    message << userInfoOf(command.userInfo);
    if (!bus.send(message))
        throw std::runtime_error("cannot send " + command.name + ": " + bus.lastError().message().toStdString());
    // The signal must have left before the process ends and takes its connection along.
    simbus::roundTrip(bus);
    std::cout << "posted " << command.name << " on /rovexid\n";
    return 0;
}

int runRecord(const RecordCommand& command)
{
    BusApplication application;
    const StopSignals stopSignals(application.app());
    ProductRecorder recorder(simbus::sessionBus(), std::cout);
    recorder.start();
    if (command.seconds > 0) {
        const auto limit = std::chrono::milliseconds(std::llround(command.seconds * 1000));
        QTimer::singleShot(limit, &application.app(), &QCoreApplication::quit);
    }
    return QCoreApplication::exec();
}

} // namespace rovex
