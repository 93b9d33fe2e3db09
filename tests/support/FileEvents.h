#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

// What the tests without an event loop share: waiting on a file's own events (inotify)
// instead of sleeping, so that a loaded machine only makes them slower, never wrong.
namespace rovex::test {

using namespace std::chrono_literals;

class FileEvents final {
public:
    FileEvents();
    ~FileEvents();
    FileEvents(const FileEvents&) = delete;
    FileEvents& operator=(const FileEvents&) = delete;

    // Watches a file or a folder for the inotify events in mask (IN_OPEN, IN_ACCESS...);
    // false when it cannot.
    bool watch(const std::filesystem::path& path, std::uint32_t mask);
    // Waits for the next event in mask on any watch; false when none came within the limit.
    bool next(std::uint32_t mask, std::chrono::milliseconds limit = 30s);
    // Checks done() now and after every event; false when the limit passed before it held.
    bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s);

private:
    // Reads the events that arrive within the limit; the union of their masks, 0 for none.
    std::uint32_t read(std::chrono::steady_clock::time_point deadline);

    int m_fd = -1;
};

} // namespace rovex::test
