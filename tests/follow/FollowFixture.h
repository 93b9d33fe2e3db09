#pragma once

#include "FollowHarness.h"
#include "follow/FollowTiming.h"
#include "follow/RXReadLog.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace rovex::test {

using Segments = std::vector<std::string>;
using Lines = std::vector<std::string>;

// A log under a temporary root and a reader that follows it. The reader records the bytes
// it hands on in segments: fileEnded opens the next one.
class Follow : public ::testing::Test {
protected:
    // Short enough that a rotated file ends soon after its last line in a test.
    static constexpr FollowTiming quickDrain{std::chrono::seconds(1), std::chrono::milliseconds(100)};

    void SetUp() override;

    void makeLogFolder() const;
    // Writes the log anew (truncated in place when it exists).
    void createLog(const QByteArray& text) const;
    void appendToLog(const QByteArray& text) const;
    // Moves a file in one step, replacing what to names, as a rotation or sed -i does.
    void renameLog(const QString& from, const QString& to) const;

    void follow(const FollowTiming& timing = quickDrain);

    // Every line handed on so far in the order handed on; a piece ended by fileEnded counts.
    Lines lines() const;
    // Waits until the line was handed on.
    bool waitForLine(const std::string& line);
    void expectSegments(LogWriter& writer, const Segments& expected);
    bool waitForSegments(const Segments& expected);

    QTemporaryDir m_root;
    QString m_log;
    Segments m_segments{std::string()};
    std::unique_ptr<RXReadLog> m_reader;
};

// count lines "TAG N", N from first on, each with a pf-like prefix, so that the logs of
// different tags differ from their first byte.
QByteArray numberedLines(const char* tag, int first, int count);
// The same lines as text, for comparing with what was handed on.
Lines numbered(const char* tag, int first, int count);
Lines concatenated(Lines a, const Lines& b);
Lines sorted(Lines lines);

// The log opened for appending and kept open, as the firewall keeps its log open across a
// rotation until it is told to reopen it.
class HeldLog final {
public:
    explicit HeldLog(const QString& log);
    ~HeldLog();
    HeldLog(const HeldLog&) = delete;
    HeldLog& operator=(const HeldLog&) = delete;

    bool write(const QByteArray& text) const;

private:
    int m_fd = -1;
};

} // namespace rovex::test
