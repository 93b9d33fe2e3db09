#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// What the Qt tests share: waiting on the event loop, and real programs as peers.
namespace rovex::test {

using namespace std::chrono_literals;

// Runs the event loop until done() holds or the limit passes; true when done() holds.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
// Runs the event loop for a while, to spread deliveries over time.
void runFor(std::chrono::milliseconds span);

// Runs a program to its end, its output passed through; its exit code, or -1 when it did
// not exit by itself within half a minute.
int runProgram(const QString& program, const QStringList& arguments);

// A peer program that runs while the test talks to it; its standard output is read line by
// line while the event loop runs, its standard error passed through. Ended on destruction.
class ChildProcess final {
public:
    ChildProcess(const QString& program, const QStringList& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line it printed, without the line break; empty when none came in time.
    QByteArray nextLine(std::chrono::milliseconds limit = 5s);
    // The next line holding the text, the lines before it skipped; empty when none came.
    QByteArray lineContaining(const QByteArray& text, std::chrono::milliseconds limit = 10s);
    qint64 pid() const { return m_process.processId(); }
    // Sends the signal and waits for the end: the exit code, -1 when it did not exit by itself.
    int stop(int signal);
    // Waits a few seconds for an end it reaches by itself; same result as stop.
    int waitForExit();

private:
    QProcess m_process;
};

} // namespace rovex::test
