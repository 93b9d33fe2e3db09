#pragma once

#include <QProcess>
#include <QString>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace rovex::test {

// Runs the event loop until done() holds or the limit passes; true when done() holds.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// A python3 process that changes the log while the test runs the event loop. It carries
// out its steps in order, each "verb:text":
//   append:TEXT  one write at the end, creating the log and its folder if missing
//   drip:TEXT    the same in writes of five bytes
//   large:       more than 8 MiB of log lines in one write
//   truncate:  remove:
class LogWriter final {
public:
    // Starts at once.
    LogWriter(const QString& log, const std::vector<std::string>& steps);

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
