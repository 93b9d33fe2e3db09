#include "app/widgets/BusyIndicator.h"

namespace rovex {

BusyIndicator::BusyIndicator(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    setMaximumHeight(8);
    stopAnimation();
}

// A range of 0..0 is how a progress bar shows that it is busy.
void BusyIndicator::startAnimation() { setRange(0, 0); }

void BusyIndicator::paintEvent(QPaintEvent* event)
{
    if (isAnimating())
        QProgressBar::paintEvent(event);
}

void BusyIndicator::stopAnimation()
{
    setRange(0, 1);
    setValue(0);
}

} // namespace rovex
