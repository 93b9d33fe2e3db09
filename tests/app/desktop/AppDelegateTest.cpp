#include "DesktopTestSupport.h"
#include "PlainPfReading.h"

#include "app/bus/DesktopNotifier.h"
#include "app/desktop/AboutWindow.h"
#include "app/desktop/AppDelegate.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/IconView.h"
#include "app/desktop/LauncherWindow.h"
#include "app/desktop/LiveTables.h"
#include "app/desktop/WindowPlaces.h"
#include "app/images/Images.h"
#include "app/images/MenuTexts.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogModel.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/stats/RXLogParser.h"
#include "app/stats/StatsWindow.h"
#include "app/widgets/AddressInfoPopover.h"
#include "app/widgets/PortInfoPopover.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <csignal>

namespace rovex {
namespace {

using test::ChildProcess;
using namespace std::chrono_literals;
using test::Delegate;
using test::pfLine;

int emitOnBus(const char* path, const char* member, const QString& userInfo)
{
    return test::runProgram(QStringLiteral("gdbus"),
                            {QStringLiteral("emit"), QStringLiteral("--session"), QStringLiteral("--object-path"),
                             QString::fromLatin1(path), QStringLiteral("--signal"),
                             QStringLiteral("rovexid.Notification.") + QString::fromLatin1(member), userInfo});
}

// What a menu holds, top to bottom: entry titles, "-" for a separator.
std::vector<std::string> entries(const QMenu& menu)
{
    std::vector<std::string> titles;
    for (const QAction* action : menu.actions())
        titles.push_back(action->isSeparator() ? "-" : action->objectName().toStdString());
    return titles;
}

std::string watchedPorts(const ServiceWatch& watch)
{
    std::string ports;
    for (const std::string& port : watch.arrayServiceNotifyPortBlock())
        ports += port + " ";
    return ports;
}

TEST(AppDelegateTest, MenuHasItsEntriesInOrderWiredToTheirActions)
{
    const test::TempRoot root;
    Delegate app(root);
    StatusMenu& menu = app.delegate.statusMenu();
    EXPECT_EQ(entries(menu.menu()),
              (std::vector<std::string>{"blockin", "blockout", "passedin", "passedout", "-", "torta", "menulogs",
                                        "console", "-", "openinfo", "menuoptions"}));
    EXPECT_EQ(entries(menu.optionsmenu()),
              (std::vector<std::string>{"menushowall", "menukeep", "-", "menuignore", "menuclean", "-", "menulogfile",
                                        "menulayouts", "-", "menulogin", "menuupdates", "-", "menuabout", "menuquit"}));
    EXPECT_EQ(menu.optionsItem->menu(), &menu.optionsmenu());
    EXPECT_FALSE(menu.blockeddownItem->icon().isNull());
    EXPECT_NE(menu.blockeddownItem->text(), QStringLiteral("blockin")) << "texts are loaded";
    EXPECT_TRUE(menu.tortaItem->isEnabled());
    EXPECT_TRUE(menu.simplelogItem->isEnabled());
    EXPECT_TRUE(app.delegate.statusBarItem() != nullptr);
    EXPECT_FALSE(QSystemTrayIcon::isSystemTrayAvailable() && app.delegate.launcher() != nullptr);

    menu.passedupItem->trigger();
    EXPECT_TRUE(app.delegate.categoryWindow(TrafficKind::PassOut).isVisible());
    EXPECT_FALSE(app.delegate.categoryWindow(TrafficKind::BlockIn).isVisible());
    menu.showAllItem->trigger();
    for (const TrafficKind kind : {TrafficKind::BlockIn, TrafficKind::BlockOut, TrafficKind::PassIn})
        EXPECT_TRUE(app.delegate.categoryWindow(kind).isVisible());
    EXPECT_TRUE(app.delegate.simplewindow().isVisible());
    EXPECT_TRUE(test::runUntil([&] { return QApplication::activeWindow() == &app.delegate.simplewindow(); }, 2s))
        << "the simple log comes last, in front";
    EXPECT_EQ(app.delegate.aboutWindow().aboutVersionLabel().text(), QStringLiteral("Version " ROVEX_VERSION));
}

TEST(AppDelegateTest, WithoutATrayTheLauncherOpensTheMenu)
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "this desktop has a tray";
    const test::TempRoot root;
    Delegate app(root);
    LauncherWindow* launcher = app.delegate.launcher();
    ASSERT_NE(launcher, nullptr);
    EXPECT_TRUE(launcher->isVisible());
    QMenu& menu = app.delegate.statusMenu().menu();
    QTest::mousePress(&launcher->iconView(), Qt::LeftButton);
    EXPECT_TRUE(test::runUntil([&] { return menu.isVisible(); }));
    EXPECT_TRUE(launcher->iconView().isSelected());
    menu.hide();
    EXPECT_FALSE(launcher->iconView().isSelected()) << "the icon is drawn plain again once the menu closes";
}

TEST(AppDelegateTest, KeepInFrontTwiceReturnsToNormal)
{
    const test::TempRoot root;
    Delegate app(root);
    app.delegate.openInboundBlocked();
    QAction& item = *app.delegate.statusMenu().showAlwaysInFront;
    EXPECT_FALSE(item.isChecked());
    const auto onTop = [&](TrafficKind kind) {
        return app.delegate.categoryWindow(kind).windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    };
    const auto simpleLogOnTop = [&] {
        return app.delegate.simplewindow().windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    };
    item.trigger();
    EXPECT_TRUE(item.isChecked());
    for (const TrafficKind kind :
         {TrafficKind::BlockIn, TrafficKind::BlockOut, TrafficKind::PassIn, TrafficKind::PassOut})
        EXPECT_TRUE(onTop(kind));
    EXPECT_TRUE(simpleLogOnTop());
    EXPECT_TRUE(app.delegate.categoryWindow(TrafficKind::BlockIn).isVisible()) << "a shown window stays shown";
    EXPECT_FALSE(app.delegate.categoryWindow(TrafficKind::BlockOut).isVisible()) << "a hidden one stays hidden";
    item.trigger();
    EXPECT_FALSE(item.isChecked());
    for (const TrafficKind kind :
         {TrafficKind::BlockIn, TrafficKind::BlockOut, TrafficKind::PassIn, TrafficKind::PassOut})
        EXPECT_FALSE(onTop(kind));
    EXPECT_FALSE(simpleLogOnTop());
}

TEST(AppDelegateTest, DialogsOpenAboveWindowsKeptInFront)
{
    const test::TempRoot root;
    std::filesystem::remove(root.log());
    Delegate app(root);
    app.delegate.setAlwaysInFront();
    app.delegate.openAbout();
    EXPECT_TRUE(app.delegate.aboutWindow().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(app.delegate.aboutWindow().isVisible());
    QString seenText;
    bool above = false;
    test::acceptNextModal(&seenText, &above);
    app.delegate.openLogsConsole();
    EXPECT_EQ(seenText, QStringLiteral("PF Log File Not Found\n") + QString::fromStdString(root.log().string()))
        << "the alert names the path it looked for";
    EXPECT_TRUE(above);

    app.delegate.setAlwaysInFront();
    test::acceptNextModal(&seenText, &above);
    app.delegate.openLogsConsole();
    EXPECT_FALSE(above) << "without windows kept in front, dialogs are ordinary again";
    app.delegate.openAbout();
    EXPECT_FALSE(app.delegate.aboutWindow().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// A desktop opener that fails as xdg-open does without a viewer for the file's type, and
// one that works and notes what it was given.
TEST(AppDelegateTest, OpeningTheLogInAViewerTellsWhenTheDesktopCannot)
{
    const test::TempRoot root;
    root.appendLog(pfLine("block", "in", "192.0.2.1", "4000", "10.0.0.1", "22"));
    const std::filesystem::path bin = root.path() / "bin";
    std::filesystem::create_directories(bin);
    const std::filesystem::path opener = bin / "xdg-open";
    const auto writeOpener = [&](const std::string& body) {
        std::ofstream(opener) << "#!/bin/sh\n" << body;
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    };
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.string()) + ':' + path);
    Delegate app(root);

    writeOpener("echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n");
    QString seenText;
    bool above = false;
    test::acceptNextModal(&seenText, &above);
    app.delegate.openLogsConsole();
    EXPECT_TRUE(test::runUntil([&] { return !seenText.isEmpty(); }));
    EXPECT_TRUE(seenText.startsWith(QStringLiteral("The log could not be opened in a viewer.")))
        << seenText.toStdString();
    EXPECT_TRUE(seenText.contains(QStringLiteral("exit status 3"))) << seenText.toStdString();
    EXPECT_TRUE(seenText.contains(QStringLiteral("no method available for opening"))) << seenText.toStdString();

    const std::filesystem::path given = root.path() / "given";
    writeOpener("printf '%s' \"$1\" > '" + given.string() + "'\n");
    seenText.clear();
    app.delegate.openLogsConsole();
    EXPECT_TRUE(test::runUntil([&] { return std::filesystem::exists(given); }));
    test::runFor(200ms);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a viewer that opened is not an error";
    std::stringstream written;
    written << std::ifstream(given).rdbuf();
    EXPECT_EQ(written.str(), root.log().string());
    qputenv("PATH", path);
}

TEST(AppDelegateTest, ShowAllLaysWindowsSideBySideAndEachRemembersItsPlace)
{
    const test::TempRoot root;
    QRect chosen;
    {
        Delegate app(root);
        app.delegate.showAllWindows();
        const std::array<QWidget*, 5> windows{
            &app.delegate.categoryWindow(TrafficKind::PassIn), &app.delegate.categoryWindow(TrafficKind::PassOut),
            &app.delegate.categoryWindow(TrafficKind::BlockIn), &app.delegate.categoryWindow(TrafficKind::BlockOut),
            &app.delegate.simplewindow()};
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (std::size_t i = 0; i < windows.size(); ++i) {
            EXPECT_TRUE(screen.contains(windows[i]->frameGeometry())) << i;
            for (std::size_t j = i + 1; j < windows.size(); ++j)
                EXPECT_FALSE(windows[i]->frameGeometry().intersects(windows[j]->frameGeometry())) << i << " " << j;
        }
        CategoryWindow& moved = app.delegate.categoryWindow(TrafficKind::BlockIn);
        moved.setGeometry(60, 70, 420, 310);
        chosen = moved.geometry();
        moved.close();
    }
    Delegate nextRun(root);
    EXPECT_EQ(nextRun.delegate.categoryWindow(TrafficKind::BlockIn).geometry(), chosen);

    // A large screen takes the windows two abreast; one too small for any grid, one a row.
    const QSize smallest(986, 149);
    const QSize preferred(1000, 374);
    const std::vector<QRect> wide = tiledPlaces(QRect(0, 0, 3840, 2160), 5, smallest, preferred);
    EXPECT_EQ(wide[1].topLeft(), QPoint(1920, 0));
    EXPECT_EQ(wide[4].topLeft(), QPoint(0, 1440));
    const std::vector<QRect> small = tiledPlaces(QRect(0, 0, 800, 600), 5, smallest, preferred);
    EXPECT_EQ(small[4], QRect(0, 480, 800, 120));
}

TEST(AppDelegateTest, TrayClickAndQuitKeyReachTheMenuAndTheEnd)
{
    const test::TempRoot root;
    Delegate app(root);
    Q_EMIT app.delegate.statusBarItem()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(test::runUntil([&] { return app.delegate.statusMenu().menu().isVisible(); }));
    app.delegate.statusMenu().menu().hide();

    CategoryWindow& window = app.delegate.categoryWindow(TrafficKind::PassOut);
    app.delegate.openOutboundPassed();
    ASSERT_TRUE(test::runUntil([&] { return QApplication::activeWindow() == &window; }));
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quit] { quit = true; });
    QTimer::singleShot(0, &window, [&window] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); }); // Ctrl+Q did nothing
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(quit);
}

