#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

#include <nlohmann/json.hpp>

#include <ostream>

namespace rovex {

// The running product as the viewer sees it: owns rovexid.Rovex, can be activated, and
// writes one JSON line per event it receives, flushed at once so that a reader of a pipe
// sees every event as it happens.
class ProductRecorder final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "rovexid.Product")
    Q_DISABLE_COPY_MOVE(ProductRecorder)

public:
    ProductRecorder(QDBusConnection bus, std::ostream& out);

    // Exports the object, listens on the product's path and takes the product's name, then
    // writes the ready event. Throws std::runtime_error when any of it cannot be done.
    void start();

public Q_SLOTS:
    // rovexid.Product.Activate(): the viewer brings the product to the front.
    Q_SCRIPTABLE void Activate();

private Q_SLOTS:
    void recordSignal(const QDBusMessage& message);

private:
    void write(const nlohmann::ordered_json& event);

    QDBusConnection m_bus;
    std::ostream& m_out;
};

} // namespace rovex
