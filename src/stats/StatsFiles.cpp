#include "stats/StatsFiles.h"

#include "firewall/FixedPaths.h"

namespace rovex {

StatsFiles StatsFiles::open(const std::filesystem::path& root, std::int64_t fileCount)
{
    StatsFiles files;
    files.liveLog = FileDescriptor::openRegularFile(paths::underRoot(root, paths::pfLog));
    // Without a live log no archive is read.
    if (!files.liveLog.isOpen())
        return files;
    for (std::int64_t archive = 0; archive + 2 <= fileCount; ++archive)
        files.archives.push_back(FileDescriptor::openRegularFile(paths::archive(root, static_cast<int>(archive))));
    return files;
}

} // namespace rovex
