#include "app/system/LoginItem.h"

#include "app/system/DesktopEntryText.h"

#include <QDir>
#include <QSaveFile>
#include <QtGlobal>

namespace rovex {

namespace {

bool failed(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString autostartFolder()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base = QDir::isAbsolutePath(configHome) ? configHome : QDir::homePath() + u"/.config";
    return QDir::cleanPath(base + u"/autostart");
}

bool addLoginItem(const QString& folder, const QString& executable, QString* error)
{
    if (executable.isEmpty())
        return failed(error, QStringLiteral("No program to start at login was given."));
    if (!QDir().mkpath(folder)) {
        const QString shown = QDir::toNativeSeparators(folder);
        return failed(error, QStringLiteral("Cannot create the folder %1.").arg(shown));
    }
    QSaveFile entry(QDir(folder).filePath(QStringLiteral("rovex-logs-visualizer.desktop")));
    const QString path = QDir::toNativeSeparators(entry.fileName());
    if (!entry.open(QIODevice::WriteOnly))
        return failed(error, QStringLiteral("Cannot write %1: %2").arg(path, entry.errorString()));
    entry.write(autostartEntryText(executable).toUtf8());
    if (!entry.commit())
        return failed(error, QStringLiteral("Cannot write %1: %2").arg(path, entry.errorString()));
    return true;
}

} // namespace rovex
