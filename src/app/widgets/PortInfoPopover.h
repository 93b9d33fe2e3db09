#pragma once

#include "app/widgets/Popover.h"

class QLabel;
class QPlainTextEdit;

namespace rovex {

class PortLookup;

// What the service table says of one port, and the port's class. It shows the answers of
// one PortLookup.
class PortInfoPopover final : public Popover {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortInfoPopover)

public:
    explicit PortInfoPopover(PortLookup& lookup, QWidget* parent = nullptr);

    QLabel& portLabel() const { return *m_portLabel; }
    QPlainTextEdit& portServiceName() const { return *m_portServiceName; }
    QLabel& portTypeLabel() const { return *m_portTypeLabel; }

private:
    void clear(const QString& port);
    void showAnswer(const QString& port, const QString& serviceLines, const QString& typeKey);

    QLabel* m_portLabel;
    QPlainTextEdit* m_portServiceName;
    QLabel* m_portTypeLabel;
};

} // namespace rovex
