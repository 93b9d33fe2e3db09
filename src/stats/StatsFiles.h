#pragma once

#include "stats/FileDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace rovex {

// The N files of a run, all opened before any is read, so that a rotation during the run
// neither shows an archive twice nor hides one: the live log, then archives 0 to N - 2.
// A file that is missing or not a regular file stays closed.
struct StatsFiles {
    FileDescriptor liveLog;
    std::vector<FileDescriptor> archives;

    static StatsFiles open(const std::filesystem::path& root, std::int64_t fileCount);
};

} // namespace rovex