TEST(AppDelegateTest, StartAnnouncesItselfOnlyWithALibraryFile)
{
    ChildProcess monitor(QStringLiteral("dbus-monitor"),
                         {QStringLiteral("--session"), QStringLiteral("path='/rovexid'")});
    // The monitor listens once it reports a probe of ours.
    ASSERT_TRUE(test::runUntil([&] {
        emitOnBus("/rovexid", "probe", QStringLiteral("{}"));
        return !monitor.lineContaining("member=probe", 200ms).isEmpty();
    }));
    {
        const test::TempRoot bare;
        Delegate app(bare);
        EXPECT_TRUE(app.delegate.allServicesDict().empty());
        EXPECT_TRUE(app.delegate.tables().watch().arrayServiceNotifyBlock().empty());
    }
    const test::TempRoot root;
    root.writeLibrary();
    Delegate app(root);
    EXPECT_FALSE(app.delegate.allServicesDict().empty());
    EXPECT_FALSE(app.delegate.tables().watch().arrayServiceNotifyBlock().empty());
    const QByteArray announced = monitor.lineContaining("member=startVisualizer");
    ASSERT_FALSE(announced.isEmpty());
    EXPECT_TRUE(announced.contains("interface=rovexid.Notification"));
    // Exactly one announcement: the first start, without a library file, made none.
    EXPECT_TRUE(monitor.lineContaining("startVisualizer", 300ms).isEmpty());
}

