// Starting and ending the application as a user does: the real executable, on the test's
// private session bus.
#include "DesktopTestSupport.h"

#include "app/bus/SingleInstance.h"
#include "app/desktop/CategoryWindow.h"
#include "app/desktop/LauncherWindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTimer>

#include <gtest/gtest.h>

namespace rovex {
namespace {

using namespace std::chrono_literals;

QString visualizer() { return QStringLiteral(ROVEX_BINARY_DIR "/src/app/desktop/rovex-logs-visualizer"); }

// Runs the executable to its end while this process's event loop keeps answering the bus.
struct VisualizerRun {
    int exitCode = -1;
    QString out;
    QString err;
};
VisualizerRun runVisualizer(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(visualizer(), arguments);
    const bool ended = test::runUntil([&] { return process.state() == QProcess::NotRunning; }, 20s);
    if (!ended) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

TEST(StartTest, AWrongOptionIsRefusedInOneLine)
{
    // The last line, after whatever the platform itself warns about.
    const auto refusedWith = [](const QStringList& arguments, const QString& line) {
        const VisualizerRun run = runVisualizer(arguments);
        EXPECT_EQ(run.exitCode, 2);
        const QString said = QStringLiteral("rovex-logs-visualizer: ") + line + QLatin1Char('\n');
        EXPECT_TRUE(run.err.endsWith(QLatin1Char('\n') + said) || run.err == said) << run.err.toStdString();
    };
    refusedWith({QStringLiteral("--root"), QStringLiteral("/nonexistent/root")},
                QStringLiteral("root folder /nonexistent/root does not exist"));
    refusedWith({QStringLiteral("--layouts"), QStringLiteral("most")},
                QStringLiteral("--layouts needs product or all"));
}

TEST(StartTest, ASecondStartBringsTheFirstForwardAndEnds)
{
    const test::TempRoot root;
    test::Delegate app(root);
    SingleInstance first(QDBusConnection::sessionBus());
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    QObject::connect(&first, &SingleInstance::activated, &app.delegate, &AppDelegate::bringWindowsForward);
    CategoryWindow& blockedIn = app.delegate.categoryWindow(TrafficKind::BlockIn);
    ASSERT_FALSE(blockedIn.isVisible());

    const VisualizerRun second = runVisualizer(
        {QStringLiteral("--root"), QString::fromStdString(root.path().string())});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("already running"))) << second.out.toStdString();
    EXPECT_TRUE(blockedIn.isVisible()) << "no window was open, so the traffic windows open";

    // With a window open, that one comes forward and nothing else opens.
    blockedIn.close();
    app.delegate.openAbout();
    EXPECT_EQ(runVisualizer({QStringLiteral("--root"), QString::fromStdString(root.path().string())}).exitCode, 0);
    EXPECT_FALSE(blockedIn.isVisible());
}

TEST(StartTest, ClosingTheLauncherQuitsWhereThereIsNoTray)
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "this desktop has a tray";
    const test::TempRoot root;
    test::Delegate app(root);
    ASSERT_NE(app.delegate.launcher(), nullptr);
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&quit] { quit = true; });
    QTimer::singleShot(0, app.delegate.launcher(), &QWidget::close);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); }); // the launcher did not quit
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(quit);
}

} // namespace
} // namespace rovex
