#pragma once

#include "stats/FileDescriptor.h"
#include "stats/LogArchives.h"

#include <cstdint>
#include <vector>

namespace rovex {

// The N files of a run, all opened before any is read, so that a rotation during the run
// neither shows an archive twice nor hides one: the live log, then archives 0 to N - 2.
// A file that is missing or not a regular file stays closed.
struct StatsFiles {
    struct Archive {
        ArchiveFile name;
        FileDescriptor file;
    };
    FileDescriptor liveLog;
    std::vector<Archive> archives;

    static StatsFiles open(const LogArchives& log, std::int64_t fileCount);
};

} // namespace rovex
