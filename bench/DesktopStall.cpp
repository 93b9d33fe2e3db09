// The desktop's responsiveness under a flood: the application with its four category
// windows open follows a log that rovex-sim appends to at a high rate, while a timer that
// should fire every 5 ms measures how late the event loop gets to it. Prints the longest
// stall, the 99th percentile, the lines counted and the resident memory at the end.
//
//   desktop_stall ROVEX_SIM [RATE] [SECONDS] [ADDRESSES] [--simple-log ROWS] [--chosen]
//
// With --simple-log only the simple log window is open, keeping ROWS rows live. With
// --chosen the address tables are filtered (by "1") and the port tables sorted by their
// first sighting, as a user working in them would have them.
//
// Runs on whatever platform Qt is given (offscreen, or a real X server through Xvfb).
#include "app/desktop/AppDelegate.h"
#include "app/desktop/LiveTables.h"
#include "app/desktop/TrafficTableModel.h"
#include "app/images/Images.h"
#include "app/simplelog/RXSimpleLogController.h"
#include "app/simplelog/SimpleLogModel.h"
#include "app/simplelog/SimpleLogWindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int tickMilliseconds = 5;

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

std::int64_t linesCounted(rovex::LiveTables& tables)
{
    std::int64_t lines = 0;
    for (const auto kind : {rovex::TrafficKind::BlockIn, rovex::TrafficKind::BlockOut, rovex::TrafficKind::PassIn,
                            rovex::TrafficKind::PassOut}) {
        for (const auto& row : tables.store().portRows(rovex::portTable(kind)))
            lines += row.portCount;
    }
    return lines;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    rovex::installMenuTexts(application);
    QStringList arguments = QApplication::arguments();
    int simpleLogRows = 0;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--simple-log")); at >= 0 && at + 1 < arguments.size()) {
        simpleLogRows = arguments[at + 1].toInt();
        arguments.remove(at, 2);
    }
    const bool chosen = arguments.removeAll(QStringLiteral("--chosen")) > 0;
    if (arguments.size() < 2) {
        std::cerr << "usage: desktop_stall ROVEX_SIM [RATE] [SECONDS] [ADDRESSES] [--simple-log ROWS]\n";
        return 2;
    }
    const QString rate = arguments.size() > 2 ? arguments[2] : QStringLiteral("100000");
    const QString seconds = arguments.size() > 3 ? arguments[3] : QStringLiteral("30");
    // How many distinct remote hosts the log comes from (rovex-sim log --addresses).
    const QString addresses = arguments.size() > 4 ? arguments[4] : QStringLiteral("5000");

    QTemporaryDir root;
    QProcess::execute(arguments[1], {QStringLiteral("library"), QStringLiteral("--root"), root.path()});
    rovex::AppDelegate delegate(root.path().toStdString(), QDBusConnection::sessionBus());
    delegate.applicationDidFinishLaunching();
    if (simpleLogRows > 0) {
        delegate.simplewindow().maxLogLines().setValue(simpleLogRows);
        delegate.simplewindow().show();
    } else {
        delegate.showAllWindows();
        delegate.simplewindow().hide();
    }
    if (chosen) {
        for (const rovex::TrafficCategory category : rovex::allTrafficCategories) {
            rovex::ByCountProxyModel& shown = delegate.tables().sorted(category);
            if (rovex::isPortTable(category))
                shown.sort(rovex::TrafficTableModel::DateColumn, Qt::AscendingOrder);
            else
                shown.setFilter(QStringLiteral("1"));
        }
    }

    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start(arguments[1],
                 {QStringLiteral("log"), QStringLiteral("--root"), root.path(), QStringLiteral("--rate"), rate,
                  QStringLiteral("--seconds"), seconds, QStringLiteral("--addresses"), addresses});

    std::vector<qint64> lateness;
    QElapsedTimer clock;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    qint64 previous = 0;
    QObject::connect(&ticker, &QTimer::timeout, &application, [&] {
        const qint64 now = clock.nsecsElapsed();
        lateness.push_back(std::max<qint64>(0, now - previous - qint64{tickMilliseconds} * 1000000));
        previous = now;
    });
    QObject::connect(&writer, &QProcess::finished, &application, [&] {
        // Let the last appends arrive, then stop.
        QTimer::singleShot(1500, &application, &QApplication::quit);
    });
    clock.start();
    ticker.start(tickMilliseconds);
    QApplication::exec();

    std::sort(lateness.begin(), lateness.end());
    const auto milliseconds = [](qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; };
    std::cout << "lines counted:        " << linesCounted(delegate.tables()) << "\n"
              << "event loop ticks:     " << lateness.size() << "\n"
              << "longest stall:        " << milliseconds(lateness.empty() ? 0 : lateness.back()) << " ms\n"
              << "99th percentile:      " << milliseconds(lateness.empty() ? 0 : lateness[lateness.size() * 99 / 100])
              << " ms\n"
              << "simple log rows:      " << delegate.simpleLogController().simpleLogsArrayController().size() << "\n"
              << "resident memory:      " << residentKilobytes() / 1024 << " MiB\n";
    return 0;
}