TEST(AppDelegateTest, ProductMessagesOnlyCountOnItsPath)
{
    const test::TempRoot root;
    root.writeLibrary();
    Delegate app(root);
    const ServiceWatch& watch = app.delegate.tables().watch();
    const std::string before = watchedPorts(watch);
    const std::size_t watched = watch.arrayServiceNotifyBlock().size();
    const QString service = QStringLiteral(
        "{'serviceName': <'Web'>, 'servicePorts': <'8443 9443'>, 'serviceImage': <'https'>}");
    const auto emitSignal = [&](const char* path, const char* member) { return emitOnBus(path, member, service); };
    // Signals arrive in the order they were sent: once the second is seen, the first,
    // on another path, would have been too.
    ASSERT_EQ(emitSignal("/other", "addserviceblock"), 0);
    ASSERT_EQ(emitSignal("/rovexid", "addserviceblock"), 0);
    ASSERT_TRUE(test::runUntil([&] { return watchedPorts(watch) == before + "8443 9443 "; }));
    EXPECT_EQ(watch.arrayServiceNotifyBlock().size(), watched + 1);
    EXPECT_EQ(watch.arrayServiceNotifyBlock().back().serviceName, "Web");

    ASSERT_EQ(emitSignal("/rovexid", "delserviceblock"), 0);
    ASSERT_TRUE(test::runUntil([&] { return watchedPorts(watch) == before; }));

    // A saved configuration reloads the watch lists from the file, and only them.
    const std::size_t services = app.delegate.allServicesDict().size();
    ASSERT_EQ(emitSignal("/rovexid", "addserviceblock"), 0);
    ASSERT_TRUE(test::runUntil([&] { return watchedPorts(watch) != before; }));
    ASSERT_EQ(test::runProgram(test::simTool(), {QStringLiteral("post"), QStringLiteral("rovexTempConfSaved")}), 0);
    ASSERT_TRUE(test::runUntil([&] { return watchedPorts(watch) == before; }));
    EXPECT_EQ(app.delegate.allServicesDict().size(), services);
}

