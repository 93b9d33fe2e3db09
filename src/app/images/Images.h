#pragma once

#include "app/images/MenuTexts.h"

#include <QIcon>
#include <QString>

namespace rovex {

// The images of the application by name, as the menu, the tables and the notifications
// ask for them: the app's own drawings, the country flags and the desktop's icon theme.
class Images final {
public:
    // The image of a name: the app's own resource (":/icons/NAME.svg"), else a country
    // flag when NAME is a two-letter lower-case code with a file in the flags folder,
    // else the icon theme's icon of that name; an empty icon when none. Cached.
    static QIcon named(const QString& name);

    // A file a desktop notification server can read for the name: a flag by its path, an
    // own SVG resource or a theme icon rendered once to a PNG in a folder under the runtime
    // (or cache) location; empty when the name has no image. Main thread only: rendering
    // goes through a pixmap.
    static QString filePath(const QString& name);

    // Flags come from Debian's famfamfam-flag-png: /usr/share/flags/countries/16x11/<code>.png
    static void setFlagsFolder(const QString& folder);
    static QString flagsFolder();

    Images() = delete;
};

} // namespace rovex
