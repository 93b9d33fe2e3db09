#include "cli/HeadlessViewer.h"

#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"

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

void HeadlessViewer::resolveNewCountries()
{
    const StoreChanges changes = m_store.takeChanges();
    for (const TrafficCategory category : allTrafficCategories) {
        if (isPortTable(category))
            continue;
        for (const std::size_t position : changes[category].added) {
            const CountryMatch match = m_countries.countryOf(m_store.rowName(category, position));
            if (!match.code.empty())
                m_store.setCountry(category, position, match.code, match.nation);
        }
    }
}

} // namespace rovex::cli
