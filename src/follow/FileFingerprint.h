#pragma once

#include "follow/FollowFile.h"

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace rovex {

// What the follower knows of a file it has read up to a position: which file it is
// (device, inode) and the bytes at its start and just before the position. A file that
// still holds those bytes at those places carries the text already read, whatever its
// name or inode now; one that does not has new content, to be read from its start.
class FileFingerprint final {
public:
    // Bytes kept from the start and from before the position: a few pf lines.
    static constexpr std::size_t sampleBytes = 512;

    FileFingerprint() = default;
    // Nothing read yet of the file.
    explicit FileFingerprint(const FollowFileStatus& identity);
    // The file read up to position already (the log at start-up): the samples are read from it.
    static FileFingerprint of(const FollowFile& file, const FollowFileStatus& identity, off_t position);

    off_t position() const { return m_position; }
    bool sameIdentity(const FollowFileStatus& status) const;
    bool sameFileAs(const FileFingerprint& other) const;
    // Takes note of bytes read at the position; the position moves past them.
    void advance(std::string_view read);
    // Whether file, size bytes long, still holds the samples where they were read.
    bool heldBy(const FollowFile& file, off_t size) const;
    // The same reading carried over to another file that holds the same text.
    FileFingerprint movedTo(const FollowFileStatus& identity) const;

private:
    dev_t m_device = 0;
    ino_t m_inode = 0;
    off_t m_position = 0;
    // The first bytes of the file and the last ones before the position, up to sampleBytes each.
    std::string m_head;
    std::string m_beforePosition;
};

} // namespace rovex
