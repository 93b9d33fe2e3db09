#pragma once

#include "sim/UniqueFd.h"

#include <filesystem>
#include <string_view>

namespace rovex {

// Appends to the live pf log. Each append is one write(2) on a descriptor opened with
// O_APPEND, so that a follower sees whole batches arrive.
class LogFileWriter final {
public:
    // Creates the log's folder and the log itself when they are missing.
    explicit LogFileWriter(std::filesystem::path file);

    void append(std::string_view bytes) const;
    // Opens the path again: after a rotation the old descriptor points at a deleted file.
    void reopen();

private:
    std::filesystem::path m_file;
    UniqueFd m_fd;
};

} // namespace rovex
