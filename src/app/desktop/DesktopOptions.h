#pragma once

#include "app/desktop/LogChoice.h"
#include "lookup/WhoisServer.h"

#include <QString>
#include <QUrl>

#include <filesystem>
#include <optional>
#include <variant>

class QCoreApplication;

namespace rovex {

// What the desktop application was started with, every value checked.
struct DesktopOptions {
    std::filesystem::path root;
    bool showAll = false;
    std::optional<QString> picturesFolder;
    int picturesAfterSeconds = 10;
    std::optional<WhoisServer> whoisServer;
    std::optional<QUrl> versionServer;
    // The log remembered from the last run, with --log and --layouts put over it.
    LogChoice log;
};

// A refused start: one line for standard error, and the exit code.
struct OptionsRefusal {
    QString line;
    int exitCode = 2;
};

// Reads the command line; --help and --version print and end the process as usual.
std::variant<DesktopOptions, OptionsRefusal> readDesktopOptions(const QCoreApplication& application);

} // namespace rovex
