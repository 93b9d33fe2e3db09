#pragma once

#include "QtTestSupport.h"

#include <QDBusConnection>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace rovex::test {

// A round trip to the bus daemon: what the connection sent before (a subscription, a call)
// has been handled by the daemon, and replies to earlier calls have been queued for the
// event loop, which then runs once.
void settle(const QDBusConnection& connection);

// What this process writes on standard output while the object lives; given back even
// when a test ends early, so that the test's own report is not swallowed.
class StdoutCapture final {
public:
    StdoutCapture();
    ~StdoutCapture();
    Q_DISABLE_COPY_MOVE(StdoutCapture)

    std::string take();

private:
    bool m_capturing = true;
};

// notification-recorder as a child process; its JSON lines are collected while the event
// loop runs. Ended (and its bus name released) on destruction.
class RecorderProcess final {
public:
    explicit RecorderProcess(const QStringList& arguments = {});
    ~RecorderProcess();
    Q_DISABLE_COPY_MOVE(RecorderProcess)

    // Started, owns org.freedesktop.Notifications and said so.
    bool ready();
    void sendSignal(int signalNumber) const;
    // Ends the recorder and waits until the bus has seen its name go.
    void stop();

    const std::vector<QJsonObject>& lines() const { return m_lines; }
    std::vector<QJsonObject> calls(const QString& method) const;
    bool waitFor(const std::function<bool(const RecorderProcess&)>& done);

private:
    void readLines();

    QProcess m_process;
    std::vector<QJsonObject> m_lines;
};

} // namespace rovex::test
