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

} // namespace rovex
