#include "app/desktop/AppDelegate.h"

#include "app/bus/DesktopNotifier.h"
#include "app/bus/ProductBus.h"
#include "app/desktop/AboutWindow.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/IgnoreListWindow.h"
#include "app/desktop/InfoWindow.h"
#include "app/desktop/LauncherWindow.h"
#include "app/desktop/LiveTables.h"
#include "app/desktop/RovexController.h"
#include "app/desktop/TortaPopover.h"
#include "app/desktop/WindowPlaces.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/intel/PortLookup.h"
#include "app/intel/VersionCheck.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/stats/RXLogParser.h"
#include "app/stats/StatsWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/PortInfoPopover.h"
#include "app/images/Images.h"
#include "app/images/QtText.h"
#include "chart/RowPie.h"
#include "app/system/DesktopOpener.h"
#include "app/system/LoginItem.h"
#include "app/widgets/DialogAbove.h"
#include "firewall/FixedPaths.h"
#include "follow/RXReadLog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QCursor>
#include <QShortcut>
#include <QSystemTrayIcon>

#include <iostream>

namespace rovex {

namespace {

QString nativeText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Brings a window to the front of the desktop and gives it the focus.
void bringToFront(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

AppDelegate::AppDelegate(const std::filesystem::path& root, const QDBusConnection& bus,
                         const std::optional<WhoisServer>& whoisServer, QObject* parent)
    : QObject(parent), m_root(root)
{
    m_countries.load(paths::underRoot(root, paths::nations), std::cout);
    m_tables = std::make_unique<LiveTables>(m_countries);
    for (const TrafficKind kind :
         {TrafficKind::BlockIn, TrafficKind::BlockOut, TrafficKind::PassIn, TrafficKind::PassOut})
        m_categoryWindows[indexOf(kind)] = std::make_unique<CategoryWindow>(*m_tables, kind);
    m_ignorelistwindow = std::make_unique<IgnoreListWindow>(*m_tables);
    m_infowindow = std::make_unique<InfoWindow>();
    m_aboutWindow = std::make_unique<AboutWindow>();
    m_portLookup = std::make_unique<PortLookup>();
    m_portInfoPopOver = std::make_unique<PortInfoPopover>(*m_portLookup);
    m_logParser = std::make_unique<RXLogParser>(LogArchives::productLog(root), m_countries, whoisServer);
    m_simpleLogController = std::make_unique<RXSimpleLogController>(
        logPath(), m_tables->store().allServicesDict(), m_countries, whoisServer, *m_portLookup, *m_portInfoPopOver);
    m_myPopup = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("RovexLogsVisualizer"),
                                              QString());
    m_noLogFileAlert = std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("RovexLogsVisualizer"),
                                                     QString());
    m_alertupgrade = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("RovexLogsVisualizer"),
                                                   QString());
    m_productBus = std::make_unique<ProductBus>(bus);
    m_notify = std::make_unique<DesktopNotifier>(bus);
    m_myRXReadLog = std::make_unique<RXReadLog>(nativeText(logPath()));
    m_logOpener = std::make_unique<DesktopOpener>();
    connect(m_logOpener.get(), &DesktopOpener::failed, this, [this](const QString& reason) {
        showAlert(*m_noLogFileAlert, QStringLiteral("The log could not be opened in a viewer.\n") + reason);
    });
    m_tables->followLog(m_myRXReadLog.get()); // the windows' status line names it
    m_infowindow->setReadingReport([this] { return readingReport(); });
    m_tortaPopover = std::make_unique<TortaPopover>();
    m_rovexController = std::make_unique<RovexController>(*this, *m_productBus);
    connect(m_tortaPopover.get(), &TortaPopover::blacklistTorta, m_rovexController.get(),
            &RovexController::blacklistTorta);
    connect(m_tortaPopover.get(), &TortaPopover::addToGroupTorta, m_rovexController.get(),
            &RovexController::addToGroupTorta);
    connect(m_tortaPopover.get(), &TortaPopover::exportTorta, m_rovexController.get(), &RovexController::exportTorta);
    connect(m_tortaPopover.get(), &TortaPopover::infoContenutoTortaPopoverIPorPort, this,
            &AppDelegate::infoContenutoTortaPopoverIPorPort);
    for (const auto& window : m_categoryWindows)
        connectCategoryWindow(*window);
    keepWindowPlaces();
    // Ctrl+Q quits from the main windows (the tray menu has no focus to take it).
    for (QWidget* window : keptInFrontWindows()) {
        auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window); // owned by the window
        connect(quit, &QShortcut::activated, this, &AppDelegate::quitapp);
    }
}

