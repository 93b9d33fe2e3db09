#include "app/desktop/AboutWindow.h"
#include "app/desktop/AppDelegate.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/IgnoreListWindow.h"
#include "app/desktop/InfoWindow.h"
#include "app/desktop/LauncherWindow.h"
#include "app/desktop/PopoverPictures.h"
#include "app/desktop/WindowPictures.h"
#include "app/images/Images.h"
#include "app/simplelog/SimpleLogWindow.h"
#include "app/intel/VersionServerChoice.h"
#include "lookup/WhoisServer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTimer>

#include <iostream>
#include <optional>

namespace {

// Saves a picture of each window (and of the menu) into the folder once the tables had
// time to fill.
void schedulePictures(rovex::AppDelegate& delegate, const QString& folder, int seconds)
{
    QTimer::singleShot(seconds * 1000, &delegate, [&delegate, folder] {
        using rovex::TrafficKind;
        QList<QPair<QString, QWidget*>> windows{
            {QStringLiteral("inbound-blocked"), &delegate.categoryWindow(TrafficKind::BlockIn)},
            {QStringLiteral("outbound-blocked"), &delegate.categoryWindow(TrafficKind::BlockOut)},
            {QStringLiteral("inbound-passed"), &delegate.categoryWindow(TrafficKind::PassIn)},
            {QStringLiteral("outbound-passed"), &delegate.categoryWindow(TrafficKind::PassOut)},
            {QStringLiteral("simple-log"), &delegate.simplewindow()},
            {QStringLiteral("ignore-lists"), &delegate.ignorelistwindow()},
            {QStringLiteral("information"), &delegate.infowindow()},
            {QStringLiteral("about"), &delegate.aboutWindow()},
            {QStringLiteral("menu"), &delegate.statusMenu().menu()},
            {QStringLiteral("options-menu"), &delegate.statusMenu().optionsmenu()},
        };
        if (delegate.launcher() != nullptr)
            windows.append({QStringLiteral("launcher"), delegate.launcher()});
        QStringList files = rovex::takeWindowPictures(windows, folder);
        files << rovex::takePopoverPictures(delegate, folder);
        for (const QString& file : files)
            std::cout << "picture: " << file.toStdString() << std::endl;
        delegate.showAllWindows();
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rovex-logs-visualizer"));
    QApplication::setApplicationDisplayName(QStringLiteral("RovexLogsVisualizer"));
    QApplication::setApplicationVersion(QStringLiteral(ROVEX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("rovex-logs-visualizer"));
    QApplication::setOrganizationName(QStringLiteral("rovex")); // settings in ~/.config/rovex/
    // A tray program: closing its last window does not end it; the menu's quit does.
    QApplication::setQuitOnLastWindowClosed(false);
    rovex::installMenuTexts(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The pf firewall's log, live, from the tray."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption root(QStringLiteral("root"),
                                  QStringLiteral("Resolve the firewall's fixed paths under DIR (default /)."),
                                  QStringLiteral("DIR"), QStringLiteral("/"));
    const QCommandLineOption showAll(QStringLiteral("show-all"),
                                     QStringLiteral("Open the four traffic windows at start."));
    const QCommandLineOption pictures(QStringLiteral("pictures"),
                                      QStringLiteral("Save a picture of each traffic window into DIR after a while."),
                                      QStringLiteral("DIR"));
    const QCommandLineOption picturesAfter(QStringLiteral("pictures-after"),
                                           QStringLiteral("Seconds before the pictures are taken (default 10)."),
                                           QStringLiteral("SECONDS"), QStringLiteral("10"));
    const QCommandLineOption whoisServer(
        QStringLiteral("whois-server"),
        QStringLiteral("Ask this whois server (HOST, HOST:PORT or [IPV6]:PORT); default: $ROVEX_WHOIS_SERVER, else the "
                       "whois client picks its registry."),
        QStringLiteral("SERVER"));
    const QCommandLineOption versionServer(
        QStringLiteral("version-server"),
        QStringLiteral("Ask this server (http or https URL) for the current version; default: $ROVEX_VERSION_SERVER, "
                       "else the saved setting versionServer."),
        QStringLiteral("URL"));
    parser.addOptions({root, showAll, pictures, picturesAfter, whoisServer, versionServer});
    parser.process(application);
    bool secondsRead = false;
    const int seconds = parser.value(picturesAfter).toInt(&secondsRead);
    if (!secondsRead || seconds < 0) {
        std::cerr << "--pictures-after needs a whole number of seconds\n";
        return 2;
    }

    const rovex::WhoisChoice whois = rovex::chooseWhoisServer(
        parser.isSet(whoisServer) ? std::optional(parser.value(whoisServer).toStdString()) : std::nullopt,
        "--whois-server");
    if (!whois.refusal.empty()) {
        std::cerr << whois.refusal << '\n';
        return 2;
    }
    const rovex::VersionServerChoice version = rovex::chooseVersionServer(
        parser.isSet(versionServer) ? std::optional(parser.value(versionServer)) : std::nullopt,
        qEnvironmentVariable(rovex::versionServerVariable),
        QSettings().value(QLatin1StringView(rovex::versionServerSetting)).toString(),
        QStringLiteral("--version-server"));
    if (!version.refusal.isEmpty()) {
        std::cerr << version.refusal.toStdString() << '\n';
        return 2;
    }
    rovex::AppDelegate delegate(parser.value(root).toStdString(), QDBusConnection::sessionBus(), whois.server);
    delegate.setVersionServer(version.server);
    delegate.applicationDidFinishLaunching();
    if (parser.isSet(showAll))
        delegate.showAllWindows();
    if (parser.isSet(pictures))
        schedulePictures(delegate, parser.value(pictures), seconds);
    return QApplication::exec();
}