TEST(AppDelegateTest, WatchedServiceRaisesADesktopNotification)
{
    ChildProcess recorder(test::notificationRecorder(), {});
    ASSERT_FALSE(recorder.lineContaining("ready").isEmpty());
    const test::TempRoot root;
    root.writeLibrary();
    root.appendLog("");
    Delegate app(root);
    // The simulated product watches SSH for blocked inbound traffic. The follower is at the
    // log's end once the application has started, so the line is new traffic.
    root.appendLog(pfLine("block", "in", "203.0.113.7", "40000", "192.168.1.10", "22"));
    const QByteArray call = recorder.lineContaining("Notify", 30s);
    ASSERT_FALSE(call.isEmpty());
    EXPECT_TRUE(call.contains("Inbound connection blocked")) << call.toStdString();
    EXPECT_TRUE(call.contains("203.0.113.7 port 22")) << call.toStdString();
    EXPECT_TRUE(call.contains(" SSH")) << call.toStdString();
    EXPECT_TRUE(call.contains("image-path")) << call.toStdString();

    // Choosing the notification's action brings the window of that traffic forward. The
    // action names the notification by its id, which the viewer learns from Notify's reply.
    ASSERT_TRUE(test::runUntil([&] { return app.delegate.notifier().notificationId() != 0; }));
    ASSERT_EQ(::kill(static_cast<pid_t>(recorder.pid()), SIGUSR1), 0);
    EXPECT_TRUE(test::runUntil([&] { return app.delegate.categoryWindow(TrafficKind::BlockIn).isVisible(); }));
}

