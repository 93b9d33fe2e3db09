#include "FileEvents.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace rovex::test {

FileEvents::FileEvents() : m_fd(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {}

FileEvents::~FileEvents()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileEvents::watch(const std::filesystem::path& path, std::uint32_t mask)
{
    return m_fd >= 0 && ::inotify_add_watch(m_fd, path.c_str(), mask) >= 0;
}

bool FileEvents::next(std::uint32_t mask, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if ((read(deadline) & mask) != 0)
            return true;
    }
    return false;
}

bool FileEvents::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        read(deadline);
    }
    return true;
}

std::uint32_t FileEvents::read(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline
                                                                            - std::chrono::steady_clock::now());
    pollfd ready{m_fd, POLLIN, 0};
    if (m_fd < 0 || ::poll(&ready, 1, static_cast<int>(std::max(left.count(), std::int64_t{0}))) <= 0)
        return 0;
    alignas(inotify_event) std::array<char, 16 * 1024> buffer{};
    const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
    std::uint32_t seen = 0;
    for (std::size_t at = 0; got > 0 && at + sizeof(inotify_event) <= static_cast<std::size_t>(got);) {
        inotify_event event{};
        std::memcpy(&event, buffer.data() + at, sizeof event);
        seen |= event.mask;
        at += sizeof event + event.len;
    }
    return seen;
}

} // namespace rovex::test
