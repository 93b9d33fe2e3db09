#include "app/system/ScriptRunners.h"

#include "app/system/ProcessRun.h"

#include <QByteArray>
#include <QStandardPaths>
#include <QStringList>

namespace rovex {

namespace {

QString shell() { return QStringLiteral("/bin/sh"); }

QStringList shellArguments(const QString& command) { return {QStringLiteral("-c"), command}; }

QString resultText(QByteArray output)
{
    if (output.endsWith('\n'))
        output.chop(1);
    return QString::fromUtf8(output);
}

} // namespace

QString doShellScript(const QString& command)
{
    const ProcessRun run = runToEnd(shell(), shellArguments(command), CapturedStreams::OutputOnly);
    if (!run.started)
        return QStringLiteral("Please retry.");
    return run.succeeded ? resultText(run.captured) : QString();
}

QString doScriptWithAdmin(const QString& command)
{
    const QString error = QStringLiteral("ERROR");
    const QString pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    if (pkexec.isEmpty())
        return error;
    // pkexec itself ends with 126 or 127 when the user cancels or is refused.
    const QStringList arguments = QStringList{shell()} + shellArguments(command);
    const ProcessRun run = runToEnd(pkexec, arguments, CapturedStreams::OutputOnly);
    return run.succeeded ? resultText(run.captured) : error;
}

void doPureAppleScript(const QString& source) { runToEnd(shell(), shellArguments(source), CapturedStreams::None); }

} // namespace rovex
