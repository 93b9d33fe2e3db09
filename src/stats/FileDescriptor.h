#pragma once

#include <filesystem>

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

} // namespace rovex
