#pragma once

#include <QString>
#include <QStringList>

namespace rovex {

class ProductBus;

// Hands addresses to the running firewall product: it is brought to the front, then
// gets the message. The viewer never changes the rules itself and hears no answer.
class ProductHandOff final {
public:
    enum class Outcome {
        Sent,
        NotRunning, // no process named Rovex: nothing was sent
        SendFailed, // the product runs but the message could not leave (no session bus)
    };

    // procFolder: where the running processes are listed (a test's own folder).
    explicit ProductHandOff(ProductBus& bus, QString procFolder = QStringLiteral("/proc"));

    void setProcessFolder(const QString& procFolder) { m_procFolder = procFolder; }

    // True when the product runs; it is then asked once to come to the front.
    bool checkRovex();

    // "blacklistIP" with {"address": address}.
    Outcome sendRovexAddress(const QString& address);
    // "blacklistIPs" with {"addresses": addresses}.
    Outcome sendRovexAddresses(const QStringList& addresses);
    // "addToGroup" with {"addresses": addresses}; the product chooses the group.
    Outcome sendToRovexGroup(const QStringList& addresses);

    // One line for the user when a message could not leave.
    const QString& diagnostic() const { return m_diagnostic; }

private:
    Outcome send(const QString& name, const QString& key, const QVariant& value);

    ProductBus& m_bus;
    QString m_procFolder;
    QString m_diagnostic;
};

} // namespace rovex
