#pragma once

#include <QString>

#include <cstdint>

namespace rovex {

// What the traffic windows say about the log they show: which file, whether it is there
// to be read, and what became of its lines.
struct LogStatus {
    QString path;
    bool following = false;
    std::uint64_t linesRead = 0;
    std::uint64_t linesSkipped = 0; // not pf lines, excluded, ignored, or not UTF-8

    std::uint64_t lines() const { return linesRead + linesSkipped; }
};

// "Following PATH · N lines read · M skipped", or "Waiting for PATH" while it is missing.
QString describe(const LogStatus& status);

} // namespace rovex
