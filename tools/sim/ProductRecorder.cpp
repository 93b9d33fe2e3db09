#include "sim/ProductRecorder.h"

#include "sim/BusJson.h"
#include "sim/SimBus.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

#include <stdexcept>
#include <string>

namespace rovex {

namespace {

using Json = nlohmann::ordered_json;

// The contract's user information is one a{sv}; a message of any other shape is written
// whole as well, so that a peer sending the wrong signature shows up in the record.
Json signalEvent(const QDBusMessage& message)
{
    Json arguments = Json::array();
    for (const QVariant& argument : message.arguments())
        arguments.push_back(busValueToJson(argument));
    Json event{{"event", "signal"},
               {"member", message.member().toStdString()},
               {"userInfo", !arguments.empty() && arguments.front().is_object() ? arguments.front() : Json::object()}};
    if (!arguments.empty() && message.signature() != QLatin1StringView("a{sv}"))
        event["arguments"] = arguments;
    return event;
}

} // namespace

ProductRecorder::ProductRecorder(QDBusConnection bus, std::ostream& out) : m_bus(std::move(bus)), m_out(out) {}

void ProductRecorder::start()
{
    const QString path(simbus::path);
    if (!m_bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots))
        throw std::runtime_error("cannot export the object /rovexid on the session bus");
    // Any member: the viewer's signals are all recorded, names it may add later included.
    if (!m_bus.connect(QString(), path, QString(simbus::notificationInterface), QString(), this,
                       SLOT(recordSignal(QDBusMessage))))
        throw std::runtime_error("cannot listen for signals on /rovexid: " + m_bus.lastError().message().toStdString());
    // The name request leaves after the match rule on the same connection, so its answer
    // also means that the rule is in place.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_bus.interface()->registerService(
        QString(simbus::productService), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        throw std::runtime_error("cannot request the bus name rovexid.Rovex: " + reply.error().message().toStdString());
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered)
        throw std::runtime_error("the bus name rovexid.Rovex is already owned: the product or another "
                                 "rovex-sim record is running");
    write({{"event", "ready"}});
}

void ProductRecorder::Activate() { write({{"event", "call"}, {"member", "Activate"}}); }

void ProductRecorder::recordSignal(const QDBusMessage& message) { write(signalEvent(message)); }

void ProductRecorder::write(const nlohmann::ordered_json& event) { m_out << event.dump() << std::endl; }

} // namespace rovex
