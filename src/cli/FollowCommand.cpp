#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/HeadlessViewer.h"
#include "cli/LogOptions.h"
#include "cli/RootFolder.h"
#include "cli/TablesReport.h"
#include "follow/RXReadLog.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace rovex::cli {
namespace {

// A follow may run for days: only the last notifications are held, with the count of all.
constexpr std::size_t keptNotifications = 1000;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// The live view: the top of every table, redrawn in place once a second.
void showLive(const HeadlessViewer& viewer, const std::filesystem::path& log)
{
    if (isatty(STDOUT_FILENO))
        std::cout << "\x1b[H\x1b[2J";
    std::cout << "Following " << log.string() << "  (Ctrl-C to stop)\n\n";
    printTables(std::cout, viewer.store(), viewer.notifications(), {.rowsPerTable = 5, .notifications = 3});
    printLineSummary(std::cout, viewer.intake().classifier().outcomes(), viewer.intake().invalidLines());
    std::cout << std::flush;
}

} // namespace

int runFollow(const std::vector<std::string>& arguments, int argc, char** argv)
{
    const CommandLine line(arguments, {{"--root", "--seconds", "--log", "--layouts"}, {"--json"}});
    const auto root = rootFolder(line);
    const auto seconds = static_cast<int>(
        line.wholeNumber("--seconds", "seconds", 1, std::int64_t{86400} * 365).value_or(0));
    if (!line.operands().empty())
        throw UsageError("follow takes no operand");
    const bool json = line.flag("--json");

    QCoreApplication application(argc, argv);
    HeadlessViewer viewer(root, std::cerr, keptNotifications);
    viewer.setLayouts(layoutSetting(line));
    const std::filesystem::path log = chosenLog(line, root).liveLog();
    RXReadLog reader(QString::fromStdString(log.string()));
    QObject::connect(&reader, &RXReadLog::chunkRead, &application, [&viewer](const QByteArray& chunk) {
        viewer.feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())), Clock::now());
        viewer.resolveNewCountries();
    });
    QObject::connect(&reader, &RXReadLog::fileEnded, &application, [&viewer] {
        viewer.endOfFile(Clock::now());
        viewer.resolveNewCountries();
    });

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &application, [] {
        if (stopRequested)
            QCoreApplication::quit();
    });
    stopWatch.start(100);
    QTimer view;
    if (!json) {
        QObject::connect(&view, &QTimer::timeout, &application, [&viewer, &log] { showLive(viewer, log); });
        view.start(1000);
        showLive(viewer, log);
    }
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);

    reader.checklogfileandreadlog();
    QCoreApplication::exec();

    if (json)
        writeTablesJson(std::cout, viewer.store(), viewer.notifications(), true);
    else
        showLive(viewer, log);
    return 0;
}

} // namespace rovex::cli
