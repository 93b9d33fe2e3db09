#include "sim/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace rovex {

UniqueFd::~UniqueFd() { reset(); }

UniqueFd::UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        reset();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

UniqueFd UniqueFd::open(const std::filesystem::path& path, int flags, unsigned mode)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "cannot open " + path.string());
    return UniqueFd(fd);
}

void UniqueFd::reset()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

void UniqueFd::writeAll(std::string_view bytes) const
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "write failed");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::size_t UniqueFd::readSome(char* buffer, std::size_t size) const
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "read failed");
    }
}

} // namespace rovex
