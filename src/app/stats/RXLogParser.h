#pragma once

#include "stats/StatsQuery.h"
#include "stats/LogArchives.h"
#include "stats/StatsResult.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

class QWidget;

namespace rovex {

class AddressInfoPopover;
class AddressLookup;
class CountryDatabase;
class PortLookup;
class StatsPortPopover;
class StatsWindow;
struct WhoisServer;

// The statistics window's controller: runs over the log and its archives off the main
// thread, shows the result, and answers the window's port and address buttons. A run
// reads its settings when it starts; a newer run (or port request) makes the results of an
// older one stale, and stale results are dropped when they arrive.
class RXLogParser final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RXLogParser)

public:
    RXLogParser(LogArchives log, const CountryDatabase& countries, const std::optional<WhoisServer>& whoisServer,
                QObject* parent = nullptr);
    ~RXLogParser() override;

    StatsWindow& logswindow() const { return *m_window; }
    StatsPortPopover& portPopover() const { return *m_portPopover; }
    AddressInfoPopover& addrinfoPopover() const { return *m_addrinfoPopover; }
    // The last result shown; null before the first run ends.
    const StatsResult* lastResult() const { return m_result.get(); }
    bool isRunning() const { return m_running; }

    // The log the next run reads and how; the run under way and its port lists keep theirs.
    void setLog(const LogArchives& log, LayoutSetting layouts);

    // Counts the log's entries and shows the window.
    void openLogsWindow();
    void getStats();
    void openPortPopoverTableView(QWidget* sender);
    void findIPsForPort(const QString& port);
    void clickclosebtn();
    void showinfoaddresspopover(QWidget* sender);
    void showinfoippopover(QWidget* sender);
    void openLogsInConsoleApp();

Q_SIGNALS:
    // A run ended and its result is shown (or its idle state restored).
    void loadLayoutLogParser();
    void loadPortLayoutLogParser();
    void logFileNotFound();

private:
    void startRun();
    void loadLayout(std::shared_ptr<const StatsResult> result);
    void restoreIdle(const StatsResult& result);
    void loadPortLayout(const IpsForPort& list);
    void clearCharts();
    void showLinesRead(std::int64_t lines);
    void enablePortButtons(bool enabled);
    void showAddress(const QString& address, QWidget* sender);

    LogArchives m_log;
    LayoutSetting m_layouts = LayoutSetting::Product;
    // What the last run read, which its port lists read again.
    LogArchives m_lastLog;
    LayoutSetting m_lastLayouts = LayoutSetting::Product;
    std::unique_ptr<StatsWindow> m_window;
    std::unique_ptr<StatsPortPopover> m_portPopover;
    AddressLookup* m_addressLookup;
    std::unique_ptr<AddressInfoPopover> m_addrinfoPopover;
    PortLookup* m_portLookup;
    std::shared_ptr<const StatsResult> m_result;
    std::uint64_t m_runGeneration = 0;
    std::uint64_t m_portGeneration = 0;
    std::int64_t m_lastFileCount = 1;
    StatsQuery m_lastQuery; // the selection of the last run, which the per-port list reads again
    bool m_running = false;
    // The lines the running run has read so far, shown every quarter second.
    std::shared_ptr<std::atomic<std::int64_t>> m_linesRead;
    QTimer m_progress;
};

} // namespace rovex
