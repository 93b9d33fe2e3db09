#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rovex {

// Which of a child's streams are kept. The streams not kept go straight to the null
// device, so a child can never wait on a pipe that nobody reads.
enum class CapturedStreams { Both, OutputOnly, None };

// A child process run to its end.
struct ProcessRun final {
    bool started = false;
    // Ended by itself with exit status 0.
    bool succeeded = false;
    // The kept streams, interleaved as written when both are kept.
    QByteArray captured;
};

// Starts the program with the arguments as an argument list (no shell sees them), standard
// input on the null device so a child that reads it ends instead of waiting, and blocks
// until the child ends, reading its output while it runs.
ProcessRun runToEnd(const QString& program, const QStringList& arguments, CapturedStreams streams);

} // namespace rovex
