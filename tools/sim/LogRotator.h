#pragma once

#include <filesystem>

namespace rovex {

// Rotates the pf log under a root folder the way the firewall product does: the live log
// is compressed into archive 0 while the older archives move up one number, then the log
// is deleted and created again, empty, at the same path (a new file, not a rename, which
// is what a follower of the log has to notice).
class LogRotator final {
public:
    // Keeps archives 0 to archiveCount - 1; with 0 the old lines are simply dropped.
    LogRotator(std::filesystem::path root, int archiveCount);

    // Throws std::system_error or std::runtime_error on failure; the archives already on
    // disk stay as they were when the compression fails.
    void rotate() const;

private:
    void compressLogIntoArchive(const std::filesystem::path& log) const;
    void shiftArchives() const;

    std::filesystem::path m_root;
    int m_archiveCount;
};

} // namespace rovex
