#pragma once

#include "sim/LayoutLineWriter.h"
#include "sim/LogFileWriter.h"
#include "sim/LogLineGenerator.h"
#include "sim/LogRotator.h"
#include "sim/SimLayout.h"
#include "sim/SimPacket.h"
#include "sim/SimRandom.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace rovex {

struct LogSessionOptions {
    std::filesystem::path root;
    std::uint64_t linesPerSecond = 100;
    double seconds = 0;            // 0: until a stop is requested
    double rotateEverySeconds = 0; // 0: never rotate
    int archives = 5;
    bool splitWrites = false;
    std::uint64_t seed = 1;
    std::size_t addresses = 5000;
    SimLayout layout = SimLayout::Product;
};

struct LogSessionResult {
    std::uint64_t lines = 0;
    int rotations = 0;
};

// Writes the live pf log at a steady rate: small batches every 10 to 50 ms, each one
// write(2), so that a follower sees many appends; rotates on schedule. The total after a
// full run is exactly rate x seconds lines, and every line ends complete, also when a stop
// is requested.
class LogSession final {
public:
    LogSession(LogSessionOptions options, const std::atomic<bool>& stopRequested);

    // Throws std::system_error or std::runtime_error when the log cannot be written.
    LogSessionResult run();

private:
    void writeLines(std::uint64_t count);
    void appendLine();
    void writeSplit(std::string_view batch, std::size_t lastLineStart);
    double nextPause();

    LogSessionOptions m_options;
    const std::atomic<bool>& m_stopRequested;
    LogLineGenerator m_generator;
    LayoutLineWriter m_layoutWriter;
    std::string m_productLine; // a packet's line in the product layout, before it is rewritten
    SimPacket m_packet;
    LogFileWriter m_writer;
    LogRotator m_rotator;
    SimRandom m_timing;
    std::string m_batch;
    LogSessionResult m_result;
};

} // namespace rovex
