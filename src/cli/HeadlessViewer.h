#pragma once

#include "cli/NotificationList.h"
#include "intake/LogIntake.h"
#include "intake/ServiceWatch.h"
#include "intake/TrafficStore.h"
#include "lookup/CountryDatabase.h"

#include <filesystem>
#include <iosfwd>
#include <limits>
#include <vector>

namespace rovex::cli {

// The engine of the viewer without a window: the store, the watch lists and the country
// database of one root folder, fed with log bytes. Notifications are kept in line order,
// the last keptNotifications of them.
class HeadlessViewer final {
public:
    // Reads the root's library file (when it exists) and country database; the
    // database's progress lines go to diagnostics.
    HeadlessViewer(const std::filesystem::path& root, std::ostream& diagnostics,
                   std::size_t keptNotifications = std::numeric_limits<std::size_t>::max());

    void setLayouts(LayoutSetting setting) { m_intake.setLayouts(setting); }
    void feed(std::string_view bytes, TimePoint now);
    void endOfFile(TimePoint now);

    // Gives the address rows added since the last call their country.
    void resolveNewCountries();

    const TrafficStore& store() const { return m_store; }
    TrafficStore& store() { return m_store; }
    const ServiceWatch& watch() const { return m_watch; }
    const CountryDatabase& countries() const { return m_countries; }
    const NotificationList& notifications() const { return m_notifications; }
    const LogIntake& intake() const { return m_intake; }

private:
    TrafficStore m_store;
    ServiceWatch m_watch;
    CountryDatabase m_countries;
    NotificationList m_notifications;
    LogIntake m_intake;
};

} // namespace rovex::cli
