#include "follow/FollowFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace rovex {

namespace {

FollowFileStatus statusFrom(const struct stat& info)
{
    return {info.st_dev, info.st_ino, info.st_size, S_ISREG(info.st_mode)};
}

} // namespace

FollowPathLookup FollowPathLookup::of(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return {Outcome::Found, statusFrom(info)};
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    return {missing ? Outcome::Missing : Outcome::Unknown, {}};
}

FollowFile::~FollowFile() { close(); }

FollowFile::FollowFile(FollowFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FollowFile& FollowFile::operator=(FollowFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FollowFile FollowFile::open(const std::string& path)
{
    // Non-blocking so that a FIFO put at the log's path cannot hold the event loop.
    FollowFile file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    FollowFileStatus opened;
    if (!file.status(opened) || !opened.regular)
        file.close();
    return file;
}

bool FollowFile::status(FollowFileStatus& status) const
{
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return false;
    status = statusFrom(info);
    return true;
}

std::size_t FollowFile::readAt(char* buffer, std::size_t size, off_t offset) const
{
    std::size_t done = 0;
    while (m_fd >= 0 && done < size) {
        const ssize_t got = ::pread(m_fd, buffer + done, size - done, offset + static_cast<off_t>(done));
        if (got > 0)
            done += static_cast<std::size_t>(got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    return done;
}

void FollowFile::close() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace rovex
