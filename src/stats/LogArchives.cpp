#include "stats/LogArchives.h"

#include "firewall/FixedPaths.h"
#include "stats/LogEntryCount.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rovex {
namespace {

namespace fs = std::filesystem;

struct Kind {
    const char* suffix;
    ArchiveCoding coding;
};
constexpr std::array<Kind, 3> archiveKinds{{
    {".bz2", ArchiveCoding::Bzip2},
    {".gz", ArchiveCoding::Gzip},
    {"", ArchiveCoding::Plain},
}};

bool isThere(const fs::path& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

} // namespace

LogArchives::LogArchives(fs::path liveLog, fs::path productRoot)
    : m_liveLog(std::move(liveLog)), m_productRoot(std::move(productRoot)), m_productNaming(!m_productRoot.empty())
{}

LogArchives LogArchives::productLog(const fs::path& root)
{
    // An empty root is the current folder, as for every fixed path.
    return LogArchives(paths::underRoot(root, paths::pfLog), root.empty() ? fs::path(".") : root);
}

LogArchives LogArchives::chosenLog(fs::path log) { return LogArchives(std::move(log), {}); }

fs::path LogArchives::numbered(std::int64_t number, const char* suffix) const
{
    fs::path path = m_liveLog;
    path += "." + std::to_string(number) + suffix;
    return path;
}

std::int64_t LogArchives::firstNumber() const
{
    for (const Kind& kind : archiveKinds) {
        if (isThere(numbered(0, kind.suffix)))
            return 0;
    }
    return 1;
}

ArchiveFile LogArchives::archive(std::int64_t index) const
{
    if (m_productNaming)
        return {numbered(index, ".bz2"), ArchiveCoding::Bzip2};
    const std::int64_t number = firstNumber() + index;
    for (const Kind& kind : archiveKinds) {
        fs::path path = numbered(number, kind.suffix);
        if (isThere(path))
            return {std::move(path), kind.coding};
    }
    return {numbered(number, ".bz2"), ArchiveCoding::Bzip2};
}

std::int64_t LogArchives::countEntries() const
{
    if (m_productNaming)
        return countLogEntries(m_productRoot);
    std::int64_t count = isThere(m_liveLog) ? 1 : 0;
    // The archives run on from the first number until one is not there in any kind.
    for (std::int64_t number = firstNumber();; ++number) {
        const bool present = std::ranges::any_of(
            archiveKinds, [this, number](const Kind& kind) { return isThere(numbered(number, kind.suffix)); });
        if (!present)
            return count;
        ++count;
    }
}

} // namespace rovex
