#include "app/desktop/LiveTables.h"

#include "intake/AddressCountries.h"

namespace rovex {

LiveTables::LiveTables(const CountryDatabase& countries, QObject* parent)
    : QObject(parent), m_countries(countries),
      m_intake(m_store, m_watch,
               [this](const ServiceNotification& notification) { Q_EMIT serviceNotification(notification); }),
      m_ignorePort(std::make_unique<IgnoreListModel>(m_store, IgnoreListModel::Kind::Ports)),
      m_ignoreIp(std::make_unique<IgnoreListModel>(m_store, IgnoreListModel::Kind::Addresses))
{
    for (const TrafficCategory category : allTrafficCategories) {
        auto& model = m_models[indexOf(category)];
        model = std::make_unique<TrafficTableModel>(m_store, category);
        auto& sorted = m_sorted[indexOf(category)];
        sorted = std::make_unique<ByCountProxyModel>();
        sorted->setSourceModel(model.get());
    }
}

LiveTables::~LiveTables()
{
    // Views hold on to the sorted tables, which hold on to the models: detach first.
    for (auto& sorted : m_sorted)
        sorted->setSourceModel(nullptr);
}

void LiveTables::sortByCount()
{
    for (auto& sorted : m_sorted)
        sorted->sortByCount();
    m_sortsByCount = true;
}

void LiveTables::readChunk(const QByteArray& chunk)
{
    m_intake.feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())), Clock::now());
    publishChanges();
}

void LiveTables::fileEnded()
{
    m_intake.endOfFile(Clock::now());
    publishChanges();
}

void LiveTables::publishChanges()
{
    const StoreChanges changes = m_store.takeChanges();
    if (changes.empty())
        return;
    giveCountries(m_store, m_countries, changes);
    for (const TrafficCategory category : allTrafficCategories)
        model(category).applyChanges(changes[category]);
}

void LiveTables::ignore(TrafficCategory category, std::span<const std::size_t> positions)
{
    m_store.ignore(category, positions);
    (isPortTable(category) ? m_ignorePort : m_ignoreIp)->listGrew();
}

void LiveTables::remove(TrafficCategory category, std::span<const std::size_t> positions)
{
    model(category).removePositions(positions);
}

void LiveTables::deIgnorePort(std::span<const std::size_t> positions) { m_ignorePort->deIgnore(positions); }

void LiveTables::deIgnoreIp(std::span<const std::size_t> positions) { m_ignoreIp->deIgnore(positions); }

void LiveTables::cleanAll()
{
    for (auto& model : m_models)
        model->beginClear();
    m_store.cleanAll();
    for (auto& model : m_models)
        model->endClear();
}

} // namespace rovex
