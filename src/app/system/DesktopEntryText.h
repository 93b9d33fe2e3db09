#pragma once

#include <QString>

namespace rovex {

// The text of an XDG desktop entry that starts the program (its path, no arguments) at
// login, with the icon "rovex-logs-visualizer".
QString autostartEntryText(const QString& executable);

// One argument of an Exec key as written in the file: put in double quotes when it holds a
// reserved character, with ", `, $ and \ escaped inside the quotes, % doubled so it is not
// read as a field code, and then the escapes of every string value applied (\ doubled, line
// breaks and tabs written as \n, \t, \r).
QString desktopExecArgument(const QString& argument);

} // namespace rovex
