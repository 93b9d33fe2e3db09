#pragma once

#include <QDBusConnection>
#include <QLatin1StringView>

namespace rovex::simbus {

// Where the product and the viewer meet on the session bus.
inline constexpr QLatin1StringView path{"/rovexid"};
inline constexpr QLatin1StringView notificationInterface{"rovexid.Notification"};
inline constexpr QLatin1StringView productInterface{"rovexid.Product"};
inline constexpr QLatin1StringView productService{"rovexid.Rovex"};

// The session bus, connected and delivering; throws std::runtime_error saying why when
// there is none.
QDBusConnection sessionBus();

// One call answered by the bus daemon. The daemon handles a connection's messages in
// order, so when this returns, everything sent before it has been routed.
void roundTrip(const QDBusConnection& bus);

} // namespace rovex::simbus
