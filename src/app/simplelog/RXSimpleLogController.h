#pragma once

#include "app/widgets/Popover.h"
#include "firewall/ServiceDescription.h"
#include "intake/LayoutAdapter.h"
#include "intake/LineAssembler.h"
#include "lookup/WhoisServer.h"
#include "simplelog/RXSimpleLog.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QSortFilterProxyModel;

namespace rovex {

class AddressInfoPopover;
class AddressLookup;
class CountryDatabase;
class LogStringPopover;
class PortInfoPopover;
class PortLookup;
class SimpleLogDetailPopover;
class SimpleLogModel;
class SimpleLogWindow;
struct SimpleLogTail;

// The simple log: recent lines of the log, one row each, live while its window is shown
// and on demand from the log's tail, with popovers for a row in detail, its raw line and
// what is known of its addresses and ports.
//
// Every chunk the follower reads reaches readLiveChunk, shown or not, so that a line cut
// by a read is completed by the next one; rows are built only while the window is shown.
class RXSimpleLogController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RXSimpleLogController)

public:
    // The port lookup and its popover belong to the application and are shared with the
    // traffic windows; services is the library file's port images, read as it is now at
    // every use.
    // Live rows reach the window at most once per liveRowsDelay (0: with every read): every
    // batch scrolls the table and so repaints all it shows, the window's largest cost.
    static constexpr std::chrono::milliseconds defaultLiveRowsDelay{250};
    RXSimpleLogController(std::filesystem::path log, const ServiceImages& services, const CountryDatabase& countries,
                          const std::optional<WhoisServer>& whoisServer, PortLookup& portLookup,
                          PortInfoPopover& portInfoPopOver,
                          std::chrono::milliseconds liveRowsDelay = defaultLiveRowsDelay, QObject* parent = nullptr);
    ~RXSimpleLogController() override;

    SimpleLogWindow& simplewindow() const { return *m_window; }
    SimpleLogModel& simpleLogsArrayController() const { return *m_model; }
    QSortFilterProxyModel& arrangedRows() const { return *m_arranged; }
    SimpleLogDetailPopover& popOverSL() const { return *m_popOverSL; }
    LogStringPopover& logStringPopover() const { return *m_logStringPopover; }
    AddressInfoPopover& addrinfoPopover() const { return *m_addrinfoPopover; }
    AddressLookup& addressLookup() const { return *m_addressLookup; }
    // Rows of the last on-demand read waiting for "doLayout".
    const std::vector<RXSimpleLog>& simpleLogsArrayTemp() const { return m_simpleLogsArrayTemp; }
    bool readsOnDemand() const { return m_readingOnDemand; }

    // The log read on demand from now on, and the layouts both roads read.
    void setLog(std::filesystem::path log, LayoutSetting layouts);

    // Double-clicking a row opens its detail popover.
    void setDoubleAction();

    void readLiveChunk(const QByteArray& chunk);
    void liveFileEnded();
    // Adds the rows of one live chunk, follows the newest and cuts the table back.
    void runtimelog(std::vector<RXSimpleLog> rows);
    // The live rows read so far, now or after the delay.
    void showLiveRows();

    // Starts the address lookups and shows them in addrinfoPopover (the caller opens it).
    void resolveIP(const QString& address);

public Q_SLOTS:
    void openSimpleLogs();
    void clearLogTable();
    void showInfoSimpleLog(QWidget* sender);
    void openLogStringPopover(QWidget* sender);
    void infoPopoverSourceIP(QWidget* sender);
    void infoPopoverDestinationIP(QWidget* sender);
    void sourceInfo(QWidget* sender);
    void targetInfo(QWidget* sender);
    void infoPopoverSourcePort(QWidget* sender);
    void infoPopoverDestinationPort(QWidget* sender);

Q_SIGNALS:
    // The rows of an on-demand read are in simpleLogsArrayTemp.
    void doLayout();
    // The log the on-demand read wanted cannot be read.
    void logFileNotFound();

private:
    void connectButtons();
    void appendLiveRow(std::vector<RXSimpleLog>& rows, std::string_view line);
    void cutToMaxLogLines();
    void followNewest();
    void tailRead(std::optional<SimpleLogTail> tail);
    void layoutTempRows();
    const RXSimpleLog* selectedRow() const;
    void showRowAt(const QModelIndex& index);
    void openAddress(const QString& address, QWidget* sender, PopoverEdge edge);
    void openPort(bool source, QWidget* sender);

    std::filesystem::path m_log;
    const ServiceImages& m_services;
    PortLookup& m_portLookup;
    PortInfoPopover& m_portInfoPopOver;
    std::unique_ptr<SimpleLogWindow> m_window;
    SimpleLogModel* m_model;
    QSortFilterProxyModel* m_arranged;
    AddressLookup* m_addressLookup;
    std::unique_ptr<SimpleLogDetailPopover> m_popOverSL;
    std::unique_ptr<LogStringPopover> m_logStringPopover;
    std::unique_ptr<AddressInfoPopover> m_addrinfoPopover;
    LineAssembler m_liveLines;
    LayoutAdapter m_liveLayouts;
    // Live rows wait here for the next showing: the window repaints at most this often,
    // however many small reads the log arrives in.
    std::vector<RXSimpleLog> m_liveRows;
    QTimer m_showLiveRows;
    std::vector<RXSimpleLog> m_heldRows; // live rows that came while an on-demand read ran
    std::vector<RXSimpleLog> m_simpleLogsArrayTemp;
    bool m_readingOnDemand = false;
};

} // namespace rovex
