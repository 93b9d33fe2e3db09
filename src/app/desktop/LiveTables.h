#pragma once

#include "app/desktop/ByCountProxyModel.h"
#include "app/desktop/IgnoreListModel.h"
#include "app/desktop/LogStatus.h"
#include "app/desktop/ServiceNames.h"
#include "app/desktop/TrafficTableModel.h"

#include "intake/LogIntake.h"
#include "intake/ServiceNotification.h"
#include "intake/ServiceWatch.h"
#include "intake/TrafficStore.h"
#include "lookup/CountryDatabase.h"
#include "lookup/PortServices.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <array>
#include <chrono>
#include <memory>
#include <span>

namespace rovex {

class RXReadLog;

// The live classification and the models over it: every chunk the follower reads goes
// into the store, the new address rows get their country, and each table's model is told
// once which of its rows were added or counted. User actions on tables and ignore lists
// go through here so that store and views change together.
class LiveTables final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTables)

public:
    // How long the views may lag behind the store: changes of the chunks read within it
    // reach the views together. Zero tells the views after every chunk.
    static constexpr std::chrono::milliseconds defaultViewDelay{250};

    explicit LiveTables(const CountryDatabase& countries, std::chrono::milliseconds viewDelay = defaultViewDelay,
                        const std::filesystem::path& services = systemServicesFile, QObject* parent = nullptr);
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
    // Tells the views now what the store changed since they were last told.
    void publishChanges();

    // Positions are rows of the store's table, in the order the user selected them.
    void ignore(TrafficCategory category, std::span<const std::size_t> positions);
    void remove(TrafficCategory category, std::span<const std::size_t> positions);
    void deIgnorePort(std::span<const std::size_t> positions);
    void deIgnoreIp(std::span<const std::size_t> positions);
    void cleanAll();
    // Puts a name typed by the user on an ignore list; false when it was there already.
    bool ignoreName(IgnoreListModel::Kind kind, const std::string& name);

    // A paused kind's two tables stand still: the store counts on, and the views hear of
    // it all at once when the pause ends.
    void setPaused(TrafficKind kind, bool paused);
    bool isPaused(TrafficKind kind) const { return m_paused[indexOf(kind)]; }
    // The views of a kind whose window is hidden are not told anything: nobody would see the
    // repaint. They hear of it all at once when the window is shown again.
    void setShown(TrafficKind kind, bool shown);

    // The library file's service names, shown before the system's for ports it lists.
    void setServiceNames(ServiceImages names);

    // The log layouts read from the next line on, and the lines each gave so far.
    void setLayouts(LayoutSetting setting) { m_intake.setLayouts(setting); }
    const LayoutAdapter& layouts() const { return m_intake.layouts(); }

    // The follower whose chunks come here, for the status the windows show.
    void followLog(const RXReadLog* reader) { m_reader = reader; }
    LogStatus status() const;

Q_SIGNALS:
    // The views were told what the last chunks changed (at most once per view delay).
    void progressed();
    // An inbound line reached a watched service.
    void serviceNotification(const rovex::ServiceNotification& notification);

private:
    void takeChanges();
    void schedulePublish();
    void publish(TrafficCategory category);
    void relabel(bool ports);

    const CountryDatabase& m_countries;
    TrafficStore m_store;
    ServiceWatch m_watch;
    LogIntake m_intake;
    std::array<std::unique_ptr<TrafficTableModel>, trafficCategoryCount> m_models;
    std::array<std::unique_ptr<ByCountProxyModel>, trafficCategoryCount> m_sorted;
    std::unique_ptr<IgnoreListModel> m_ignorePort;
    std::unique_ptr<IgnoreListModel> m_ignoreIp;
    std::array<ChangedRows, trafficCategoryCount> m_pending;
    QTimer m_publish;
    bool m_sortsByCount = false;
    ServiceNames m_services;
    std::array<bool, trafficKindCount> m_paused{};
    std::array<bool, trafficKindCount> m_shown{true, true, true, true};
    const RXReadLog* m_reader = nullptr;
};

} // namespace rovex