void AppDelegate::keepWindowPlaces()
{
    m_windowPlaces = std::make_unique<WindowPlaces>();
    for (const auto& window : m_categoryWindows)
        m_windowPlaces->keep(*window, QString::fromLatin1(CategoryWindow::titleKey(window->kind())));
    m_windowPlaces->keep(simplewindow(), QStringLiteral("simplelog"));
    m_windowPlaces->keep(*m_ignorelistwindow, QStringLiteral("ignorelists"));
    m_windowPlaces->keep(*m_infowindow, QStringLiteral("information"));
    m_windowPlaces->keep(m_logParser->logswindow(), QStringLiteral("statistics"));
}

// The buttons of a category window: information and pie for both tables, the hand-off
// under its address table.
void AppDelegate::connectCategoryWindow(CategoryWindow& window)
{
    connect(&window, &CategoryWindow::informationRequested, this, &AppDelegate::showInformation);
    connect(&window, &CategoryWindow::pieRequested, this, &AppDelegate::grafici);
    const CategoryTablePanel& addresses = window.addressPanel();
    RovexController* rovex = m_rovexController.get();
    const TrafficKind kind = window.kind();
    connect(addresses.blacklistButton(), &QPushButton::clicked, rovex, [rovex, kind] { rovex->blacklist(kind); });
    connect(addresses.groupButton(), &QPushButton::clicked, rovex, [rovex, kind] { rovex->addToGroup(kind); });
    connect(addresses.exportButton(), &QPushButton::clicked, rovex, [rovex, kind] { rovex->exportAddresses(kind); });
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    startVisualizer();
    m_aboutWindow->setVersion(QStringLiteral(ROVEX_VERSION));
}

void AppDelegate::setVersionServer(const std::optional<QUrl>& server)
{
    m_versionCheck = server ? std::make_unique<VersionCheck>(*server) : nullptr;
}

void AppDelegate::checkforupdate()
{
    if (!m_versionCheck)
        return;
    m_versionCheck->checkforupdate([this, site = m_versionCheck->siteUrl()](const VersionVerdict& verdict) {
        if (!verdict.alert)
            return;
        const std::string key(*verdict.alert);
        showAlert(*m_alertupgrade, menuText(key.c_str()));
        if (verdict.openSite && !QDesktopServices::openUrl(site))
            std::cout << "the web site " << site.toString().toStdString() << " could not be opened" << std::endl;
    });
}

void AppDelegate::startVisualizer()
{
    showStatusItem();
    m_tables->sortByCount();
    m_simpleLogController->setDoubleAction();
    connect(m_simpleLogController.get(), &RXSimpleLogController::logFileNotFound, this,
            &AppDelegate::showMissingLogAlert);
    // The notifications of watched services go to the desktop even while a window of
    // ours has the focus: nothing here holds them back.
    connect(m_tables.get(), &LiveTables::serviceNotification, this, &AppDelegate::deliverNotification);
    m_notify->setImageFiles([](const QString& name) { return Images::filePath(name); });
    connect(m_notify.get(), &DesktopNotifier::activated, this, &AppDelegate::openRecentNotification);
    observeProduct();
    loadLibraryFile();
    followLog();
}

