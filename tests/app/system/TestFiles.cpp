#include "TestFiles.h"

#include "FileEvents.h"

#include <QFile>
#include <QFileInfo>

#include <sys/inotify.h>

namespace rovex::test {

bool writeExecutable(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return false;
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool waitForFile(const QString& path, std::chrono::milliseconds limit)
{
    // The folder's events: a file created there or moved in under its name.
    FileEvents events;
    const QFileInfo file(path);
    if (!events.watch(QFile::encodeName(file.absolutePath()).toStdString(), IN_CREATE | IN_MOVED_TO))
        return false;
    return events.waitUntil([&path] { return QFile::exists(path); }, limit);
}

} // namespace rovex::test
