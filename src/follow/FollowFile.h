#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace rovex {

// Which file a name leads to, and how long it is. Two names lead to the same file exactly
// when device and inode agree; a rotated log keeps its path but changes its inode.
struct FollowFileStatus {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    bool regular = false;

    bool sameFileAs(const FollowFileStatus& other) const { return device == other.device && inode == other.inode; }
};

// What a path names at the moment it is looked up. Unknown covers the errors that say
// nothing about the file itself (a folder that cannot be searched, a loop of links), so
// that such a moment is never taken for a rotation.
struct FollowPathLookup {
    enum class Outcome { Found, Missing, Unknown };
    Outcome outcome = Outcome::Missing;
    FollowFileStatus status;

    static FollowPathLookup of(const std::string& path);
};

// A read-only descriptor on the followed log, closed when it goes out of scope. Only
// regular files are opened: a FIFO or a folder at the log's path is refused, and the open
// never waits for a writer.
class FollowFile final {
public:
    FollowFile() = default;
    ~FollowFile();
    FollowFile(FollowFile&& other) noexcept;
    FollowFile& operator=(FollowFile&& other) noexcept;
    FollowFile(const FollowFile&) = delete;
    FollowFile& operator=(const FollowFile&) = delete;

    // A closed result when path is missing, unreadable or not a regular file.
    static FollowFile open(const std::string& path);

    bool isOpen() const { return m_fd >= 0; }
    // The status of the open file itself, whatever its path names by now.
    bool status(FollowFileStatus& status) const;
    // Reads up to size bytes at offset; the count read, 0 at the end or on an error.
    std::size_t readAt(char* buffer, std::size_t size, off_t offset) const;
    void close() noexcept;

private:
    explicit FollowFile(int fd) : m_fd(fd) {}

    int m_fd = -1;
};

} // namespace rovex
