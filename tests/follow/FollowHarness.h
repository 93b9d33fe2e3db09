#pragma once

#include "intake/RXReadLog.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace rovex::test {

// Runs the event loop until done() holds or the limit passes; true when done() holds.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// Everything a reader hands on, cut where it said the file ended.
class FollowRecorder final {
public:
    explicit FollowRecorder(RXReadLog& reader);

    // The bytes delivered from each followed file, in order; fileEnded opens a new one.
    const std::vector<std::string>& segments() const { return m_segments; }
    const std::vector<std::size_t>& chunkSizes() const { return m_chunkSizes; }
    std::size_t deliveredBytes() const;

private:
    QObject m_context;
    std::vector<std::string> m_segments {std::string()};
    std::vector<std::size_t> m_chunkSizes;
};

// A python3 process that writes the log while the test runs the event loop.
class LogWriter final {
public:
    // Starts at once; the script gets args as sys.argv[1:].
    LogWriter(const char* script, const QStringList& args);
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    bool succeeded() const;
    // Waits for the writer without running the event loop, as if the reader were busy
    // elsewhere while the log changed: the reader then finds all of it at once.
    void finishWhileReaderIsBusy();
    // What the process said, for a failure message.
    std::string report();

private:
    QProcess m_process;
};

} // namespace rovex::test
