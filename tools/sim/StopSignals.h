#pragma once

#include "sim/UniqueFd.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace rovex {

// SIGINT and SIGTERM as an event of the Qt loop: both are blocked and read from a
// signalfd, so no handler runs in the middle of a bus call. Make it before any thread is
// started (the session bus starts one), so that every thread inherits the blocked mask.
// They stay blocked afterwards: the process is on its way out, and a second signal must
// not cut its exit short.
class StopSignals final {
public:
    // Quits the application's loop when either signal arrives.
    explicit StopSignals(QObject& application);
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    UniqueFd m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace rovex
