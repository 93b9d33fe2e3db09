#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QWidget;

namespace rovex {

// Pictures of windows as the display shows them, for reports and the demo: each window
// is brought to the front on its own and grabbed from the screen, then saved as
// FOLDER/NAME.png. Returns the files written; a window that cannot be grabbed is named on
// standard output and skipped.
QStringList takeWindowPictures(const QList<QPair<QString, QWidget*>>& windows, const QString& folder);

// A picture of the part of the screen that holds the widgets (a window and the popover
// open beside it), saved as FOLDER/NAME.png after the display caught up. Empty text when
// nothing could be grabbed or saved.
QString takeScreenPicture(const QList<QWidget*>& shown, const QString& folder, const QString& name);

// Lets the display catch up with what was shown: turns of the event loop for a while.
void settle(int milliseconds);

} // namespace rovex
