#pragma once

#include "app/bus/ProductHandOff.h"
#include "intake/TrafficCategory.h"

#include <QObject>
#include <QStringList>

#include <memory>

class QMessageBox;
class QWidget;

namespace rovex {

class AppDelegate;
class ProductBus;

// The hand-off of addresses to the firewall product, from the four address tables and
// from the pie of a port: onto its blacklist, into one of its address groups, or into a
// text file. Each action is one implementation for the four tables.
class RovexController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RovexController)

public:
    RovexController(AppDelegate& appdelegate, ProductBus& bus, QObject* parent = nullptr);
    ~RovexController() override;

    // The three sends: without a running product (or when the message cannot leave) the
    // user is told so in myAlert and nothing is sent.
    void sendRovexAddress(const QString& address, QWidget* sender = nullptr);
    void sendRovexAddresses(const QStringList& addresses, QWidget* sender = nullptr);
    void sendToRovexGroup(const QStringList& addresses, QWidget* sender = nullptr);

    // The buttons under the address table of a kind of traffic.
    void blacklist(TrafficKind kind);
    void addToGroup(TrafficKind kind);
    void exportAddresses(TrafficKind kind);
    // The pie popover's controls; blacklist and group act on a pie of a port only.
    void blacklistTorta();
    void addToGroupTorta();
    void exportTorta();

    QMessageBox& myAlert() const { return *m_myAlert; }
    ProductHandOff& handOff() { return m_handOff; }

private:
    void report(ProductHandOff::Outcome outcome);
    void saveAddresses(const QStringList& addresses);
    QStringList selectedAddresses(TrafficKind kind) const;

    AppDelegate& m_appdelegate;
    ProductHandOff m_handOff;
    std::unique_ptr<QMessageBox> m_myAlert;
};

} // namespace rovex
