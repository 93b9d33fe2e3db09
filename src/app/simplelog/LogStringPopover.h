#pragma once

#include "app/widgets/Popover.h"

class QLabel;

namespace rovex {

// A log line as it was read, in a popover the user can select and copy it from.
class LogStringPopover final : public Popover {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogStringPopover)

public:
    explicit LogStringPopover(QWidget* parent = nullptr);

    QLabel& infoLabel() const { return *m_infoLabel; }

private:
    QLabel* m_infoLabel;
};

} // namespace rovex
