#pragma once

#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>

#include <nlohmann/json.hpp>

#include <string>

namespace rovex::simtest {

// Every signal on /rovexid, interface rovexid.Notification, as this test process receives
// it from the session bus.
class SignalCatcher final : public QObject {
    Q_OBJECT

public:
    // Returns once the match rule is in place at the bus.
    SignalCatcher();

    // Runs the event loop until count signals have come, for at most a few seconds.
    const QList<QDBusMessage>& waitFor(qsizetype count);

Q_SIGNALS:
    void received();

private Q_SLOTS:
    void take(const QDBusMessage& message);

private:
    QList<QDBusMessage> m_messages;
};

// A rovex-sim that keeps running while the test talks to it; killed when still alive.
class RunningSim final {
public:
    explicit RunningSim(const QStringList& arguments);
    ~RunningSim();
    RunningSim(const RunningSim&) = delete;
    RunningSim& operator=(const RunningSim&) = delete;

    // The next line of its standard output without the newline; empty when none came in
    // a few seconds or the process ended.
    std::string nextLine();
    nlohmann::json nextEvent();
    qint64 pid() const { return m_process.processId(); }
    // Sends the signal and waits for the end: the exit code, -1 when it did not exit by itself.
    int stop(int signal);
    // Waits a few seconds for an end it reaches by itself; same result as stop.
    int waitForExit();

private:
    QProcess m_process;
};

} // namespace rovex::simtest