TEST(AppDelegateTest, TablesFillFromALogAnotherProcessWrites)
{
    const test::TempRoot root;
    root.writeLibrary();
    root.appendLog("");
    Delegate app(root);
    app.delegate.showAllWindows();
    const QString rootText = QString::fromStdString(root.path().string());
    ASSERT_EQ(test::runProgram(test::simTool(),
                               {QStringLiteral("log"), QStringLiteral("--root"), rootText, QStringLiteral("--rate"),
                                QStringLiteral("2000"), QStringLiteral("--seconds"), QStringLiteral("1"),
                                QStringLiteral("--split-writes")}),
              0);
    LiveTables& tables = app.delegate.tables();
    const auto counted = [&] {
        std::int64_t lines = 0;
        for (const TrafficKind kind :
             {TrafficKind::BlockIn, TrafficKind::BlockOut, TrafficKind::PassIn, TrafficKind::PassOut}) {
            QAbstractItemModel& ports = tables.sorted(portTable(kind));
            for (int row = 0; row < ports.rowCount(); ++row)
                lines
                    += ports.index(row, TrafficTableModel::CountColumn).data(TrafficTableModel::countRole).toLongLong();
        }
        return lines;
    };
    // Every line the tool wrote is counted once, however its writes were split: as many as
    // a plain reading of the finished log finds for the port tables.
    std::ostringstream log;
    log << std::ifstream(root.log(), std::ios::binary).rdbuf();
    const std::string text = log.str();
    ASSERT_EQ(std::count(text.cbegin(), text.cend(), '\n'), 2000); // rate x seconds
    int written = 0;
    for (const auto& [table, rows] : test::plainTables(text))
        for (const auto& row : rows)
            written += table.starts_with("Port") ? row.second : 0;
    ASSERT_GT(written, 1000);
    ASSERT_TRUE(test::runUntil([&] { return counted() >= written; }, 30s)) << counted() << " of " << written;
    EXPECT_EQ(counted(), written);
    QAbstractItemModel& ports = tables.sorted(TrafficCategory::PortBlockIn);
    for (int row = 1; row < ports.rowCount(); ++row) {
        EXPECT_GE(ports.index(row - 1, TrafficTableModel::CountColumn).data(TrafficTableModel::countRole).toLongLong(),
                  ports.index(row, TrafficTableModel::CountColumn).data(TrafficTableModel::countRole).toLongLong());
    }
}

TEST(AppDelegateTest, SimpleLogFollowsTheLog)
{
    const test::TempRoot root;
    root.appendLog("");
    Delegate app(root);
    app.delegate.statusMenu().simplelogItem->trigger();
    ASSERT_TRUE(app.delegate.simplewindow().isVisible());
    // The follower is at the log's end once the application has started: one line, one row.
    const SimpleLogModel& rows = app.delegate.simpleLogController().simpleLogsArrayController();
    root.appendLog(pfLine("block", "in", "203.0.113.7", "40000", "192.168.1.10", "22"));
    ASSERT_TRUE(test::runUntil([&rows] { return rows.size() > 0; }, 30s));
    EXPECT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows.rowAt(0).logActionImage(), "blockeddown");
}

