#include "sim/StopSignals.h"

#include <QCoreApplication>

#include <csignal>
#include <sys/signalfd.h>
#include <system_error>
#include <unistd.h>

namespace rovex {

namespace {

sigset_t stopSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

StopSignals::StopSignals(QObject& application)
{
    const sigset_t set = stopSet();
    if (const int failed = pthread_sigmask(SIG_BLOCK, &set, nullptr); failed != 0)
        throw std::system_error(failed, std::generic_category(), "blocking SIGINT and SIGTERM");
    m_fd = UniqueFd(signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!m_fd.isOpen())
        throw std::system_error(errno, std::generic_category(), "signalfd");
    m_notifier = std::make_unique<QSocketNotifier>(m_fd.get(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &application, [this] {
        signalfd_siginfo info{};
        while (::read(m_fd.get(), &info, sizeof info) > 0) {
        }
        QCoreApplication::quit();
    });
}

} // namespace rovex
