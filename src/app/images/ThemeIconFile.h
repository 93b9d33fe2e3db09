#pragma once

#include <QString>

namespace rovex {

// Finds the file behind an icon of the desktop's icon theme, the way the freedesktop icon
// theme rules do: the current theme, then the themes it inherits, then "hicolor", in each
// folder of Qt's theme search paths; the size nearest to the one wanted wins inside a
// theme. Qt resolves theme icons the same way but never tells the file, and a
// notification server needs a file.
class ThemeIconFile final {
public:
    // The file of the icon NAME nearest to SIZE pixels; empty when the theme has none.
    static QString find(const QString& name, int size);

    ThemeIconFile() = delete;
};

} // namespace rovex
