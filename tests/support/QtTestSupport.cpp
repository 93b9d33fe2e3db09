#include "QtTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <stdexcept>

namespace rovex::test {

bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    QTimer tick; // so that done() is asked again even when nothing else happens
    tick.start(10ms);
    for (;;) {
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void runFor(std::chrono::milliseconds span)
{
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec();
}

int runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(10000))
        throw std::runtime_error("peer did not start: " + program.toStdString());
}

ChildProcess::~ChildProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

QByteArray ChildProcess::nextLine(std::chrono::milliseconds limit)
{
    if (!runUntil([this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; }, limit)
        || !m_process.canReadLine())
        return {};
    return m_process.readLine().chopped(1);
}

QByteArray ChildProcess::lineContaining(const QByteArray& text, std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    while (!deadline.hasExpired()) {
        const QByteArray line = nextLine(std::chrono::milliseconds(deadline.remainingTime()));
        if (line.contains(text))
            return line;
        if (m_process.state() == QProcess::NotRunning && !m_process.canReadLine())
            break;
    }
    return {};
}

int ChildProcess::stop(int signal)
{
    ::kill(static_cast<pid_t>(m_process.processId()), signal);
    return waitForExit();
}

int ChildProcess::waitForExit()
{
    if (!m_process.waitForFinished(5000) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

} // namespace rovex::test
