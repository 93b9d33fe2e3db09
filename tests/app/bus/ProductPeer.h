#pragma once

#include <QDBusMessage>
#include <QObject>

#include <vector>

namespace rovex::test {

// The firewall product's side of the bus in the tests: it answers Activate() and keeps the
// viewer's messages that it was subscribed to.
class ProductPeer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "rovexid.Product")

public:
    std::vector<QDBusMessage> activations;
    std::vector<QDBusMessage> received;

public Q_SLOTS:
    // The message itself comes last, outside the D-Bus signature: the call takes no argument.
    Q_SCRIPTABLE void Activate(const QDBusMessage& call) { activations.push_back(call); }
    void receive(const QDBusMessage& message) { received.push_back(message); }
};

} // namespace rovex::test
