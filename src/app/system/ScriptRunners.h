#pragma once

#include <QString>

namespace rovex {

// Shell scripts run through "/bin/sh -c", blocking the caller until they end. The command
// is handed to the shell as one argument, exactly as given: no quoting or escape inside it
// is rewritten on the way.
//
// A script's result text is what it wrote on standard output, decoded as UTF-8 (a byte
// that is not UTF-8 becomes U+FFFD), with one trailing line break removed, so that
// "echo ok" gives "ok". Standard error is discarded and standard input is the null device.

// The result text; empty text when the command fails (exit status other than 0, or killed
// by a signal); "Please retry." when the shell cannot be started.
QString doShellScript(const QString& command);

// The command run as "pkexec /bin/sh -c COMMAND", so the desktop asks for an administrator's
// password. The result text; "ERROR" when pkexec is missing or cannot start, when the user
// cancels or is refused, or when the command fails.
QString doScriptWithAdmin(const QString& command);

// Runs the text as a shell script to its end; its output, result and errors are ignored.
void doPureAppleScript(const QString& source);

} // namespace rovex
