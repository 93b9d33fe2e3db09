#include "follow/RXObserveFileLogs.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace rovex {

namespace {

constexpr std::uint32_t fileMask = IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
// The folder's own removal or move is watched too: its watch must be aimed anew then.
constexpr std::uint32_t folderMask = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF
    | IN_ONLYDIR;

} // namespace

RXObserveFileLogs::RXObserveFileLogs(const QString& pathfilelog, std::chrono::milliseconds pollInterval,
                                     std::chrono::milliseconds gather, QObject* parent)
    : QObject(parent), m_pathfilelog(pathfilelog), m_nativePath(QFile::encodeName(pathfilelog))
{
    const QFileInfo info(pathfilelog);
    m_folder = QFile::encodeName(info.absolutePath());
    m_name = QFile::encodeName(info.fileName());
    m_poll.setInterval(pollInterval);
    connect(&m_poll, &QTimer::timeout, this, &RXObserveFileLogs::poll);
    m_gather.setSingleShot(true);
    m_gather.setInterval(gather);
    connect(&m_gather, &QTimer::timeout, this, &RXObserveFileLogs::readEvents);
}

RXObserveFileLogs::~RXObserveFileLogs()
{
    m_notifier.reset();
    if (m_inotify >= 0)
        ::close(m_inotify);
}

void RXObserveFileLogs::addDispatch()
{
    if (m_inotify < 0) {
        // Without inotify (the user's instance limit reached) the poll alone keeps following.
        m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_inotify >= 0) {
            m_notifier = std::make_unique<QSocketNotifier>(m_inotify, QSocketNotifier::Read);
            connect(m_notifier.get(), &QSocketNotifier::activated, this, &RXObserveFileLogs::eventsWaiting);
        }
    }
    armWatches();
    if (!m_poll.isActive())
        m_poll.start();
}

// The descriptor stays unheard while the events gather; the read takes them all at once.
void RXObserveFileLogs::eventsWaiting()
{
    if (m_gather.interval() == 0) {
        readEvents();
        return;
    }
    m_notifier->setEnabled(false);
    m_gather.start();
}

void RXObserveFileLogs::readEvents()
{
    m_notifier->setEnabled(true);
    alignas(inotify_event) std::array<char, std::size_t{16} * 1024> buffer{};
    bool relevant = false;
    for (;;) {
        const ssize_t got = ::read(m_inotify, buffer.data(), buffer.size());
        if (got <= 0)
            break;
        const auto length = static_cast<std::size_t>(got);
        for (std::size_t at = 0; at + sizeof(inotify_event) <= length;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            const std::size_t nameLength = ::strnlen(name,
                                                     std::min<std::size_t>(event.len, length - at - sizeof event));
            relevant = concernsLog(event.wd, event.mask, name, nameLength) || relevant;
            at += sizeof event + event.len;
        }
    }
    if (!relevant)
        return;
    if (std::exchange(m_rearm, false))
        armWatches();
    Q_EMIT logMayHaveChanged();
}

bool RXObserveFileLogs::concernsLog(int watch, std::uint32_t mask, const char* name, std::size_t nameLength)
{
    if (mask & IN_Q_OVERFLOW) {
        m_rearm = true;
        return true;
    }
    if (mask & IN_IGNORED) {
        m_rearm = true;
        // The kernel dropped the watch (its file or folder is gone): aim it again later.
        if (watch == m_fileWatch)
            m_fileWatch = -1;
        if (watch == m_folderWatch)
            m_folderWatch = -1;
        return true;
    }
    if (watch == m_fileWatch) {
        m_rearm = m_rearm || (mask & ~std::uint32_t{IN_MODIFY}) != 0;
        return true;
    }
    if (watch != m_folderWatch)
        return false;
    const bool concerns = (mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0
        || QByteArrayView(name, static_cast<qsizetype>(nameLength)) == m_name;
    m_rearm = m_rearm || concerns;
    return concerns;
}

void RXObserveFileLogs::armWatches()
{
    if (m_inotify < 0)
        return;
    m_folderWatch = rearm(m_folderWatch, m_folder, folderMask, m_fileWatch);
    m_fileWatch = rearm(m_fileWatch, m_nativePath, fileMask, m_folderWatch);
}

// Aims a watch at what path names now; the watch of a file that was rotated away is
// dropped, so that only the followed name is watched. The kernel hands out one watch per
// inode, so the other watch is never dropped even in the odd case that both share it.
int RXObserveFileLogs::rearm(int previous, const QByteArray& path, std::uint32_t mask, int other)
{
    const int watch = ::inotify_add_watch(m_inotify, path.constData(), mask);
    if (previous >= 0 && previous != watch && previous != other)
        ::inotify_rm_watch(m_inotify, previous);
    return watch;
}

void RXObserveFileLogs::poll()
{
    armWatches();
    Q_EMIT logMayHaveChanged();
}

} // namespace rovex
