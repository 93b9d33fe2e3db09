#include "sim/LogSession.h"

#include "firewall/FixedPaths.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace rovex {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Timing and write splitting draw from their own sequence, so that the lines themselves
// stay the generator's sequence for the seed.
constexpr std::uint64_t timingSeedSalt = 0x5EEDF00DULL;

} // namespace

LogSession::LogSession(LogSessionOptions options, const std::atomic<bool>& stopRequested)
    : m_options(std::move(options)),
      m_stopRequested(stopRequested),
      m_generator(m_options.seed, m_options.addresses),
      m_layoutWriter(m_options.layout, m_options.seed),
      m_writer(paths::underRoot(m_options.root, paths::pfLog)),
      m_rotator(m_options.root, m_options.archives),
      m_timing(m_options.seed ^ timingSeedSalt)
{}

LogSessionResult LogSession::run()
{
    const Clock::time_point start = Clock::now();
    const bool rotates = m_options.rotateEverySeconds > 0;
    double nextRotation = m_options.rotateEverySeconds;
    for (;;) {
        const double elapsed = secondsSince(start);
        const bool timeUp = m_options.seconds > 0 && elapsed >= m_options.seconds;
        const bool finished = timeUp || m_stopRequested.load();
        const double upTo = m_options.seconds > 0 ? std::min(elapsed, m_options.seconds) : elapsed;
        const auto due = static_cast<std::uint64_t>(std::floor(static_cast<double>(m_options.linesPerSecond) * upTo));
        if (due > m_result.lines)
            writeLines(due - m_result.lines);
        if (finished)
            break;
        if (rotates && elapsed >= nextRotation) {
            m_rotator.rotate();
            m_writer.reopen();
            ++m_result.rotations;
            while (nextRotation <= elapsed)
                nextRotation += m_options.rotateEverySeconds;
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(nextPause()));
    }
    return m_result;
}

void LogSession::writeLines(std::uint64_t count)
{
    m_generator.setTime(std::chrono::system_clock::now());
    m_batch.clear();
    std::size_t lastLineStart = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        lastLineStart = m_batch.size();
        appendLine();
        m_batch.push_back('\n');
    }
    if (m_options.splitWrites && m_timing.percent(30))
        writeSplit(m_batch, lastLineStart);
    else
        m_writer.append(m_batch);
    m_result.lines += count;
}

void LogSession::appendLine()
{
    if (m_options.layout == SimLayout::Product) {
        m_generator.appendLine(m_batch);
        return;
    }
    m_productLine.clear();
    m_generator.appendLine(m_productLine, m_packet);
    m_layoutWriter.append(m_packet, m_batch);
}

void LogSession::writeSplit(std::string_view batch, std::size_t lastLineStart)
{
    // The last line arrives in two pieces a moment apart, as a logger's buffered writes
    // sometimes do: a follower must not take the first piece for a whole line.
    const std::size_t lastLineLength = batch.size() - lastLineStart;
    const std::size_t cut = lastLineStart + 1 + m_timing.below(static_cast<std::uint32_t>(lastLineLength - 1));
    m_writer.append(batch.substr(0, cut));
    std::this_thread::sleep_for(std::chrono::milliseconds(m_timing.between(2, 8)));
    m_writer.append(batch.substr(cut));
}

double LogSession::nextPause() { return static_cast<double>(m_timing.between(10, 50)) / 1000.0; }

} // namespace rovex
