#include "sim/WebCommands.h"

#include "sim/StopSignals.h"
#include "sim/VersionServer.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace rovex {
namespace {

// A reply file is the test's or the demo's own; the bound only keeps a wrong path (a disk
// image) from being read whole.
constexpr std::uintmax_t replyFileLimit = std::uintmax_t{16} << 20;

std::string readReplyFile(const std::filesystem::path& file)
{
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(file, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(file, error) : 0;
    if (!regular || error || size > replyFileLimit)
        throw std::runtime_error("the reply file " + file.string() + " is not a readable file of at most 16 MiB");
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw std::runtime_error("cannot read the reply file " + file.string());
    return bytes;
}

} // namespace

int runVersionServer(const VersionServerCommand& command)
{
    int argc = 1;
    char name[] = "rovex-sim";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const StopSignals stopSignals(application);

    VersionServerOptions options{.port = command.port, .silent = command.silent};
    if (command.reply)
        options.reply = *command.reply;
    else if (command.replyFile)
        options.reply = readReplyFile(*command.replyFile);
    VersionServer server(std::move(options));
    server.listen();
    std::cout << "listening on http://127.0.0.1:" << server.port() << std::endl;
    if (command.seconds > 0) {
        const auto limit = std::chrono::milliseconds(std::llround(command.seconds * 1000));
        QTimer::singleShot(limit, &application, &QCoreApplication::quit);
    }
    return QCoreApplication::exec();
}

} // namespace rovex