void AppDelegate::followLog()
{
    m_following = true;
    connect(m_myRXReadLog.get(), &RXReadLog::chunkRead, m_tables.get(), &LiveTables::readChunk);
    connect(m_myRXReadLog.get(), &RXReadLog::fileEnded, m_tables.get(), &LiveTables::fileEnded);
    // The simple log hears every chunk after the tables, shown or not (it builds rows only
    // while its window is shown).
    connect(m_myRXReadLog.get(), &RXReadLog::chunkRead, m_simpleLogController.get(),
            &RXSimpleLogController::readLiveChunk);
    connect(m_myRXReadLog.get(), &RXReadLog::fileEnded, m_simpleLogController.get(),
            &RXSimpleLogController::liveFileEnded);
    m_myRXReadLog->checklogfileandreadlog();
}

void AppDelegate::useLog(const LogChoice& choice)
{
    const bool newFile = choice.path(m_root) != logPath();
    m_logChoice = choice;
    m_tables->setLayouts(choice.layouts);
    m_simpleLogController->setLog(logPath(), choice.layouts);
    m_logParser->setLog(choice.archives(m_root), choice.layouts);
    if (m_statusMenu.allLayoutsItem != nullptr)
        m_statusMenu.allLayoutsItem->setChecked(choice.layouts == LayoutSetting::All);
    if (newFile)
        replaceFollower();
}

// The old log's unfinished last line is complete for the readers, as at a rotation.
void AppDelegate::replaceFollower()
{
    if (m_following) {
        m_myRXReadLog->disconnect();
        m_tables->fileEnded();
        m_simpleLogController->liveFileEnded();
    }
    m_myRXReadLog = std::make_unique<RXReadLog>(nativeText(logPath()));
    m_tables->followLog(m_myRXReadLog.get());
    if (m_following)
        followLog();
}

QString AppDelegate::readingReport() const
{
    QString text = QStringLiteral("Log: ") + nativeText(logPath());
    const LayoutAdapter& layouts = m_tables->layouts();
    if (layouts.setting() == LayoutSetting::Product)
        return text + QStringLiteral("\nOnly the firewall product's own log layout is read.");
    return text + QStringLiteral("\nLines read by layout: ") + QString::fromStdString(describeCounts(layouts.counts()));
}

void AppDelegate::chooseLogFile()
{
    QFileDialog panel(nullptr, menuText("menulogfile"));
    panel.setObjectName(QStringLiteral("logFilePanel"));
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setDirectory(nativeText(logPath().parent_path()));
    if (execAboveKeptWindows(panel, m_keepInFront) != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return;
    LogChoice choice = m_logChoice;
    const std::filesystem::path chosen = QFile::encodeName(panel.selectedFiles().constFirst()).toStdString();
    // The product's own log keeps its own archives' naming.
    std::error_code error;
    const bool productLog = std::filesystem::weakly_canonical(chosen, error)
        == std::filesystem::weakly_canonical(LogChoice{}.path(m_root), error);
    choice.file = productLog ? std::nullopt : std::optional(chosen);
    choice.remember();
    useLog(choice);
}

void AppDelegate::readAllLayouts()
{
    LogChoice choice = m_logChoice;
    choice.layouts = m_statusMenu.allLayoutsItem->isChecked() ? LayoutSetting::All : LayoutSetting::Product;
    choice.remember();
    useLog(choice);
}

// The tray item with its menu; a desktop without a tray gets the small launcher window
// that opens the same menu.
void AppDelegate::showStatusItem()
{
    m_statusBarItem = std::make_unique<QSystemTrayIcon>(Images::named(QStringLiteral("visualizerTemplate")));
    m_statusMenu.build(*this);
    m_statusBarItem->setContextMenu(&m_statusMenu.menu());
    m_statusBarItem->setToolTip(QStringLiteral("RovexLogsVisualizer"));
    // A left click opens the menu too, as it does on the launcher.
    connect(m_statusBarItem.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_statusMenu.menu().popup(QCursor::pos());
    });
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_statusBarItem->show();
        return;
    }
    m_launcher = std::make_unique<LauncherWindow>(m_statusMenu.menu(), m_statusBarItem.get());
    // Without a tray the launcher is the only way back to the menu: closing it quits.
    connect(m_launcher.get(), &LauncherWindow::closed, this, &AppDelegate::quitapp);
    m_launcher->show();
}

