#include "app/desktop/LiveTables.h"

#include "follow/RXReadLog.h"
#include "intake/AddressCountries.h"

#include <algorithm>

namespace rovex {

namespace {

// The zone files hold IPv4 blocks; should one hold IPv6 ones, an IPv6 address without a
// country is merely unknown.
bool holdsIPv6Blocks(const CountryDatabase& countries)
{
    for (const auto& [code, blocks] : countries.countryBlocks()) {
        if (std::any_of(blocks.begin(), blocks.end(), [](const auto& block) { return block.find(':') != block.npos; }))
            return true;
    }
    return false;
}

} // namespace

LiveTables::LiveTables(const CountryDatabase& countries, std::chrono::milliseconds viewDelay,
                       const std::filesystem::path& services, QObject* parent)
    : QObject(parent),
      m_countries(countries),
      m_intake(m_store, m_watch,
               [this](const ServiceNotification& notification) { Q_EMIT serviceNotification(notification); }),
      m_ignorePort(std::make_unique<IgnoreListModel>(m_store, IgnoreListModel::Kind::Ports)),
      m_ignoreIp(std::make_unique<IgnoreListModel>(m_store, IgnoreListModel::Kind::Addresses)),
      m_services(services)
{
    const bool countriesKnowIPv6 = holdsIPv6Blocks(countries);
    for (const TrafficCategory category : allTrafficCategories) {
        auto& model = m_models[indexOf(category)];
        model = std::make_unique<TrafficTableModel>(m_store, category, m_services, countriesKnowIPv6);
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
    if (!changes.empty()) {
        giveCountries(m_store, m_countries, changes);
        for (const TrafficCategory category : allTrafficCategories)
            m_pending[indexOf(category)].merge(changes[category]);
    }
    // Lines that changed no table still move the windows' line counts.
    schedulePublish();
}

void LiveTables::schedulePublish()
{
    if (m_publish.interval() == 0)
        publishChanges();
    else if (!m_publish.isActive())
        m_publish.start();
}

void LiveTables::publishChanges()
{
    m_publish.stop();
    for (const TrafficCategory category : allTrafficCategories) {
        const TrafficKind kind = kindOf(category);
        if (!isPaused(kind) && m_shown[indexOf(kind)])
            publish(category);
    }
    Q_EMIT progressed();
}

void LiveTables::publish(TrafficCategory category)
{
    ChangedRows& pending = m_pending[indexOf(category)];
    if (pending.empty())
        return;
    model(category).applyChanges(pending);
    sorted(category).resort(pending.positions);
    pending = {};
}

void LiveTables::setPaused(TrafficKind kind, bool paused)
{
    m_paused[indexOf(kind)] = paused;
    model(portTable(kind)).holdCounts(paused);
    model(addressTable(kind)).holdCounts(paused);
    if (!paused) {
        // Catching up is one batch per table, however long the pause was.
        publish(portTable(kind));
        publish(addressTable(kind));
    }
}

void LiveTables::setShown(TrafficKind kind, bool shown)
{
    m_shown[indexOf(kind)] = shown;
    if (shown && !isPaused(kind)) {
        publish(portTable(kind));
        publish(addressTable(kind));
    }
}

void LiveTables::setServiceNames(ServiceImages names)
{
    m_services.setLibraryNames(std::move(names));
    relabel(true);
}

LogStatus LiveTables::status() const
{
    LogStatus status;
    if (m_reader != nullptr) {
        status.path = m_reader->path();
        status.following = m_reader->isFollowing();
    }
    const auto& outcomes = m_intake.classifier().outcomes();
    status.linesRead = outcomes[static_cast<std::size_t>(LineOutcome::Read)];
    for (std::size_t outcome = 0; outcome < outcomes.size(); ++outcome) {
        if (outcome != static_cast<std::size_t>(LineOutcome::Read))
            status.linesSkipped += outcomes[outcome];
    }
    status.linesSkipped += m_intake.invalidLines();
    return status;
}

void LiveTables::ignore(TrafficCategory category, std::span<const std::size_t> positions)
{
    m_store.ignore(category, positions);
    (isPortTable(category) ? m_ignorePort : m_ignoreIp)->listGrew();
    relabel(isPortTable(category));
}

bool LiveTables::ignoreName(IgnoreListModel::Kind kind, const std::string& name)
{
    const bool ports = kind == IgnoreListModel::Kind::Ports;
    if (!(ports ? m_store.addIgnoredPort(name) : m_store.addIgnoredAddress(name)))
        return false;
    (ports ? m_ignorePort : m_ignoreIp)->listGrew();
    relabel(ports);
    return true;
}

void LiveTables::remove(TrafficCategory category, std::span<const std::size_t> positions)
{
    // Rows move up when others go: what the views were not told yet must be told first,
    // even in a paused table.
    publish(category);
    model(category).removePositions(positions);
}

void LiveTables::deIgnorePort(std::span<const std::size_t> positions)
{
    m_ignorePort->deIgnore(positions);
    relabel(true);
}

void LiveTables::deIgnoreIp(std::span<const std::size_t> positions)
{
    m_ignoreIp->deIgnore(positions);
    relabel(false);
}

// The ignore lists hold for all four kinds: every table of the list's kind repaints.
void LiveTables::relabel(bool ports)
{
    for (const TrafficCategory category : allTrafficCategories) {
        if (isPortTable(category) == ports)
            model(category).labelsChanged();
    }
}

void LiveTables::cleanAll()
{
    for (const TrafficCategory category : allTrafficCategories)
        publish(category);
    for (auto& model : m_models)
        model->beginClear();
    m_store.cleanAll();
    for (auto& model : m_models)
        model->endClear();
}

} // namespace rovex
