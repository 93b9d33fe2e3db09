#pragma once

#include <QString>
#include <QStringList>

namespace rovex {

enum class OutputDecoding { Utf8, Ascii };

// Runs the program with the arguments to its end and returns everything it printed on
// both streams, interleaved as written. The exit status is not looked at: a program that
// fails or crashes still gives what it printed. Empty text when the program cannot start
// or prints nothing. Blocks the caller until the program ends; standard input is the null
// device.
//
// The arguments reach the program as they stand, one by one: no shell reads them. Callers
// that need a pipeline pass "/bin/sh", "-c" and a command line they built themselves.
//
// Utf8: the output as UTF-8, or empty text when it is not valid UTF-8 (a byte order mark
// at the start is kept as U+FEFF). Ascii, the copy used for the whois tool and the service
// table: every ASCII byte is its character and every byte outside ASCII becomes one
// U+FFFD, so the readable part of the output and its lines survive an odd byte.
QString eseguiShellCommand(const QString& executable, const QStringList& argomenti,
                           OutputDecoding decoding = OutputDecoding::Utf8);

} // namespace rovex
