#pragma once

#include <cstddef>
#include <filesystem>
#include <sys/types.h>

namespace rovex {

// An open file, closed with its owner. Opened only when it is a regular file: a FIFO or a
// device (or a link to one) would block or never end, so it counts as not there.
class FileDescriptor final {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    static FileDescriptor openRegularFile(const std::filesystem::path& path);

    bool isOpen() const noexcept { return m_fd >= 0; }
    int get() const noexcept { return m_fd; }

private:
    int m_fd = -1;
};

// read(2) of up to `size` bytes, again when a signal cut it short: the bytes read, 0 at
// the end of the file, negative on an error.
ssize_t readRetrying(int fd, char* data, std::size_t size) noexcept;

} // namespace rovex
