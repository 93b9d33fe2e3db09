#include "follow/RecentFiles.h"

#include <algorithm>
#include <ranges>

namespace rovex {

void RecentFiles::remember(const FileFingerprint& read)
{
    std::erase_if(m_files, [&](const FileFingerprint& known) { return known.sameFileAs(read); });
    if (read.position() == 0)
        return; // nothing read: nothing a returning file could repeat
    if (m_files.size() == capacity)
        m_files.erase(m_files.begin());
    m_files.push_back(read);
}

FileFingerprint RecentFiles::resumeFor(const FollowFile& file, const FollowFileStatus& status) const
{
    const auto newestFirst = m_files | std::views::reverse;
    const auto held = [&](const FileFingerprint& known) { return known.heldBy(file, status.size); };
    const auto same = std::ranges::find_if(newestFirst,
                                           [&](const FileFingerprint& known) { return known.sameIdentity(status); });
    if (same != newestFirst.end())
        return held(*same) ? *same : FileFingerprint(status);
    const auto repeated = std::ranges::find_if(newestFirst, held);
    if (repeated != newestFirst.end())
        return repeated->movedTo(status);
    return FileFingerprint(status);
}

} // namespace rovex
