#pragma once

#include "app/desktop/ByCountProxyModel.h"
#include "app/desktop/IgnoreListModel.h"
#include "app/desktop/TrafficTableModel.h"

#include "intake/LogIntake.h"
#include "intake/ServiceNotification.h"
#include "intake/ServiceWatch.h"
#include "intake/TrafficStore.h"
#include "lookup/CountryDatabase.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <memory>
#include <span>

namespace rovex {

// The live classification and the models over it: every chunk the follower reads goes
// into the store, the new address rows get their country, and each table's model is told
// once which of its rows were added or counted. User actions on tables and ignore lists
// go through here so that store and views change together.
class LiveTables final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTables)

public:
    explicit LiveTables(const CountryDatabase& countries, QObject* parent = nullptr);
    ~LiveTables() override;

    TrafficStore& store() { return m_store; }
    const TrafficStore& store() const { return m_store; }
    ServiceWatch& watch() { return m_watch; }
    const ServiceWatch& watch() const { return m_watch; }

    TrafficTableModel& model(TrafficCategory category) { return *m_models[indexOf(category)]; }
    // The table as shown: by count, highest first, once sortByCount() has run.
    ByCountProxyModel& sorted(TrafficCategory category) { return *m_sorted[indexOf(category)]; }
    IgnoreListModel& ignorePortModel() { return *m_ignorePort; }
    IgnoreListModel& ignoreIpModel() { return *m_ignoreIp; }

    // Switches on re-sorting by count on every change in the eight sorted tables.
    void sortByCount();
    bool sortsByCount() const { return m_sortsByCount; }

    void readChunk(const QByteArray& chunk);
    void fileEnded();

    // Positions are rows of the store's table, in the order the user selected them.
    void ignore(TrafficCategory category, std::span<const std::size_t> positions);
    void remove(TrafficCategory category, std::span<const std::size_t> positions);
    void deIgnorePort(std::span<const std::size_t> positions);
    void deIgnoreIp(std::span<const std::size_t> positions);
    void cleanAll();

Q_SIGNALS:
    // An inbound line reached a watched service.
    void serviceNotification(const rovex::ServiceNotification& notification);

private:
    void publishChanges();

    const CountryDatabase& m_countries;
    TrafficStore m_store;
    ServiceWatch m_watch;
    LogIntake m_intake;
    std::array<std::unique_ptr<TrafficTableModel>, trafficCategoryCount> m_models;
    std::array<std::unique_ptr<ByCountProxyModel>, trafficCategoryCount> m_sorted;
    std::unique_ptr<IgnoreListModel> m_ignorePort;
    std::unique_ptr<IgnoreListModel> m_ignoreIp;
    bool m_sortsByCount = false;
};

} // namespace rovex
