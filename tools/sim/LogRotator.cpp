#include "sim/LogRotator.h"

#include "firewall/FixedPaths.h"
#include "sim/Bzip2Compression.h"
#include "sim/UniqueFd.h"

#include <fcntl.h>

namespace rovex {

namespace fs = std::filesystem;

LogRotator::LogRotator(fs::path root, int archiveCount) : m_root(std::move(root)), m_archiveCount(archiveCount) {}

void LogRotator::rotate() const
{
    const fs::path log = paths::underRoot(m_root, paths::pfLog);
    if (m_archiveCount > 0)
        compressLogIntoArchive(log);
    fs::remove(log);
    const UniqueFd created = UniqueFd::open(log, O_WRONLY | O_CREAT | O_EXCL);
}

void LogRotator::compressLogIntoArchive(const fs::path& log) const
{
    // Compress beside the archives under a name that is neither the log's nor an
    // archive's, so that no reader ever sees a half-written archive.
    const fs::path pending = log.parent_path() / ".rovex-sim-rotation.tmp";
    try {
        const UniqueFd source = UniqueFd::open(log, O_RDONLY | O_CREAT);
        const UniqueFd target = UniqueFd::open(pending, O_WRONLY | O_CREAT | O_TRUNC);
        compressBzip2(source, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(pending, ignored);
        throw;
    }
    shiftArchives();
    fs::rename(pending, paths::archive(m_root, 0));
}

void LogRotator::shiftArchives() const
{
    fs::remove(paths::archive(m_root, m_archiveCount - 1));
    for (int n = m_archiveCount - 2; n >= 0; --n) {
        const fs::path from = paths::archive(m_root, n);
        if (fs::exists(from))
            fs::rename(from, paths::archive(m_root, n + 1));
    }
}

} // namespace rovex
