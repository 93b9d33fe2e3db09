#include "BusTestSupport.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <utility>

namespace rovex::test {

namespace {

const QString serverName = QStringLiteral("org.freedesktop.Notifications");

} // namespace

void settle(const QDBusConnection& connection)
{
    connection.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    QCoreApplication::processEvents();
}

StdoutCapture::StdoutCapture() { testing::internal::CaptureStdout(); }

StdoutCapture::~StdoutCapture() { take(); }

std::string StdoutCapture::take()
{
    if (!std::exchange(m_capturing, false))
        return {};
    std::fflush(stdout);
    std::cout.flush();
    return testing::internal::GetCapturedStdout();
}

RecorderProcess::RecorderProcess(const QStringList& arguments)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] { readLines(); });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(ROVEX_BINARY_DIR "/tests/app/bus/notification-recorder"), arguments);
}

RecorderProcess::~RecorderProcess() { stop(); }

bool RecorderProcess::ready()
{
    return waitFor([](const RecorderProcess& recorder) {
        return !recorder.lines().empty()
            && recorder.lines().front().value(QStringLiteral("event")) == QStringLiteral("ready");
    });
}

void RecorderProcess::sendSignal(int signalNumber) const
{
    ::kill(static_cast<pid_t>(m_process.processId()), signalNumber);
}

void RecorderProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished(10000);
    const QDBusConnection bus = QDBusConnection::sessionBus();
    runUntil([&bus] { return !bus.interface()->isServiceRegistered(serverName); });
}

std::vector<QJsonObject> RecorderProcess::calls(const QString& method) const
{
    std::vector<QJsonObject> found;
    std::copy_if(m_lines.cbegin(), m_lines.cend(), std::back_inserter(found),
                 [&method](const QJsonObject& line) { return line.value(QStringLiteral("call")) == method; });
    return found;
}

bool RecorderProcess::waitFor(const std::function<bool(const RecorderProcess&)>& done)
{
    return runUntil([this, &done] { return done(*this); });
}

void RecorderProcess::readLines()
{
    while (m_process.canReadLine())
        m_lines.push_back(QJsonDocument::fromJson(m_process.readLine()).object());
}

} // namespace rovex::test
