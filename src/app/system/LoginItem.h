#pragma once

#include <QString>

namespace rovex {

// Where the autostart entry goes: $XDG_CONFIG_HOME/autostart, else ~/.config/autostart.
// A relative XDG_CONFIG_HOME is not valid and is ignored, as the XDG base directories ask.
QString autostartFolder();

// Writes (or rewrites: never a second entry) <folder>/rovex-logs-visualizer.desktop that
// starts the given executable at login; creates the folder. The file is replaced as a
// whole, so a failed write leaves the previous entry as it was. Returns false and sets
// *error (when given) to a readable reason when it cannot be written.
bool addLoginItem(const QString& folder, const QString& executable, QString* error = nullptr);

} // namespace rovex
