#include "app/widgets/DialogAbove.h"

#include <QDialog>

namespace rovex {

void placeAboveKeptWindows(QWidget& dialog, bool windowsKeptInFront)
{
    if (dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == windowsKeptInFront)
        return;
    const bool visible = dialog.isVisible();
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, windowsKeptInFront);
    if (visible) // changing the flags hides a window
        dialog.show();
}

int execAboveKeptWindows(QDialog& dialog, bool windowsKeptInFront)
{
    placeAboveKeptWindows(dialog, windowsKeptInFront);
    return dialog.exec();
}

} // namespace rovex
