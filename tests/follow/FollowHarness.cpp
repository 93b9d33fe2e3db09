#include "FollowHarness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <numeric>

namespace rovex::test {

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

FollowRecorder::FollowRecorder(RXReadLog& reader)
{
    QObject::connect(&reader, &RXReadLog::chunkRead, &m_context, [this](const QByteArray& chunk) {
        m_segments.back().append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
        m_chunkSizes.push_back(static_cast<std::size_t>(chunk.size()));
    });
    QObject::connect(&reader, &RXReadLog::fileEnded, &m_context, [this] { m_segments.emplace_back(); });
}

std::size_t FollowRecorder::deliveredBytes() const
{
    return std::accumulate(m_chunkSizes.begin(), m_chunkSizes.end(), std::size_t {0});
}

LogWriter::LogWriter(const char* script, const QStringList& args)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("python3"), QStringList {QStringLiteral("-c"), QString::fromUtf8(script)} + args);
}

LogWriter::~LogWriter()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool LogWriter::succeeded() const
{
    return m_process.state() == QProcess::NotRunning && m_process.error() == QProcess::UnknownError
        && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

void LogWriter::finishWhileReaderIsBusy()
{
    m_process.waitForFinished(30000);
}

std::string LogWriter::report()
{
    return "writer exit " + std::to_string(m_process.exitCode()) + ": " + m_process.readAll().toStdString();
}

} // namespace rovex::test
