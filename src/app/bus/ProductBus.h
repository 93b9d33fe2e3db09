#pragma once

#include "firewall/ServiceDescription.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <cstddef>
#include <iosfwd>

class QDBusMessage;

namespace rovex {

// The firewall product on the session bus: its five messages in, the viewer's messages out.
// A message of the product is the signal N on /rovexid, interface rovexid.Notification,
// with one a{sv} argument (the user information).
class ProductBus final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductBus)

public:
    // Any peer on the session bus may send the product's messages: a text longer than this
    // is refused, so that no peer can make the watch or its notifications grow without end.
    static constexpr std::size_t maxTextBytes = std::size_t{64} * 1024;

    explicit ProductBus(QDBusConnection connection, QObject* parent = nullptr);

    // Where a refused message is reported, one line each (standard error by default).
    void setDiagnostics(std::ostream& diagnostics) { m_diagnostics = &diagnostics; }

    // Subscribes to addservice, delservice, addserviceblock, delserviceblock and
    // rovexTempConfSaved on path /rovexid, interface rovexid.Notification only; false when
    // the bus is not connected.
    bool observeProduct();
    // The signal N on /rovexid, interface rovexid.Notification, one a{sv} argument (an
    // empty map when there is no user information). QStringList values go out as `as`.
    bool post(const QString& name, const QVariantMap& userInfo = {});
    // Activate() on service rovexid.Rovex, path /rovexid, interface rovexid.Product,
    // without waiting.
    void activateProduct();
    // Why the last post failed, in a few words.
    QString lastError() const;
    // A process whose /proc/PID/comm is exactly "Rovex" runs (procFolder for tests).
    static bool isProductRunning(const QString& procFolder = QStringLiteral("/proc"));

Q_SIGNALS:
    void addservice(const rovex::ServiceDescription& service);
    void delservice(const rovex::ServiceDescription& service);
    void addserviceblock(const rovex::ServiceDescription& service);
    void delserviceblock(const rovex::ServiceDescription& service);
    void rovexTempConfSaved();

private Q_SLOTS:
    void productMessage(const QDBusMessage& message);

private:
    QDBusConnection m_connection;
    std::ostream* m_diagnostics;
};

} // namespace rovex

Q_DECLARE_METATYPE(rovex::ServiceDescription)
