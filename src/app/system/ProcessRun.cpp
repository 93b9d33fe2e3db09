#include "app/system/ProcessRun.h"

#include <QProcess>

namespace rovex {

namespace {

void routeStreams(QProcess& process, CapturedStreams streams)
{
    process.setStandardInputFile(QProcess::nullDevice());
    switch (streams) {
    case CapturedStreams::Both:
        // One pipe for both streams keeps the child's own order of writes.
        process.setProcessChannelMode(QProcess::MergedChannels);
        break;
    case CapturedStreams::OutputOnly: process.setStandardErrorFile(QProcess::nullDevice()); break;
    case CapturedStreams::None:
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        break;
    }
}

} // namespace

ProcessRun runToEnd(const QString& program, const QStringList& arguments, CapturedStreams streams)
{
    QProcess process;
    routeStreams(process, streams);
    process.start(program, arguments);
    ProcessRun run;
    if (!process.waitForStarted(-1))
        return run;
    run.started = true;
    // The wait reads the pipe into the process's buffer as data arrives, so a child with
    // megabytes to say never blocks on a full pipe.
    process.waitForFinished(-1);
    run.captured = process.readAllStandardOutput();
    run.succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return run;
}

} // namespace rovex
