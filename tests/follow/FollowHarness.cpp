#include "FollowHarness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace rovex::test {
namespace {

constexpr const char* writerScript = R"(
import os, sys, time
log = sys.argv[1]
os.makedirs(os.path.dirname(log), exist_ok=True)
def append(data, step=1 << 30):
    fd = os.open(log, os.O_WRONLY | os.O_APPEND | os.O_CREAT, 0o644)
    for at in range(0, len(data), step):
        os.write(fd, data[at:at + step])
        if at % 1000 == 0:
            time.sleep(0.002)
    os.close(fd)
line = b'Dec  6 07:49:%02d rule 7/0(match): block in on en0: 10.0.%d.%d.51234 > 192.168.1.2.%d: tcp\n'
steps = {
    'append': lambda text: append(text.encode()),
    'drip': lambda text: append(text.encode(), 5),
    'large': lambda text: append(b''.join(line % (i % 60, i % 256, i // 256 % 256, i % 65536) for i in range(120000))),
    'truncate': lambda text: os.truncate(log, 0),
    'remove': lambda text: os.unlink(log),
}
for step in sys.argv[2:]:
    verb, _, text = step.partition(':')
    steps[verb](text)
)";

} // namespace

bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    // Wakes the wait below now and then, so that done() is looked at even in a quiet loop.
    QTimer waker;
    waker.start(std::chrono::milliseconds(20));
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

LogWriter::LogWriter(const QString& log, const std::vector<std::string>& steps)
{
    QStringList arguments{QStringLiteral("-c"), QString::fromUtf8(writerScript), log};
    for (const std::string& step : steps)
        arguments.append(QString::fromStdString(step));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("python3"), arguments);
}

bool LogWriter::succeeded() const
{
    return m_process.state() == QProcess::NotRunning && m_process.error() == QProcess::UnknownError
        && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

void LogWriter::finishWhileReaderIsBusy() { m_process.waitForFinished(30000); }

std::string LogWriter::report()
{
    return "writer exit " + std::to_string(m_process.exitCode()) + ": " + m_process.readAll().toStdString();
}

} // namespace rovex::test
