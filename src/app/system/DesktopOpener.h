#pragma once

#include <QObject>
#include <QString>

namespace rovex {

// Opens a file in the viewer the desktop chose for it (xdg-open), without blocking, and
// tells when that failed: xdg-open reports a missing viewer or an unknown file type only
// through its exit status and its error output, which would otherwise go to a terminal
// nobody reads.
class DesktopOpener final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopOpener)

public:
    explicit DesktopOpener(QString program = QStringLiteral("xdg-open"), QObject* parent = nullptr);
    ~DesktopOpener() override;

    // The path reaches the opener as one argument; no shell sees it.
    void open(const QString& path);

Q_SIGNALS:
    // One sentence saying what failed, for an alert.
    void failed(const QString& reason);

private:
    QString m_program;
};

} // namespace rovex
