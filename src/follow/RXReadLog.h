#pragma once

#include "follow/FileFingerprint.h"
#include "follow/FollowFile.h"
#include "follow/FollowTiming.h"
#include "follow/RXObserveFileLogs.h"
#include "follow/RecentFiles.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>

namespace rovex {

// Follows the pf log: owns the open descriptors and what was read of each file, and hands
// every batch of appended bytes to its receivers as one chunk, on the main thread, in file
// order, each byte exactly once. Lines are not reassembled here.
//
//     RXReadLog reader(logPath);
//     connect(&reader, &RXReadLog::chunkRead, ...);
//     connect(&reader, &RXReadLog::fileEnded, ...);
//     reader.checklogfileandreadlog();
//
// A log that exists at the start is followed from its end; a file that appears later,
// after a rotation or in place of a missing log, is followed from its first byte. A log
// whose text changed under the read position (truncated, refilled) is followed again from
// its start. A rotated file is drained through its descriptor until it has been quiet for
// a while, beside the new log; a file that comes back under the log's name resumes where
// it was left.
class RXReadLog final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RXReadLog)

public:
    // Most bytes read and handed on in one turn of the event loop: about 1,500 lines, a
    // few milliseconds of counting even when the tables hold a million addresses, so that
    // the windows get their turn between slices.
    static constexpr off_t sliceBytes = off_t{256} << 10;

    explicit RXReadLog(const QString& path, const FollowTiming& timing = {}, QObject* parent = nullptr);
    ~RXReadLog() override;

    const QString& path() const { return m_watcher.pathfilelog(); }
    // Whether the log's file is open and read; false while the log is missing.
    bool isFollowing() const { return m_current.file.isOpen(); }

    // Starts following and returns at once; later calls do nothing.
    void checklogfileandreadlog();

public Q_SLOTS:
    // Reads on from the last offsets, at most one slice; called by the watch and the poll,
    // and again through the event loop while there is more to read.
    void readlog();

Q_SIGNALS:
    void chunkRead(const QByteArray& chunk);
    // A followed file was left (rotated away and quiet, or its text replaced): whatever
    // the receivers hold of an unfinished line is complete now.
    void fileEnded();

private:
    // A file being read: its descriptor, what was read of it, and whether the receivers
    // hold an unfinished line from it.
    struct Followed {
        FollowFile file;
        FileFingerprint read;
        bool lineOpen = false;
    };

    void followStep();
    bool readCurrent();
    bool openWhenPresent();
    FileFingerprint startingPoint(const FollowFile& file, const FollowFileStatus& opened);
    bool deliverSlice(Followed& from, off_t available, const Followed* beside);
    void restartCurrent(const FollowFileStatus& status);
    bool followName(const FollowFileStatus& followed);
    void startDraining();
    bool drainRotated();
    bool rotatedWentQuiet();
    void endRotated();
    void endText();
    void quietTick();
    void queueReading();
    void readQueued();

    RXObserveFileLogs m_watcher;
    std::string m_nativePath;
    // The file the log's name leads to.
    Followed m_current;
    // The file the name led to before a rotation, while the firewall may still write to it.
    std::optional<Followed> m_rotated;
    // The rotated file's size at the last tick of m_quiet: unchanged over a tick is quiet.
    off_t m_rotatedSize = 0;
    QTimer m_quiet;
    RecentFiles m_recent;
    // The log as it was at the start, while it could not be opened yet: its text then
    // is old traffic even if it becomes readable later.
    std::optional<FollowFileStatus> m_startMark;
    bool m_started = false;
    bool m_reading = false;
    bool m_readAgain = false;
    bool m_readingQueued = false;
    bool m_quietTick = false;
};

} // namespace rovex
