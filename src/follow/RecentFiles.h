#pragma once

#include "follow/FileFingerprint.h"
#include "follow/FollowFile.h"

#include <cstddef>
#include <vector>

namespace rovex {

// The files the follower read lately, so that one that comes back under the log's name
// (moved away and back, a symlink swapped back, rewritten with the same text by sed -i)
// resumes where it was left instead of having its lines counted again.
class RecentFiles final {
public:
    // A rotation or two, and the files a symlink was swapped between.
    static constexpr std::size_t capacity = 8;

    // Keeps what was read of a file, in place of what was known of it before.
    void remember(const FileFingerprint& read);
    // Where to read file from: the reading of this very file if it still holds what was
    // read, else that of a file whose text it repeats, else its first byte.
    FileFingerprint resumeFor(const FollowFile& file, const FollowFileStatus& status) const;

private:
    // Oldest first.
    std::vector<FileFingerprint> m_files;
};

} // namespace rovex
