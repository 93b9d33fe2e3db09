#include "app/widgets/PopoverText.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>

namespace rovex {

void styleAsPopoverTitle(QLabel& label)
{
    QFont large = label.font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.2);
    label.setFont(large);
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void styleAsFileLines(QPlainTextEdit& text)
{
    text.setReadOnly(true);
    text.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text.setLineWrapMode(QPlainTextEdit::NoWrap);
}

} // namespace rovex
