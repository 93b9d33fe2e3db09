#include "app/bus/ProductHandOff.h"

#include "app/bus/ProductBus.h"

#include <QVariantMap>

namespace rovex {

ProductHandOff::ProductHandOff(ProductBus& bus, QString procFolder) : m_bus(bus), m_procFolder(std::move(procFolder)) {}

bool ProductHandOff::checkRovex()
{
    if (!ProductBus::isProductRunning(m_procFolder))
        return false;
    m_bus.activateProduct();
    return true;
}

ProductHandOff::Outcome ProductHandOff::sendRovexAddress(const QString& address)
{
    return send(QStringLiteral("blacklistIP"), QStringLiteral("address"), address);
}

ProductHandOff::Outcome ProductHandOff::sendRovexAddresses(const QStringList& addresses)
{
    return send(QStringLiteral("blacklistIPs"), QStringLiteral("addresses"), addresses);
}

ProductHandOff::Outcome ProductHandOff::sendToRovexGroup(const QStringList& addresses)
{
    return send(QStringLiteral("addToGroup"), QStringLiteral("addresses"), addresses);
}

// The product is brought to the front before the message, so it is in view when it acts.
ProductHandOff::Outcome ProductHandOff::send(const QString& name, const QString& key, const QVariant& value)
{
    m_diagnostic.clear();
    if (!checkRovex())
        return Outcome::NotRunning;
    if (!m_bus.post(name, QVariantMap{{key, value}})) {
        m_diagnostic = QStringLiteral("%1 could not be sent to the firewall product: %2").arg(name, m_bus.lastError());
        return Outcome::SendFailed;
    }
    return Outcome::Sent;
}

} // namespace rovex
