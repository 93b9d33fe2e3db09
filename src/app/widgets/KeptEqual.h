#pragma once

class QSlider;
class QSpinBox;

namespace rovex {

// A slider and the number field beside it always show the same number, whichever the
// user moves.
void keepEqual(QSlider& slider, QSpinBox& field);

} // namespace rovex
