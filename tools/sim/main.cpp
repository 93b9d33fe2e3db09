#include "firewall/FixedPaths.h"
#include "sim/BusCommands.h"
#include "sim/GeoipConverter.h"
#include "sim/LibraryWriter.h"
#include "sim/LogSession.h"
#include "sim/SimCommandLine.h"
#include "sim/WebCommands.h"

#include <atomic>
#include <csignal>
#include <exception>
#include <iostream>
#include <sys/prctl.h>
#include <string_view>
#include <vector>

namespace {

using namespace rovex;
namespace fs = std::filesystem;

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the stop flag is set from a signal handler");

extern "C" void requestStop(int) { stopRequested.store(true); }

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void prepareRoot(const fs::path& root) { fs::create_directories(root); }

int run(const HelpCommand&)
{
    std::cout << SimCommandLine::usage();
    return 0;
}

int run(const LogCommand& command)
{
    prepareRoot(command.options.root);
    installStopHandlers();
    LogSession session(command.options, stopRequested);
    const LogSessionResult result = session.run();
    std::cout << "wrote " << result.lines << " lines to "
              << paths::underRoot(command.options.root, paths::pfLog).string() << ", " << result.rotations
              << " rotations\n";
    return 0;
}

int run(const LibraryCommand& command)
{
    prepareRoot(command.root);
    const fs::path file = paths::underRoot(command.root, paths::library);
    LibraryWriter::write(file, command.format);
    std::cout << "wrote " << (command.format == PlistFormat::binary ? "binary" : "XML") << " library " << file.string()
              << '\n';
    return 0;
}

int run(const NationsCommand& command)
{
    if (!fs::is_regular_file(command.source)) {
        std::cerr << "rovex-sim: country source " << command.source.string()
                  << " not found; install the Debian package tor-geoipdb or give --source FILE\n";
        return 1;
    }
    prepareRoot(command.root);
    GeoipConverter converter;
    converter.readFile(command.source);
    const fs::path folder = paths::underRoot(command.root, paths::nations);
    const GeoipSummary summary = converter.write(folder);
    std::cout << "wrote " << summary.files << " country files, " << summary.blocks << " blocks to " << folder.string()
              << " (" << summary.rangesWithoutCountry << " ranges without a country left out)\n";
    return 0;
}

int run(const PostCommand& command) { return runPost(command); }

int run(const RecordCommand& command) { return runRecord(command); }

int run(const VersionServerCommand& command) { return runVersionServer(command); }

} // namespace

int main(int argc, char** argv)
{
    // The viewer knows the running product by its process name, whatever the command.
    prctl(PR_SET_NAME, "Rovex", 0, 0, 0);
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    SimCommand command;
    try {
        command = SimCommandLine::parse(arguments);
    } catch (const UsageError& error) {
        std::cerr << "rovex-sim: " << error.what() << '\n';
        return 2;
    }
    try {
        return std::visit([](const auto& chosen) { return run(chosen); }, command);
    } catch (const std::exception& error) {
        std::cerr << "rovex-sim: " << error.what() << '\n';
        return 1;
    }
}
