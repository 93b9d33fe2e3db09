#include "app/bus/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace rovex {
namespace {

constexpr int activateTimeoutMs = 5000;

QString latin(const char* text) { return QString::fromLatin1(text); }

} // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus)) {}

SingleInstance::~SingleInstance()
{
    if (!m_owner)
        return;
    m_bus.unregisterService(latin(serviceName));
    m_bus.unregisterObject(latin(objectPath));
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!m_bus.isConnected()) {
        m_problem = QStringLiteral("no session bus");
        return Claim::NoBus;
    }
    // The object answers before the name is taken, so that a start racing this one never
    // finds the name without anyone behind it.
    if (!m_bus.registerObject(latin(objectPath), latin(interfaceName), this, QDBusConnection::ExportAllSlots)) {
        m_problem = QStringLiteral("the object path %1 is taken").arg(latin(objectPath));
        return Claim::NoBus;
    }
    if (m_bus.registerService(latin(serviceName))) {
        m_owner = true;
        return Claim::First;
    }
    m_bus.unregisterObject(latin(objectPath));
    QDBusMessage call = QDBusMessage::createMethodCall(latin(serviceName), latin(objectPath), latin(interfaceName),
                                                       QStringLiteral("Activate"));
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, activateTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Claim::AlreadyRunning;
    m_problem = reply.errorMessage();
    return Claim::Unanswered;
}

void SingleInstance::Activate() { Q_EMIT activated(); }

} // namespace rovex
