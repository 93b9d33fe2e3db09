#pragma once

#include "intake/FollowFile.h"
#include "intake/RXObserveFileLogs.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>
#include <string>

namespace rovex {

// Follows the pf log: owns the open descriptor and the read offset, and hands every batch
// of appended bytes to its receivers as one chunk, on the main thread, in file order,
// each byte exactly once. Lines are not reassembled here.
//
//     RXReadLog reader(logPath);
//     connect(&reader, &RXReadLog::chunkRead, ...);
//     connect(&reader, &RXReadLog::fileEnded, ...);
//     reader.checklogfileandreadlog();
//
// A log that exists at the start is followed from its end; a file that appears later,
// after a rotation or in place of a missing log, is followed from its first byte. A log
// truncated in place is followed again from its start.
class RXReadLog final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RXReadLog)

public:
    // Most bytes read and handed on in one turn of the event loop.
    static constexpr off_t sliceBytes = off_t {1} << 20;

    explicit RXReadLog(const QString& path, QObject* parent = nullptr);
    ~RXReadLog() override;

    const QString& path() const { return m_watcher.pathfilelog(); }

    // Starts following and returns at once; later calls do nothing.
    void checklogfileandreadlog();

public Q_SLOTS:
    // Reads on from the last offset, at most one slice; called by the watch and the poll,
    // and again through the event loop while there is more to read.
    void readlog();

Q_SIGNALS:
    void chunkRead(const QByteArray& chunk);
    // The followed file was left (rotated away or truncated): whatever the receivers hold
    // of an unfinished line is complete now.
    void fileEnded();

private:
    void followStep();
    bool openWhenPresent();
    bool deliverSlice(off_t size);
    bool pathNamesFollowedFile(const FollowFileStatus& followed) const;
    void leaveFollowedFile();
    void queueReading();
    void readQueued();

    RXObserveFileLogs m_watcher;
    std::string m_nativePath;
    FollowFile m_file;
    off_t m_offset = 0;
    // The log as it was at the start, while it could not be opened yet: its text then
    // is old traffic even if it becomes readable later.
    std::optional<FollowFileStatus> m_startMark;
    bool m_started = false;
    bool m_reading = false;
    bool m_readAgain = false;
    bool m_readingQueued = false;
};

} // namespace rovex
