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
#include "app/bus/SingleInstance.h"
#include "app/desktop/DesktopOptions.h"

#include <QApplication>
#include <QTimer>

#include <exception>
#include <iostream>
#include <variant>

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

int run(int argc, char** argv)
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

    const auto read = rovex::readDesktopOptions(application);
    if (const auto* refusal = std::get_if<rovex::OptionsRefusal>(&read)) {
        std::cerr << "rovex-logs-visualizer: " << refusal->line.toStdString() << '\n';
        return refusal->exitCode;
    }
    const auto& options = std::get<rovex::DesktopOptions>(read);

    rovex::SingleInstance instance(QDBusConnection::sessionBus());
    switch (instance.claim()) {
    case rovex::SingleInstance::Claim::AlreadyRunning:
        std::cout << "RovexLogsVisualizer is already running: its windows were brought forward" << std::endl;
        return 0;
    case rovex::SingleInstance::Claim::Unanswered:
        std::cerr << "rovex-logs-visualizer: already running, but it did not answer: "
                  << instance.problem().toStdString() << '\n';
        return 1;
    case rovex::SingleInstance::Claim::NoBus:
        std::cout << "cannot tell whether RovexLogsVisualizer already runs (" << instance.problem().toStdString()
                  << "): starting" << std::endl;
        break;
    case rovex::SingleInstance::Claim::First: break;
    }

    rovex::AppDelegate delegate(options.root, QDBusConnection::sessionBus(), options.whoisServer);
    delegate.setVersionServer(options.versionServer);
    delegate.useLog(options.log);
    QObject::connect(&instance, &rovex::SingleInstance::activated, &delegate, &rovex::AppDelegate::bringWindowsForward);
    delegate.applicationDidFinishLaunching();
    if (options.showAll)
        delegate.showAllWindows();
    if (options.picturesFolder)
        schedulePictures(delegate, *options.picturesFolder, options.picturesAfterSeconds);
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    // What escapes is one line and a failing exit, never an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "rovex-logs-visualizer: " << error.what() << '\n';
        return 1;
    }
}