void AppDelegate::observeProduct()
{
    ServiceWatch& watch = m_tables->watch();
    connect(m_productBus.get(), &ProductBus::addservice, this,
            [&watch](const ServiceDescription& service) { watch.addservice(service); });
    connect(m_productBus.get(), &ProductBus::delservice, this,
            [&watch](const ServiceDescription& service) { watch.delservice(service); });
    connect(m_productBus.get(), &ProductBus::addserviceblock, this,
            [&watch](const ServiceDescription& service) { watch.addserviceblock(service); });
    connect(m_productBus.get(), &ProductBus::delserviceblock, this,
            [&watch](const ServiceDescription& service) { watch.delserviceblock(service); });
    connect(m_productBus.get(), &ProductBus::rovexTempConfSaved, this, &AppDelegate::rovexTempConfSaved);
    if (!m_productBus->observeProduct())
        std::cout << "no session bus: the firewall product's messages are not received" << std::endl;
}

void AppDelegate::loadLibraryFile()
{
    const std::filesystem::path library = paths::underRoot(m_root, paths::library);
    std::error_code error;
    if (!std::filesystem::exists(library, error))
        return;
    m_tables->store().setAllServicesDict(RXReadConf.loadAllServices(library));
    m_tables->setServiceNames(RXReadConf.loadServiceNames(library));
    loadWatchLists(library);
    m_productBus->post(QStringLiteral("startVisualizer"));
}

void AppDelegate::loadWatchLists(const std::filesystem::path& library)
{
    m_tables->watch().load(RXReadConf.loadNotify(library), RXReadConf.loadNotifyBlock(library));
}

void AppDelegate::rovexTempConfSaved()
{
    const std::filesystem::path library = paths::underRoot(m_root, paths::library);
    std::error_code error;
    if (std::filesystem::exists(library, error))
        loadWatchLists(library);
}

const ServiceImages& AppDelegate::allServicesDict() const { return m_tables->store().allServicesDict(); }

void AppDelegate::deliverNotification(const ServiceNotification& notification)
{
    m_lastNotifiedKind = notification.title == "Inbound connection blocked" ? TrafficKind::BlockIn
                                                                            : TrafficKind::PassIn;
    m_notify->deliver(notification);
}

// The user chose a notification: the window of the traffic it told about.
void AppDelegate::openRecentNotification() { bringToFront(categoryWindow(m_lastNotifiedKind)); }

CategoryWindow& AppDelegate::categoryWindow(TrafficKind kind) const { return *m_categoryWindows[indexOf(kind)]; }

void AppDelegate::openInboundBlocked() { bringToFront(categoryWindow(TrafficKind::BlockIn)); }
void AppDelegate::openOutboundBlocked() { bringToFront(categoryWindow(TrafficKind::BlockOut)); }
void AppDelegate::openInboundPassed() { bringToFront(categoryWindow(TrafficKind::PassIn)); }
void AppDelegate::openOutboundPassed() { bringToFront(categoryWindow(TrafficKind::PassOut)); }
void AppDelegate::openIgnoreLists() { bringAboveKeptWindows(*m_ignorelistwindow); }
void AppDelegate::openinfowindow() { bringAboveKeptWindows(*m_infowindow); }
void AppDelegate::openAbout() { bringAboveKeptWindows(*m_aboutWindow); }

// The windows that are not kept in front themselves still open above those that are.
void AppDelegate::bringAboveKeptWindows(QWidget& window)
{
    placeAboveKeptWindows(window, m_keepInFront);
    bringToFront(window);
}

SimpleLogWindow& AppDelegate::simplewindow() const { return m_simpleLogController->simplewindow(); }

void AppDelegate::openSimpleLogWindow()
{
    std::error_code error;
    if (std::filesystem::exists(logPath(), error))
        bringToFront(simplewindow());
    else
        showMissingLogAlert();
}

