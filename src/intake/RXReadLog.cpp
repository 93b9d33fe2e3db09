#include "intake/RXReadLog.h"

#include <QFile>
#include <QMetaObject>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace rovex {

RXReadLog::RXReadLog(const QString& path, QObject* parent)
    : QObject(parent)
    , m_watcher(path)
    , m_nativePath(QFile::encodeName(path).toStdString())
{
    connect(&m_watcher, &RXObserveFileLogs::logMayHaveChanged, this, &RXReadLog::readlog);
}

RXReadLog::~RXReadLog() = default;

void RXReadLog::checklogfileandreadlog()
{
    if (m_started)
        return;
    m_started = true;
    // Watch first, then look: a write after the look is then always seen by the watch.
    m_watcher.addDispatch();
    const FollowPathLookup found = FollowPathLookup::of(m_nativePath);
    if (found.outcome == FollowPathLookup::Outcome::Found && found.status.regular)
        m_startMark = found.status;
    openWhenPresent();
    queueReading();
}

void RXReadLog::readlog()
{
    if (!m_started)
        return;
    if (m_reading) {
        // A receiver runs the event loop inside a chunk: go on once it returns, in order.
        m_readAgain = true;
        return;
    }
    {
        const QScopedValueRollback<bool> reading(m_reading, true);
        followStep();
    }
    if (std::exchange(m_readAgain, false))
        queueReading();
}

// One step: a slice of what is new, or, once everything is read, the check whether the
// path still names the followed file.
void RXReadLog::followStep()
{
    if (!m_file.isOpen() && !openWhenPresent())
        return;
    FollowFileStatus followed;
    if (!m_file.status(followed))
        return;
    if (followed.size < m_offset) {
        Q_EMIT fileEnded();
        m_offset = 0;
    }
    if (m_offset < followed.size) {
        // A failed read waits for the next event or poll rather than spinning.
        if (deliverSlice(std::min(followed.size - m_offset, sliceBytes)))
            queueReading();
        return;
    }
    if (pathNamesFollowedFile(followed))
        return;
    leaveFollowedFile();
    if (openWhenPresent())
        queueReading();
}

bool RXReadLog::openWhenPresent()
{
    FollowFile file = FollowFile::open(m_nativePath);
    FollowFileStatus opened;
    if (!file.status(opened))
        return false;
    m_offset = 0;
    if (m_startMark && m_startMark->sameFileAs(opened) && m_startMark->size <= opened.size)
        m_offset = m_startMark->size;
    m_startMark.reset();
    m_file = std::move(file);
    return true;
}

bool RXReadLog::deliverSlice(off_t size)
{
    QByteArray chunk(static_cast<qsizetype>(size), Qt::Uninitialized);
    const std::size_t got = m_file.readAt(chunk.data(), static_cast<std::size_t>(size), m_offset);
    if (got == 0)
        return false;
    chunk.truncate(static_cast<qsizetype>(got));
    m_offset += static_cast<off_t>(got);
    Q_EMIT chunkRead(chunk);
    return true;
}

bool RXReadLog::pathNamesFollowedFile(const FollowFileStatus& followed) const
{
    const FollowPathLookup found = FollowPathLookup::of(m_nativePath);
    switch (found.outcome) {
    case FollowPathLookup::Outcome::Found:
        return found.status.sameFileAs(followed);
    case FollowPathLookup::Outcome::Missing:
        return false;
    case FollowPathLookup::Outcome::Unknown:
        break;
    }
    return true;
}

void RXReadLog::leaveFollowedFile()
{
    Q_EMIT fileEnded();
    m_file.close();
    m_offset = 0;
}

// The next step goes through the event loop, so that a long read never holds it.
void RXReadLog::queueReading()
{
    if (m_readingQueued)
        return;
    m_readingQueued = true;
    QMetaObject::invokeMethod(this, &RXReadLog::readQueued, Qt::QueuedConnection);
}

void RXReadLog::readQueued()
{
    m_readingQueued = false;
    readlog();
}

} // namespace rovex
