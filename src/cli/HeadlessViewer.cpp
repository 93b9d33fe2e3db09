#include "cli/HeadlessViewer.h"

#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"
#include "intake/AddressCountries.h"

namespace rovex::cli {

HeadlessViewer::HeadlessViewer(const std::filesystem::path& root, std::ostream& diagnostics)
    : m_intake(m_store, m_watch,
               [this](const ServiceNotification& notification) { m_notifications.push_back(notification); })
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

StoreChanges HeadlessViewer::resolveNewCountries()
{
    StoreChanges changes = m_store.takeChanges();
    giveCountries(m_store, m_countries, changes);
    return changes;
}

} // namespace rovex::cli
