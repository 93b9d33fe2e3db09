#include "stats/StatsFiles.h"

namespace rovex {

StatsFiles StatsFiles::open(const LogArchives& log, std::int64_t fileCount)
{
    StatsFiles files;
    files.liveLog = FileDescriptor::openRegularFile(log.liveLog());
    // Without a live log no archive is read.
    if (!files.liveLog.isOpen())
        return files;
    for (std::int64_t index = 0; index + 2 <= fileCount; ++index) {
        ArchiveFile name = log.archive(index);
        FileDescriptor file = FileDescriptor::openRegularFile(name.path);
        files.archives.push_back({std::move(name), std::move(file)});
    }
    return files;
}

} // namespace rovex