TEST(AppDelegateTest, InformationButtonsOpenTheirPopoversBesideThem)
{
    const test::TempRoot root;
    Delegate app(root);
    app.delegate.tables().readChunk(
        QByteArray::fromStdString(pfLine("block", "in", "127.0.0.1", "40000", "10.0.0.1", "443")));
    app.delegate.tables().publishChanges();
    CategoryWindow& window = app.delegate.categoryWindow(TrafficKind::BlockIn);
    app.delegate.openInboundBlocked();

    CategoryTablePanel& ports = window.portPanel();
    ports.infoButton().click();
    EXPECT_FALSE(app.delegate.portInfoPopOver().isVisible()) << "nothing selected, nothing shown";
    ports.table().selectRow(0);
    ports.infoButton().click();
    PortInfoPopover& port = app.delegate.portInfoPopOver();
    ASSERT_TRUE(port.isVisible());
    EXPECT_EQ(port.edge(), PopoverEdge::Left);
    EXPECT_EQ(port.anchor().topLeft(), ports.infoButton().mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(port.portLabel().text(), QStringLiteral("443"));
    port.hide();

    CategoryTablePanel& addresses = window.addressPanel();
    addresses.table().selectRow(0);
    addresses.infoButton().click();
    AddressInfoPopover& address = app.delegate.simpleLogController().addrinfoPopover();
    ASSERT_TRUE(address.isVisible());
    EXPECT_EQ(address.edge(), PopoverEdge::Right);
    EXPECT_EQ(address.ipaddr().text(), QStringLiteral("127.0.0.1"));
    address.hide();
}

TEST(AppDelegateTest, VersionCheckTellsTheUserThenOpensTheSite)
{
    const test::TempRoot root;
    {
        Delegate unset(root);
        const QAction& entry = *unset.delegate.statusMenu().updatesItem;
        EXPECT_FALSE(entry.isEnabled());
        EXPECT_EQ(entry.toolTip(), menuText("noupdserver"));
    }
    ChildProcess server(test::simTool(),
                        {QStringLiteral("version-server"), QStringLiteral("--reply"), QStringLiteral("a#15\n")});
    const QByteArray listening = server.lineContaining("listening on ");
    ASSERT_FALSE(listening.isEmpty());
    const QUrl base(QString::fromLatin1(listening.mid(listening.indexOf("http"))));
    AppDelegate delegate(root.path(), QDBusConnection::sessionBus(), WhoisServer{"127.0.0.1", 1});
    delegate.setVersionServer(base);
    delegate.applicationDidFinishLaunching();
    test::OpenedPages pages;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &pages, "open");
    QString text;
    test::acceptNextModal(&text);
    delegate.statusMenu().updatesItem->trigger();
    ASSERT_TRUE(test::runUntil([&] { return !pages.urls.isEmpty(); }));
    EXPECT_EQ(text, menuText("yesupd"));
    EXPECT_EQ(pages.urls, QList<QUrl>{base.resolved(QUrl(QStringLiteral("/")))});
    EXPECT_FALSE(pages.openedUnderADialog) << "the site opens once the alert is closed";

    // Nobody listening: the user is told, and no page opens.
    text.clear();
    delegate.setVersionServer(QUrl(QStringLiteral("http://127.0.0.1:1")));
    test::acceptNextModal(&text);
    delegate.checkforupdate();
    ASSERT_TRUE(test::runUntil([&] { return !text.isEmpty(); }));
    EXPECT_EQ(text, menuText("connlost"));
    EXPECT_EQ(pages.urls.size(), 1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

TEST(AppDelegateTest, AlertsTellWhatHappened)
{
    const test::TempRoot root;
    std::filesystem::remove(root.log());
    Delegate app(root);
    QString text;
    test::acceptNextModal(&text);
    app.delegate.openLogsConsole();
    EXPECT_TRUE(text.startsWith(QStringLiteral("PF Log File Not Found\n")));
    text.clear();
    test::acceptNextModal(&text);
    app.delegate.statusMenu().simplelogItem->trigger();
    EXPECT_TRUE(text.startsWith(QStringLiteral("PF Log File Not Found\n")));
    EXPECT_FALSE(app.delegate.simplewindow().isVisible());
    text.clear();
    test::acceptNextModal(&text);
    app.delegate.statusMenu().tortaItem->trigger();
    EXPECT_TRUE(text.startsWith(QStringLiteral("PF Log File Not Found\n")));
    EXPECT_FALSE(app.delegate.logParser().logswindow().isVisible());

    const QString config = QString::fromStdString((root.path() / "config").string());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    test::acceptNextModal(&text);
    app.delegate.addLoginItem();
    EXPECT_EQ(text, menuText("loginadded"));
    test::acceptNextModal(&text);
    app.delegate.addLoginItem();
    EXPECT_EQ(QDir(config + QStringLiteral("/autostart")).entryList(QDir::Files).size(), 1);

    // A folder that cannot be written: the user is told so, not that it worked.
    std::ofstream(root.path() / "file") << "x";
    qputenv("XDG_CONFIG_HOME", QString::fromStdString((root.path() / "file").string()).toUtf8());
    test::acceptNextModal(&text);
    app.delegate.addLoginItem();
    EXPECT_NE(text, menuText("loginadded"));
    EXPECT_FALSE(text.isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace rovex
