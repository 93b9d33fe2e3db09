#pragma once

#include "app/desktop/LogChoice.h"
#include "app/desktop/StatusMenu.h"

#include "firewall/RXReadRovexConf.h"
#include "intake/ServiceNotification.h"
#include "intake/TrafficCategory.h"
#include "lookup/CountryDatabase.h"
#include "lookup/WhoisServer.h"

#include <QDBusConnection>
#include <QObject>
#include <QUrl>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>

class QMessageBox;
class QSystemTrayIcon;
class QWidget;

namespace rovex {

class AboutWindow;
class CategoryWindow;
class DesktopNotifier;
class DesktopOpener;
class IgnoreListWindow;
class InfoWindow;
class LauncherWindow;
class LiveTables;
class PortInfoPopover;
class PortLookup;
class ProductBus;
class RXReadLog;
class RovexController;
class RXLogParser;
class RXSimpleLogController;
class SimpleLogWindow;
class TortaPopover;
class VersionCheck;
class WindowPlaces;

// The application: owns the live tables and everything around them (tray item and menu,
// windows, alerts, the firewall product's services and watch lists, the bus and the log
// follower) for the whole run. Nothing of it is saved.
class AppDelegate final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    // Reads the country database at once; the windows exist but stay hidden. whoisServer:
    // the whois server the user chose, if any.
    AppDelegate(const std::filesystem::path& root, const QDBusConnection& bus,
                const std::optional<WhoisServer>& whoisServer = std::nullopt, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Starts the viewer, then shows the version in the about window.
    void applicationDidFinishLaunching();
    // The server the version check asks; without one the menu's entry stays disabled.
    // Set it before launching.
    void setVersionServer(const std::optional<QUrl>& server);
    VersionCheck* versionCheck() const { return m_versionCheck.get(); }

    StatusMenu& statusMenu() { return m_statusMenu; }
    QSystemTrayIcon* statusBarItem() const { return m_statusBarItem.get(); }
    // The stand-in for the tray where the desktop has none; null while there is a tray.
    LauncherWindow* launcher() const { return m_launcher.get(); }
    LiveTables& tables() { return *m_tables; }
    CategoryWindow& categoryWindow(TrafficKind kind) const;
    IgnoreListWindow& ignorelistwindow() const { return *m_ignorelistwindow; }
    AboutWindow& aboutWindow() const { return *m_aboutWindow; }
    InfoWindow& infowindow() const { return *m_infowindow; }
    RXSimpleLogController& simpleLogController() const { return *m_simpleLogController; }
    SimpleLogWindow& simplewindow() const;
    PortInfoPopover& portInfoPopOver() const { return *m_portInfoPopOver; }
    TortaPopover& tortaPopover() const { return *m_tortaPopover; }
    RovexController& rovexController() const { return *m_rovexController; }
    RXLogParser& logParser() const { return *m_logParser; }
    QMessageBox& myPopup() const { return *m_myPopup; }
    QMessageBox& noLogFileAlert() const { return *m_noLogFileAlert; }
    QMessageBox& alertupgrade() const { return *m_alertupgrade; }
    DesktopNotifier& notifier() const { return *m_notify; }
    const ServiceImages& allServicesDict() const;
    const CountryDatabase& countries() const { return m_countries; }
    bool keepsInFront() const { return m_keepInFront; }

    // The log read and how; a new file is followed from its end, as the log is at a start,
    // and the tables keep what they counted, as they do over a rotation.
    const LogChoice& logChoice() const { return m_logChoice; }
    void useLog(const LogChoice& choice);

public Q_SLOTS:
    void openInboundBlocked();
    void openOutboundBlocked();
    void openInboundPassed();
    void openOutboundPassed();
    void openIgnoreLists();
    void openinfowindow();
    void openSimpleLogWindow();
    // The statistics window, or the missing-log alert.
    void openLogsWindow();
    void openAbout();
    void openLogsConsole();
    void showAllWindows();
    // A second start of the application: the windows that are open come forward, the four
    // traffic windows open when none is.
    void bringWindowsForward();
    void setAlwaysInFront();
    void quitapp();
    void addLoginItem();
    void cleanAll();
    // The options' log entries: a file chosen in a dialog, and the layouts read; both
    // remembered between runs.
    void chooseLogFile();
    void readAllLayouts();
    // Asks the version server whether a newer version exists and tells the user; the web
    // site opens after the alert when there is one.
    void checkforupdate();
    void rovexTempConfSaved();
    // The service table's lines and the class of the port, into portInfoPopOver.
    void getPortInfo(const QString& port);
    // The information button of a traffic table: the port popover beside a port table, the
    // address popover beside an address table, for the name of the row selected there.
    void showInformation(rovex::TrafficCategory category, const QString& name, QWidget* sender);
    // The pie button of a traffic table: the counterparts seen with the named row.
    void grafici(rovex::TrafficCategory category, const QString& name, QWidget* sender);
    // What is known of the slice selected in the pie's legend: its ports' lines for a pie
    // of an address, the address popover for a pie of a port.
    void infoContenutoTortaPopoverIPorPort(QWidget* sender);

private:
    void startVisualizer();
    void connectCategoryWindow(CategoryWindow& window);
    void keepWindowPlaces();
    void showStatusItem();
    void observeProduct();
    void loadLibraryFile();
    void loadWatchLists(const std::filesystem::path& library);
    void deliverNotification(const ServiceNotification& notification);
    void openRecentNotification();
    void showAlert(QMessageBox& alert, const QString& text);
    void bringAboveKeptWindows(QWidget& window);
    void showMissingLogAlert();
    void followLog();
    QString readingReport() const;
    void replaceFollower();
    std::filesystem::path logPath() const;
    std::array<QWidget*, 5> keptInFrontWindows() const;

    std::filesystem::path m_root;
    CountryDatabase m_countries; // before the tables, which match new rows against it
    std::unique_ptr<LiveTables> m_tables;
    RXReadRovexConf RXReadConf;
    StatusMenu m_statusMenu;
    std::unique_ptr<QSystemTrayIcon> m_statusBarItem;
    std::unique_ptr<LauncherWindow> m_launcher;
    std::array<std::unique_ptr<CategoryWindow>, 4> m_categoryWindows; // by TrafficKind
    std::unique_ptr<IgnoreListWindow> m_ignorelistwindow;
    std::unique_ptr<InfoWindow> m_infowindow;
    std::unique_ptr<AboutWindow> m_aboutWindow;
    std::unique_ptr<PortLookup> m_portLookup;
    std::unique_ptr<PortInfoPopover> m_portInfoPopOver;
    std::unique_ptr<RXSimpleLogController> m_simpleLogController;
    std::unique_ptr<TortaPopover> m_tortaPopover;
    std::unique_ptr<RXLogParser> m_logParser;
    std::unique_ptr<QMessageBox> m_myPopup;
    std::unique_ptr<QMessageBox> m_noLogFileAlert;
    std::unique_ptr<QMessageBox> m_alertupgrade;
    std::unique_ptr<VersionCheck> m_versionCheck;
    std::unique_ptr<ProductBus> m_productBus;
    std::unique_ptr<DesktopNotifier> m_notify;
    std::unique_ptr<RovexController> m_rovexController;
    std::unique_ptr<RXReadLog> m_myRXReadLog;
    std::unique_ptr<DesktopOpener> m_logOpener;
    std::unique_ptr<WindowPlaces> m_windowPlaces;
    TrafficKind m_lastNotifiedKind = TrafficKind::BlockIn;
    bool m_keepInFront = false;
    LogChoice m_logChoice;
    bool m_following = false;
};

} // namespace rovex
