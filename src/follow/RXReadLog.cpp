#include "follow/RXReadLog.h"

#include <QFile>
#include <QMetaObject>
#include <QScopedValueRollback>

#include <algorithm>
#include <string_view>
#include <utility>

namespace rovex {

namespace {

// While two files are read, a chunk ends at a line end so that their lines never mix in
// the receivers; false when not one whole line is there yet. A line longer than a slice
// goes out as it is.
bool cutAtLineEnd(QByteArray& chunk)
{
    const qsizetype end = chunk.lastIndexOf('\n');
    if (end < 0)
        return chunk.size() >= RXReadLog::sliceBytes;
    chunk.truncate(end + 1);
    return true;
}

} // namespace

RXReadLog::RXReadLog(const QString& path, const FollowTiming& timing, QObject* parent)
    : QObject(parent), m_watcher(path, timing.poll, timing.gather), m_nativePath(QFile::encodeName(path).toStdString())
{
    connect(&m_watcher, &RXObserveFileLogs::logMayHaveChanged, this, &RXReadLog::readlog);
    m_quiet.setInterval(timing.rotatedQuiet);
    connect(&m_quiet, &QTimer::timeout, this, &RXReadLog::quietTick);
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

// One step: a slice of what is new in the rotated file and in the log, or, once the log is
// read, the check whether its name still leads to the followed file.
void RXReadLog::followStep()
{
    if (std::exchange(m_quietTick, false) && m_rotated && rotatedWentQuiet())
        endRotated();
    const bool drained = m_rotated && drainRotated();
    if (readCurrent() || drained)
        queueReading();
}

// True when there is more to read at once.
bool RXReadLog::readCurrent()
{
    if (!m_current.file.isOpen() && !openWhenPresent())
        return false;
    FollowFileStatus followed;
    if (!m_current.file.status(followed))
        return false;
    if (!m_current.read.heldBy(m_current.file, followed.size))
        restartCurrent(followed);
    const off_t position = m_current.read.position();
    if (position < followed.size) {
        // A failed read waits for the next event or poll rather than spinning.
        if (!deliverSlice(m_current, followed.size - position, m_rotated ? &*m_rotated : nullptr))
            return false;
        // Read to the size seen: the name is looked at now rather than in another turn, so
        // that a log growing line by line is read once per gathered event, not once per line.
        if (m_current.read.position() < followed.size)
            return true;
    }
    return followName(followed);
}

bool RXReadLog::openWhenPresent()
{
    FollowFile file = FollowFile::open(m_nativePath);
    FollowFileStatus opened;
    if (!file.status(opened))
        return false;
    if (m_rotated && m_rotated->read.sameIdentity(opened)) {
        // The rotated file came back under the log's name: it is the log again.
        m_current = std::move(*m_rotated);
        m_rotated.reset();
        m_quiet.stop();
        return true;
    }
    FileFingerprint start = startingPoint(file, opened);
    m_current = Followed{std::move(file), std::move(start)};
    return true;
}

FileFingerprint RXReadLog::startingPoint(const FollowFile& file, const FollowFileStatus& opened)
{
    const std::optional<FollowFileStatus> mark = std::exchange(m_startMark, std::nullopt);
    if (mark && mark->sameFileAs(opened) && mark->size <= opened.size)
        return FileFingerprint::of(file, opened, mark->size);
    // The file being drained may be the one that now comes back with the same text (sed -i).
    if (m_rotated)
        m_recent.remember(m_rotated->read);
    return m_recent.resumeFor(file, opened);
}

// Hands on the next slice of from; beside is the other file read at the same time, if any.
bool RXReadLog::deliverSlice(Followed& from, off_t available, const Followed* beside)
{
    // The receivers finish the other file's line first.
    if (beside && beside->lineOpen)
        return false;
    const off_t size = std::min(available, sliceBytes);
    QByteArray chunk(static_cast<qsizetype>(size), Qt::Uninitialized);
    const std::size_t got = from.file.readAt(chunk.data(), static_cast<std::size_t>(size), from.read.position());
    chunk.truncate(static_cast<qsizetype>(got));
    if (got == 0 || (beside && beside->file.isOpen() && !cutAtLineEnd(chunk)))
        return false;
    from.read.advance(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
    from.lineOpen = !chunk.endsWith('\n');
    Q_EMIT chunkRead(chunk);
    return true;
}

// The text under the read position was replaced (truncated, refilled): all of it is new.
void RXReadLog::restartCurrent(const FollowFileStatus& status)
{
    // Beside a rotated file only whole lines of the log were handed on: nothing to end.
    if (!m_rotated || m_current.lineOpen)
        endText();
    m_current.read = FileFingerprint(status);
}

// True when another file is to be read at once.
bool RXReadLog::followName(const FollowFileStatus& followed)
{
    using Outcome = FollowPathLookup::Outcome;
    const FollowPathLookup found = FollowPathLookup::of(m_nativePath);
    if (found.outcome == Outcome::Unknown || (found.outcome == Outcome::Found && found.status.sameFileAs(followed)))
        return false;
    if (m_rotated && found.outcome == Outcome::Found && m_rotated->read.sameIdentity(found.status)) {
        // Swapped back (a symlink, a move): the rotated file is the log again, the other drains.
        std::swap(m_current, *m_rotated);
        startDraining();
        return true;
    }
    // One rotated file drains at a time; the name is looked at again once it is given up.
    if (m_rotated)
        return false;
    m_rotated = std::exchange(m_current, {});
    startDraining();
    return openWhenPresent();
}

void RXReadLog::startDraining()
{
    FollowFileStatus status;
    m_rotatedSize = m_rotated->file.status(status) ? status.size : 0;
    m_quiet.start();
}

bool RXReadLog::drainRotated()
{
    FollowFileStatus status;
    const off_t position = m_rotated->read.position();
    if (!m_rotated->file.status(status) || status.size <= position)
        return false;
    return deliverSlice(*m_rotated, status.size - position, &m_current);
}

// Quiet: the rotated file did not grow since the last tick. The log's unfinished line is
// awaited first, so that the rotated file's last piece cannot land inside it.
bool RXReadLog::rotatedWentQuiet()
{
    FollowFileStatus status;
    const off_t size = m_rotated->file.status(status) ? status.size : m_rotatedSize;
    return std::exchange(m_rotatedSize, size) == size && !m_current.lineOpen;
}

void RXReadLog::endRotated()
{
    // What is left is at most the last piece of a line, held back while two files were read.
    for (FollowFileStatus status; m_rotated->file.status(status) && m_rotated->read.position() < status.size;) {
        if (!deliverSlice(*m_rotated, status.size - m_rotated->read.position(), nullptr))
            break;
    }
    endText();
    m_recent.remember(m_rotated->read);
    m_rotated.reset();
    m_quiet.stop();
}

void RXReadLog::endText()
{
    Q_EMIT fileEnded();
    m_current.lineOpen = false;
    if (m_rotated)
        m_rotated->lineOpen = false;
}

void RXReadLog::quietTick()
{
    m_quietTick = true;
    readlog();
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
