#pragma once

#include <filesystem>
#include <string_view>

namespace rovex {

// Owns one open file descriptor and closes it when it goes. The simulator writes with
// write(2) directly, so that every batch reaches the file as one append.
class UniqueFd final {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept;
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    // Opens path with open(2) flags; throws std::system_error naming the path on failure.
    static UniqueFd open(const std::filesystem::path& path, int flags, unsigned mode = 0644);

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset();

    // Writes all of bytes, resuming after partial writes and interruptions; throws
    // std::system_error on failure.
    void writeAll(std::string_view bytes) const;
    // Reads up to size bytes, resuming after interruptions; 0 at the end of the file.
    std::size_t readSome(char* buffer, std::size_t size) const;

private:
    int m_fd = -1;
};

} // namespace rovex
