#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

class QSocketNotifier;

namespace rovex {

// Watches the followed log for anything that may call for a read: the file written,
// changed, deleted or renamed, and its name created, moved in or removed in its folder.
// The watch is one inotify descriptor read on the main thread; a poll (once a second in the
// application) covers the times when the file or its folder is missing (nothing to watch
// yet), a file the process may not read (inotify refuses it), any event lost by the
// kernel, and a rotated file still being drained (its watch went to the new log). The
// watcher never reads the log: it only tells the reader to look.
class RXObserveFileLogs final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RXObserveFileLogs)

public:
    // gather: how long the watch rests after an event before it reads the events and tells,
    // so that a log written line by line wakes the application ten times a second
    // rather than at every line (zero tells at once).
    RXObserveFileLogs(const QString& pathfilelog, std::chrono::milliseconds pollInterval,
                      std::chrono::milliseconds gather = {}, QObject* parent = nullptr);
    ~RXObserveFileLogs() override;

    const QString& pathfilelog() const { return m_pathfilelog; }

    // Starts the watch and the poll; later calls only re-aim the watches at what the
    // path names now.
    void addDispatch();

Q_SIGNALS:
    // Something may have happened to the log; the reader finds out what.
    void logMayHaveChanged();

private:
    void eventsWaiting();
    void readEvents();
    bool concernsLog(int watch, std::uint32_t mask, const char* name, std::size_t nameLength);
    void armWatches();
    int rearm(int previous, const QByteArray& path, std::uint32_t mask, int other);
    void poll();

    QString m_pathfilelog;
    QByteArray m_nativePath;
    QByteArray m_folder;
    QByteArray m_name;
    int m_inotify = -1;
    int m_fileWatch = -1;
    int m_folderWatch = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_poll;
    QTimer m_gather;
    bool m_rearm = false; // an event other than a write to the log: the watches may aim wrong
};

} // namespace rovex
