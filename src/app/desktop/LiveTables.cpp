#include "app/desktop/LiveTables.h"

#include "intake/AddressCountries.h"

namespace rovex {

LiveTables::LiveTables(const CountryDatabase& countries, std::chrono::milliseconds viewDelay, QObject* parent)
    : QObject(parent),
      m_countries(countries),
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
        sorted->setTable(model.get());
    }
    m_publish.setSingleShot(true);
    m_publish.setInterval(viewDelay);
    connect(&m_publish, &QTimer::timeout, this, &LiveTables::publishChanges);
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
    takeChanges();
}

void LiveTables::fileEnded()
{
    m_intake.endOfFile(Clock::now());
    takeChanges();
}

// New address rows get their country at once; the views hear of the changes when the
// delay is over, so that a flood of small chunks costs one re-sort per table.
void LiveTables::takeChanges()
{
    const StoreChanges changes = m_store.takeChanges();
    if (changes.empty())
        return;
    giveCountries(m_store, m_countries, changes);
    for (const TrafficCategory category : allTrafficCategories)
        m_pending[indexOf(category)].merge(changes[category]);
    if (m_publish.interval() == 0)
        publishChanges();
    else if (!m_publish.isActive())
        m_publish.start();
}

void LiveTables::publishChanges()
{
    m_publish.stop();
    for (const TrafficCategory category : allTrafficCategories) {
        ChangedRows& pending = m_pending[indexOf(category)];
        if (pending.empty())
            continue;
        model(category).applyChanges(pending);
        sorted(category).resort(pending.positions);
        pending = {};
    }
}

void LiveTables::ignore(TrafficCategory category, std::span<const std::size_t> positions)
{
    publishChanges();
    m_store.ignore(category, positions);
    (isPortTable(category) ? m_ignorePort : m_ignoreIp)->listGrew();
}

void LiveTables::remove(TrafficCategory category, std::span<const std::size_t> positions)
{
    // Rows move up when others go: what the views were not told yet must be told first.
    publishChanges();
    model(category).removePositions(positions);
}

void LiveTables::deIgnorePort(std::span<const std::size_t> positions) { m_ignorePort->deIgnore(positions); }

void LiveTables::deIgnoreIp(std::span<const std::size_t> positions) { m_ignoreIp->deIgnore(positions); }

void LiveTables::cleanAll()
{
    publishChanges();
    for (auto& model : m_models)
        model->beginClear();
    m_store.cleanAll();
    for (auto& model : m_models)
        model->endClear();
}

} // namespace rovex