void AppDelegate::openLogsWindow()
{
    std::error_code error;
    if (std::filesystem::exists(logPath(), error))
        m_logParser->openLogsWindow();
    else
        showMissingLogAlert();
}

void AppDelegate::getPortInfo(const QString& port) { m_portLookup->getPortInfo(port); }

void AppDelegate::showInformation(TrafficCategory category, const QString& name, QWidget* sender)
{
    if (isPortTable(category)) {
        getPortInfo(name);
        m_portInfoPopOver->showRelativeTo(sender, PopoverEdge::Left);
        return;
    }
    m_simpleLogController->resolveIP(name);
    m_simpleLogController->addrinfoPopover().showRelativeTo(sender, PopoverEdge::Right);
}

void AppDelegate::grafici(TrafficCategory category, const QString& name, QWidget* sender)
{
    m_tortaPopover->showPie(category, name, pieOfRow(m_tables->store(), category, name.toStdString()), sender);
}

void AppDelegate::infoContenutoTortaPopoverIPorPort(QWidget* sender)
{
    const std::optional<QString> name = m_tortaPopover->topSelectedSliceName();
    if (!name)
        return;
    if (m_tortaPopover->tortaPopoverIPorPORT() == u"IP") {
        getPortInfo(*name);
        m_portInfoPopOver->showRelativeTo(sender, PopoverEdge::Right);
    } else if (m_tortaPopover->tortaPopoverIPorPORT() == u"PORT") {
        m_simpleLogController->resolveIP(*name);
        m_simpleLogController->addrinfoPopover().showRelativeTo(sender, PopoverEdge::Right);
    }
}

void AppDelegate::showAllWindows()
{
    const std::array<QWidget*, 5> windows = keptInFrontWindows();
    WindowPlaces::tile(windows);
    for (QWidget* window : windows)
        bringToFront(*window);
}

void AppDelegate::bringWindowsForward()
{
    bool anyOpen = false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (!window->isVisible() || (type != Qt::Window && type != Qt::Dialog))
            continue; // popovers and menus close on their own
        bringToFront(*window);
        anyOpen = anyOpen || window != m_launcher.get();
    }
    if (!anyOpen)
        showAllWindows();
}

std::array<QWidget*, 5> AppDelegate::keptInFrontWindows() const
{
    return {&categoryWindow(TrafficKind::PassIn), &categoryWindow(TrafficKind::PassOut),
            &categoryWindow(TrafficKind::BlockIn), &categoryWindow(TrafficKind::BlockOut), &simplewindow()};
}

void AppDelegate::setAlwaysInFront()
{
    m_keepInFront = !m_keepInFront;
    for (QWidget* window : keptInFrontWindows()) {
        const bool visible = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, m_keepInFront);
        if (visible) // changing the flags hides a window
            window->show();
    }
    if (m_statusMenu.showAlwaysInFront != nullptr)
        m_statusMenu.showAlwaysInFront->setChecked(m_keepInFront);
}

void AppDelegate::openLogsConsole()
{
    const std::filesystem::path log = logPath();
    std::error_code error;
    if (!std::filesystem::exists(log, error)) {
        showMissingLogAlert();
        return;
    }
    m_logOpener->open(nativeText(log));
}

void AppDelegate::quitapp() { QCoreApplication::quit(); }

void AppDelegate::addLoginItem()
{
    QString error;
    if (rovex::addLoginItem(autostartFolder(), QCoreApplication::applicationFilePath(), &error))
        showAlert(*m_myPopup, menuText("loginadded"));
    else
        showAlert(*m_myPopup, error);
}

void AppDelegate::cleanAll() { m_tables->cleanAll(); }

void AppDelegate::showAlert(QMessageBox& alert, const QString& text)
{
    alert.setText(text);
    execAboveKeptWindows(alert, m_keepInFront);
}

void AppDelegate::showMissingLogAlert()
{
    showAlert(*m_noLogFileAlert, QStringLiteral("PF Log File Not Found\n") + nativeText(logPath()));
}

std::filesystem::path AppDelegate::logPath() const { return m_logChoice.path(m_root); }

} // namespace rovex
