#pragma once

#include <QString>
#include <QStringList>

namespace rovex {

class AppDelegate;

// Pictures of the popovers as a user opens them, for reports and the demo: the simple
// log's detail, raw line, address and port popovers for its newest row, and the address
// popover of the inbound blocked window's top address, and that window filtered and
// paused. Returns the files written.
QStringList takePopoverPictures(AppDelegate& delegate, const QString& folder);

} // namespace rovex
