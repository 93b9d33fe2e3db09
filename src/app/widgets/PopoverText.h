#pragma once

class QLabel;
class QPlainTextEdit;

namespace rovex {

// The popovers' common look: the name they are about as a large, selectable title, and
// lines of a file (the service table) in a fixed font, unwrapped, read only.
void styleAsPopoverTitle(QLabel& label);
void styleAsFileLines(QPlainTextEdit& text);

} // namespace rovex
