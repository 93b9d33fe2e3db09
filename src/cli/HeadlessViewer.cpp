#include "cli/HeadlessViewer.h"

#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"
#include "intake/AddressCountries.h"

namespace rovex::cli {

HeadlessViewer::HeadlessViewer(const std::filesystem::path& root, std::ostream& diagnostics,
                               std::size_t keptNotifications)
    : m_notifications(keptNotifications),
      m_intake(m_store, m_watch, [this](const ServiceNotification& notification) { m_notifications.add(notification); })
{
    const std::filesystem::path library = paths::underRoot(root, paths::library);
    std::error_code error;
    if (std::filesystem::exists(library, error)) {
        const RXReadRovexConf reader;
        m_store.setAllServicesDict(reader.loadAllServices(library));
        m_watch.load(reader.loadNotify(library), reader.loadNotifyBlock(library));
    }
    m_countries.load(paths::underRoot(root, paths::nations), diagnostics);
}

void HeadlessViewer::feed(std::string_view bytes, TimePoint now) { m_intake.feed(bytes, now); }

void HeadlessViewer::endOfFile(TimePoint now) { m_intake.endOfFile(now); }

void HeadlessViewer::resolveNewCountries() { giveCountries(m_store, m_countries, m_store.takeChanges()); }

} // namespace rovex::cli
