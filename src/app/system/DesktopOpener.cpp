#include "app/system/DesktopOpener.h"

#include <QProcess>

namespace rovex {
namespace {

constexpr qsizetype errorTextLimit = 300; // what an alert shows of the opener's complaint

QString complaintOf(QProcess& process)
{
    QString text = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (text.size() > errorTextLimit)
        text = text.left(errorTextLimit) + QStringLiteral("…");
    return text;
}

} // namespace

DesktopOpener::DesktopOpener(QString program, QObject* parent) : QObject(parent), m_program(std::move(program)) {}

// An opener still running when the application ends is stopped; the viewer it started
// runs on, as a process of its own.
DesktopOpener::~DesktopOpener() = default;

void DesktopOpener::open(const QString& path)
{
    auto* process = new QProcess(this); // owned by the opener; deleted once it ended
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    const QString program = m_program;
    connect(process, &QProcess::errorOccurred, this, [this, process, program](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        Q_EMIT failed(QStringLiteral("%1 could not be started: %2").arg(program, process->errorString()));
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this,
            [this, process, program, path](int exitCode, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || exitCode != 0) {
                    QString reason = status == QProcess::NormalExit
                        ? QStringLiteral("%1 could not open %2 (exit status %3)").arg(program, path).arg(exitCode)
                        : QStringLiteral("%1 stopped before it opened %2").arg(program, path);
                    if (const QString complaint = complaintOf(*process); !complaint.isEmpty())
                        reason += QStringLiteral(": ") + complaint;
                    Q_EMIT failed(reason);
                }
                process->deleteLater();
            });
    process->start(m_program, {path});
}

} // namespace rovex
